#pragma once

#include "obisdata/Model.h"

#include <functional>

// Imports the object-definition workbook FileName into Database, writing its progress
// through AddLogLine after ClearLog has emptied the log. An empty name loads nothing.
// Raises "File "%s" not found" for a missing file; when the workbook cannot be opened or its
// header read, logs the two "***" lines and a third with the reason, and raises the silent
// abort (ESilentAbort). The workbook is read into a database of its own, whose media lists
// replace those of Database only when the whole import succeeded; an error of the definitions
// leaves Database unchanged, is logged with a line saying so, and reaches the caller as it is.
void LoadExcelFile(TOBISData& Database, const QString& FileName, const TLogProc& AddLogLine,
    const std::function<void()>& ClearLog = [] {});
