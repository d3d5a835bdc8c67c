#pragma once

#include <QByteArray>

// The workbook stream of an .xls file, an OLE2 compound file held in memory: the first
// stream named "Workbook" or "Book" in its directory, read through the FAT, or through the
// mini FAT from the mini stream when it is no larger than the mini stream cutoff. Sector
// chains that loop or lead outside the file are damage. Raises Exception carrying the
// problem when the file's structure is damaged, or holds no such stream.
QByteArray ReadWorkbookStream(const QByteArray& file);
