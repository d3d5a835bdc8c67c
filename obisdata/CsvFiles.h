#pragma once

#include <QStringList>

// Cuts one line of a CSV definition file into fields. The comma is the only delimiter and
// nothing is trimmed; a field that begins with a double quote runs to the next double quote
// that is not doubled, and what follows that closing quote up to the next comma is a field
// of its own; a quote that is never closed takes the rest of the line.
QStringList SplitCsvLine(QStringView line);
