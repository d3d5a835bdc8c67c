#pragma once

#include "cli/CommandLine.h"
#include "obisdata/Model.h"

#include <QTextStream>

// annotate: reads the readouts of the command line (standard input without files), names the
// code of every line and writes them as text or JSON. Exit status 1 when a code could not be
// read or a CRC does not hold.
int RunAnnotate(const TCommandLine& commandLine, const TLogProc& log, QTextStream& out);
