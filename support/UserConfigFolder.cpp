#include "support/UserConfigFolder.h"

#include <QDir>
#include <QStandardPaths>

QString UserConfigFolderPath()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (path.isEmpty() || !QDir().mkpath(path))
        return {};
    return QDir::cleanPath(path);
}
