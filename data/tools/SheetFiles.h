#pragma once

#include "excel/WorkSheetList.h"

#include <QString>

#include <vector>

// The project's definition sources: one CSV file per worksheet, line r being row r. Read as
// worksheets, they go through exactly the import that reads a workbook.

struct TSheetFile
{
    QString Name;     // the worksheet name, e.g. "Electricity (AC)"
    QString FileName; // its CSV file
};

// The used range of CSV lines as a spreadsheet has it: the bounding box of the non-empty
// cells, its first row and column being row 1 and column 1.
TRangeValue RangeFromCsvLines(const QStringList& lines);

// The worksheets of these files, in their order.
TWorkSheetList SheetFileWorkSheets(const std::vector<TSheetFile>& files);
