#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

// The content of every stream named one of names (compared without regard to letter case)
// in an OLE2 compound file held in memory, wherever it sits in the storage tree. Raises
// Exception carrying the problem when the file's structure is damaged.
std::vector<QByteArray> ReadCompoundFileStreams(const QByteArray& file, const QStringList& names);
