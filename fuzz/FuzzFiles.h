#pragma once

#include <QByteArrayView>
#include <QString>

// The path of a file in a folder of the fuzz target's own, removed when the process ends.
QString FuzzFilePath(const QString& name);

// Writes the file, replacing it; removes it.
void WriteFuzzFile(const QString& path, QByteArrayView bytes);
void RemoveFuzzFile(const QString& path);
