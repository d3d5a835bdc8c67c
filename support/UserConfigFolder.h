#pragma once

#include <QString>

// The per-user folder for application settings (XDG: $XDG_CONFIG_HOME, ~/.config), without a
// trailing separator, created first when it is missing; the empty string when the platform
// names no such folder or it cannot be created.
QString UserConfigFolderPath();
