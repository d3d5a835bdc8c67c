#pragma once

#include <QByteArray>

// The stream FreeXL reads as the workbook of an OLE2 compound file held in memory, found as
// FreeXL finds it: the first entry named exactly "Workbook" or "Book", whatever its type,
// among the entries of the first directory sector. A stream no larger than the mini stream
// cutoff is read from the mini stream, which the last entry named "Root Entry" before it
// gives, and which FreeXL loads whole. Raises Exception carrying the problem when the file's
// structure is damaged, or holds no such stream.
QByteArray ReadFreeXLWorkbookStream(const QByteArray& file);
