#pragma once

#include <QString>

// Reads a workbook file the way the program does, and checks what must hold: every
// worksheet's used range is at least one cell, its rows with values ascend within it and
// every cell converts to text; the window's workbook loading then ends in a database (checked
// as any other, see DatabaseChecks.h), an Exception or the silent abort (workbooks of one
// worksheet: see MaxImportedWorksheets). Aborts on a violation.
void CheckWorkbookFile(const QString& path);
