#include "data/tools/SampleWorkbook.h"

#include "obisdata/CsvFiles.h"
#include "support/Exception.h"

#include <QRegularExpression>

#include <xlsxwriter.h>

namespace {

// Whole numbers are written as numbers, as a spreadsheet user would type them; they read
// back as the same text.
bool IsPlainWholeNumber(const QString& text)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^(0|[1-9][0-9]{0,14})$"));
    return wholeNumber.match(text).hasMatch();
}

void Check(lxw_error error, const QString& fileName)
{
    if (error != LXW_NO_ERROR)
        throw Exception(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, QString::fromUtf8(lxw_strerror(error))));
}

void WriteSheet(lxw_workbook* workbook, const TSheetFile& file, const QString& fileName)
{
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook, file.Name.toUtf8().constData());
    if (!worksheet)
        throw Exception(QStringLiteral("Cannot add the worksheet \"%1\" to \"%2\"").arg(file.Name, fileName));
    const QStringList lines = ReadTextLines(file.FileName);
    for (int row = 0; row < lines.size(); ++row) {
        const QStringList fields = SplitCsvLine(lines[row]);
        for (int column = 0; column < fields.size(); ++column) {
            const QString& text = fields[column];
            if (text.isEmpty())
                continue;
            const auto r = static_cast<lxw_row_t>(row);
            const auto c = static_cast<lxw_col_t>(column);
            Check(IsPlainWholeNumber(text) ? worksheet_write_number(worksheet, r, c, text.toDouble(), nullptr)
                                           : worksheet_write_string(worksheet, r, c, text.toUtf8().constData(), nullptr),
                fileName);
        }
    }
}

} // namespace

void WriteSampleWorkbook(const QString& fileName, const std::vector<TSheetFile>& files)
{
    lxw_workbook* workbook = workbook_new(fileName.toUtf8().constData());
    if (!workbook)
        throw Exception(QStringLiteral("Cannot create \"%1\"").arg(fileName));
    try {
        for (const TSheetFile& file : files)
            WriteSheet(workbook, file, fileName);
    } catch (...) {
        workbook_close(workbook);
        throw;
    }
    Check(workbook_close(workbook), fileName);
}
