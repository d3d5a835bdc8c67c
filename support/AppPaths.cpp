#include "support/AppPaths.h"

#include "support/Exception.h"
#include "support/UserConfigFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

TAppPaths* Current = nullptr;

const QString& Empty()
{
    static const QString empty;
    return empty;
}

// The path without the executable suffix of Windows builds.
QString WithoutExeSuffix(const QString& path)
{
    static const QString exe = QStringLiteral(".exe");
    return path.endsWith(exe, Qt::CaseInsensitive) ? path.chopped(exe.size()) : path;
}

} // namespace

TAppPaths::TAppPaths(const QString& ExecutablePath)
    : FProgramName(WithoutExeSuffix(QFileInfo(ExecutablePath).fileName()))
    , FHelpFileName(WithoutExeSuffix(ExecutablePath) + QStringLiteral(".chm"))
    , FSettingsFolder(UserConfigFolderPath() + u'/' + FProgramName + u'/')
    , FSettingsFileName(FSettingsFolder + FProgramName + QStringLiteral(".ini"))
    , FSettingsFile(FSettingsFileName)
{
    QDir().mkpath(FSettingsFolder);
    Current = this;
}

TAppPaths::~TAppPaths()
{
    Current = nullptr;
}

const QString& ProgramName()
{
    return Current ? Current->FProgramName : Empty();
}

const QString& HelpFileName()
{
    return Current ? Current->FHelpFileName : Empty();
}

const QString& SettingsFolder()
{
    return Current ? Current->FSettingsFolder : Empty();
}

const QString& SettingsFileName()
{
    return Current ? Current->FSettingsFileName : Empty();
}

TIniFile& SettingsFile()
{
    if (!Current)
        throw Exception(QStringLiteral("The settings file is not open"));
    return Current->FSettingsFile;
}
