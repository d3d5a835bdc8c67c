#pragma once

#include <QStringList>
#include <QTextStream>

// Runs kestrune-cli with the arguments after the program name; returns the exit status:
// 0 success, 1 a load or lookup error, 2 a usage error.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err);
