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

// Where the help may lie: the executable's folder, then the installed data folder
// (<bindir>/<relative path to datadir>/kestrune/).
QStringList HelpFolders(const QString& executablePath)
{
    const QDir executableFolder = QFileInfo(executablePath).dir();
    return {executableFolder.path() + u'/',
        QDir::cleanPath(executableFolder.filePath(QStringLiteral(KESTRUNE_DATADIR_FROM_BINDIR "/kestrune")))
            + u'/'};
}

// The first folder holding the entry, followed by the entry; the first folder's when none does.
QString FirstExisting(const QStringList& folders, const QString& entry)
{
    for (const QString& folder : folders) {
        if (QFileInfo::exists(folder + entry))
            return folder + entry;
    }
    return folders.constFirst() + entry;
}

} // namespace

TAppPaths::TAppPaths(const QString& ExecutablePath)
    : FProgramName(WithoutExeSuffix(QFileInfo(ExecutablePath).fileName()))
    , FHelpFileName(FirstExisting(HelpFolders(ExecutablePath), FProgramName + QStringLiteral(".chm")))
    , FHelpPagesFolder(FirstExisting(HelpFolders(ExecutablePath), QStringLiteral("help/index.html")).chopped(10))
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

const QString& HelpPagesFolder()
{
    return Current ? Current->FHelpPagesFolder : Empty();
}

QString HomePageFileName()
{
    return HelpPagesFolder() + QStringLiteral("home.html");
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
