#pragma once

#include "obisdata/Codes.h"

#include <QStringList>

// How a search result is shown, shared by the window and the command line.

// Fills the typed values into the code patterns: "C=[0-255]" becomes "C=3" when C was typed.
void InsertFieldValues(QString& Patterns, const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter);

// Replaces $X and $(X+n) / $(X-n) by values of the typed fields; references to fields that
// were not typed, and malformed ones, stay as they stand.
void ResolveFieldReferences(QString& Texts, const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter);

// The two or three display lines of one result line: the padded head and the patterns, the
// texts, and the class section when there is one.
QStringList DisplayBlock(const QString& ResultLine, const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter);

// The display lines of every result line, in order.
QStringList DisplayBlocks(const QStringList& ResultLines, const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter);

// "1 item", or the count and " items".
QString ItemCountText(qsizetype count);
