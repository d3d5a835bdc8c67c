#pragma once

#include <QString>

// The platform's special folders that the program uses.
enum class TSpecialFolder {
    // The per-user folder for application settings (XDG: $XDG_CONFIG_HOME, ~/.config).
    AppData,
};

// The folder's path without a trailing separator, created first when it is missing; the empty
// string when the platform names no such folder or it cannot be created.
QString GetSpecialFolderPath(TSpecialFolder Folder);
