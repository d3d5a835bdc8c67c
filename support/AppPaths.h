#pragma once

#include "support/IniFile.h"

#include <QString>

// Program-wide paths and the settings file, all derived from the running executable: with the
// executable /opt/kestrune/Kestrune, the program name is Kestrune, the help file is
// Kestrune.chm and the help pages are help/index.html..., looked for first next to the
// executable (/opt/kestrune/), then in the installed data folder (/opt/share/kestrune/, which
// is /usr/share/kestrune/ for /usr/bin/Kestrune); the settings live in Kestrune/Kestrune.ini of
// the per-user configuration folder. Renaming the executable renames them with it.
//
// One TAppPaths exists while the program runs: created at start-up before any window, released
// after the last window is gone. The free functions below read it.
class TAppPaths
{
public:
    explicit TAppPaths(const QString& ExecutablePath);
    ~TAppPaths();
    TAppPaths(const TAppPaths&) = delete;
    TAppPaths& operator=(const TAppPaths&) = delete;

private:
    friend const QString& ProgramName();
    friend const QString& HelpFileName();
    friend const QString& HelpPagesFolder();
    friend const QString& SettingsFolder();
    friend const QString& SettingsFileName();
    friend TIniFile& SettingsFile();

    QString FProgramName;
    QString FHelpFileName;
    QString FHelpPagesFolder;
    QString FSettingsFolder;
    QString FSettingsFileName;
    TIniFile FSettingsFile;
};

// The executable's file name without its folder and without the ".exe" a Windows build carries.
const QString& ProgramName();
// ProgramName and ".chm", in the first of the help folders that holds it (next to the
// executable when none does).
const QString& HelpFileName();
// The folder of the HTML help pages, ending in "/": the first "help/" of the help folders that
// holds index.html (next to the executable when none does).
const QString& HelpPagesFolder();
// The local home page, home.html among the help pages.
QString HomePageFileName();
// The configuration folder, "/", ProgramName and "/": created at start-up when missing.
const QString& SettingsFolder();
// SettingsFolder, ProgramName and ".ini".
const QString& SettingsFileName();
// The settings file; raises when no TAppPaths exists.
TIniFile& SettingsFile();
