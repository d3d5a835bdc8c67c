#pragma once

#include "cli/CommandLine.h"
#include "obisdata/Model.h"

#include <QFile>

#include <memory>

// Opens the file for reading; raises "Cannot open" with the reason.
void OpenForReading(QFile& file);

// The database of the command line's source. With a selection, a stored database is read only
// for those codes (definition files and workbooks are always loaded whole).
std::unique_ptr<TOBISData> LoadDatabase(const TCommandLine& commandLine, const TLogProc& log, const TCodeSelection* selection);
