#include "frontend/WorkbookLoad.h"

#include "excel/Workbook.h"
#include "support/Exception.h"

#include <QFileInfo>

namespace {

// Rows 14..23 of the first worksheet: the version information of the workbook.
constexpr int FirstHeaderRow = 14;
constexpr int LastHeaderRow = 23;
constexpr int HeaderLabelWidth = 35;

void LogHeader(TWorkSheets& worksheets, const TLogProc& AddLogLine)
{
    const TRangeValue& range = worksheets.Item(1).UsedRangeValue();
    if (!range.IsArray())
        return;
    const int lastRow = std::min(range.RowCount(), LastHeaderRow);
    if (lastRow >= FirstHeaderRow && range.ColumnCount() < 2)
        throw Exception(QStringLiteral("The first worksheet has no second column"));
    for (int row = FirstHeaderRow; row <= lastRow; ++row) {
        const QString label = (QStringLiteral("  ") + range.Cell(row, 1).ToText()).leftJustified(HeaderLabelWidth);
        AddLogLine(label + range.Cell(row, 2).ToText());
    }
}

} // namespace

void LoadExcelFile(
    TOBISData& Database, const QString& FileName, const TLogProc& AddLogLine, const std::function<void()>& ClearLog)
{
    ClearLog();
    if (FileName.isEmpty())
        return;
    if (!QFileInfo::exists(FileName))
        throw Exception(QStringLiteral("File \"%1\" not found").arg(FileName));

    std::unique_ptr<TWorkbook> workbook;
    try {
        AddLogLine(QStringLiteral("Processing file ") + FileName);
        workbook = OpenWorkbook(FileName);
        LogHeader(workbook->Worksheets(), AddLogLine);
    } catch (const Exception& e) {
        AddLogLine(QStringLiteral("*** Microsoft Excel could not be found on this system, or"));
        AddLogLine(QStringLiteral("*** A document named %1 is already open, please close it before running Kestrune").arg(FileName));
        // The two lines above are what users of the program have always seen; the reader
        // knows what really went wrong.
        AddLogLine(QStringLiteral("*** ") + e.Message());
        throw ESilentAbort();
    }
    // The definitions go into a database of their own first, so that a workbook that fails
    // half-way leaves Database as it was.
    TOBISData imported;
    try {
        imported.LoadFromExcelDocument(AddLogLine, workbook->Worksheets());
    } catch (const Exception& e) {
        AddLogLine(QStringLiteral("*** ") + e.Message());
        AddLogLine(QStringLiteral("*** The import failed: the definitions are those held before it"));
        throw;
    }
    Database.TakeMediaLists(imported);
    AddLogLine(QString());
    AddLogLine(QStringLiteral("Click the 'Search' button to display all the available OBIS codes"));
}
