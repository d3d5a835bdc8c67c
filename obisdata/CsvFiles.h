#pragma once

#include <QStringList>

// Cuts one line of a CSV definition file into fields. The comma is the only delimiter and
// nothing is trimmed; a field that begins with a double quote runs to the next double quote
// that is not doubled, and what follows that closing quote up to the next comma is a field
// of its own; a quote that is never closed takes the rest of the line.
QStringList SplitCsvLine(QStringView line);

// The lines of a text file in the system's code page; a line ends at CR LF, LF or a lone
// CR. Raises an Exception naming the file when it cannot be read.
QStringList ReadTextLines(const QString& FileName);
