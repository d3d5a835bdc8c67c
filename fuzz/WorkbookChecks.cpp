#include "fuzz/WorkbookChecks.h"

#include "excel/Workbook.h"
#include "fuzz/DatabaseChecks.h"
#include "fuzz/FuzzCheck.h"
#include "support/Exception.h"
#include "frontend/WorkbookLoad.h"

namespace {

// Cells read from each row with values: the definition lines use 15.
constexpr int ColumnsRead = 16;
// Workbooks with more worksheets are not imported: a worksheet may fill two media lists,
// each list may grow to 200,000 definitions in the table expansion, which takes seconds
// under the sanitizers, and two of them are as much as one run can take.
constexpr int MaxImportedWorksheets = 1;

void CheckUsedRange(const TRangeValue& range)
{
    FuzzRequire(range.RowCount() >= 1 && range.ColumnCount() >= 1, "a used range is at least one cell");
    int previous = 0;
    for (const int row : range.RowsWithValues()) {
        FuzzRequire(row > previous && row <= range.RowCount(), "the rows with values ascend within the range");
        previous = row;
        for (int column = 1; column <= std::min(range.ColumnCount(), ColumnsRead); ++column)
            range.Cell(row, column).ToText();
    }
    FuzzRequire(range.Cell(range.RowCount() + 1, 1).IsEmpty() && range.Cell(1, range.ColumnCount() + 1).IsEmpty(),
        "cells outside the range are empty");
}

// Returns the number of worksheets, 0 when the workbook cannot be opened.
int CheckWorksheets(const QString& path)
{
    std::unique_ptr<TWorkbook> workbook;
    try {
        workbook = OpenWorkbook(path);
    } catch (const Exception&) {
        return 0;
    }
    TWorkSheets& sheets = workbook->Worksheets();
    for (int index = 1; index <= sheets.Count(); ++index) {
        try {
            CheckUsedRange(sheets.Item(index).UsedRangeValue());
        } catch (const Exception&) {
            // A damaged worksheet is reported with its name; the others are still read.
        }
    }
    return sheets.Count();
}

void CheckImport(const QString& path)
{
    TOBISData database;
    bool loaded = true;
    try {
        LoadExcelFile(database, path, [](const QString&) {});
    } catch (const Exception&) {
        loaded = false;
    }
    CheckDefinitions(database, loaded);
    CheckDatabase(database);
}

} // namespace

void CheckWorkbookFile(const QString& path)
{
    if (CheckWorksheets(path) <= MaxImportedWorksheets)
        CheckImport(path);
}
