#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How the search reads what the user typed, shared by the window and the command line.

// One code field box: decimal digits or "$" and hexadecimal digits; with hex, hexadecimal
// digits only. Empty when the text does not convert or the value lies outside 0..255.
std::optional<quint8> ReadFieldValue(const QString& text, bool hex);

// The plus and minus entries of the text box. Entries are separated by blanks; a "-" before
// an entry makes it a minus entry; a double quote starts a phrase that runs to the next
// double quote and keeps both quotes.
struct TSearchWords
{
    QStringList PlusWords;
    QStringList MinusWords;
};
TSearchWords ReadWords(const QString& text);
