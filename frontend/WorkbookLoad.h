#pragma once

#include "obisdata/Model.h"

#include <functional>

// Imports the object-definition workbook FileName into Database, writing its progress
// through AddLogLine after ClearLog has emptied the log. An empty name loads nothing.
// Raises "File "%s" not found" for a missing file; when the workbook cannot be opened or its
// header read, logs the two "***" lines and a third with the reason, and raises the silent
// abort (ESilentAbort); errors of the definitions reach the caller as they are.
void LoadExcelFile(TOBISData& Database, const QString& FileName, const TLogProc& AddLogLine,
    const std::function<void()>& ClearLog = [] {});
