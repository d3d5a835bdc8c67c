#pragma once

#include <QStringList>

// The thirteen characters that separate words: blank # $ ( ) * + , - . / < =
bool IsWordDelimiter(QChar c);

// The words of text in order of appearance, duplicates included, letter case unchanged.
QStringList SplitWords(QStringView text);
