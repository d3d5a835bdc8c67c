#include "support/SpecialFolder.h"

#include <QDir>
#include <QStandardPaths>

QString GetSpecialFolderPath(TSpecialFolder Folder)
{
    switch (Folder) {
    case TSpecialFolder::AppData: {
        const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        if (path.isEmpty() || !QDir().mkpath(path))
            return {};
        return QDir::cleanPath(path);
    }
    }
    return {};
}
