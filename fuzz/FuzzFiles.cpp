#include "fuzz/FuzzFiles.h"

#include "fuzz/FuzzCheck.h"

#include <QFile>
#include <QTemporaryDir>

QString FuzzFilePath(const QString& name)
{
    static const QTemporaryDir folder;
    FuzzRequire(folder.isValid(), "the fuzz target has a folder for its files", folder.errorString());
    return folder.filePath(name);
}

void WriteFuzzFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    FuzzRequire(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes.data(), bytes.size()) == bytes.size(),
        "the fuzz target can write its file", path);
}

void RemoveFuzzFile(const QString& path)
{
    QFile::remove(path);
}
