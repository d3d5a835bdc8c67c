#pragma once

#include <QString>
#include <QStringList>

#include <xlsxwriter.h>

#include <stdexcept>
#include <vector>

// Writes small .xlsx workbooks for tests. Each row is a CSV-like list of cells; whole
// numbers are written as numbers, other non-empty cells as text, empty ones not at all.
struct TSheetRows
{
    QString Name;
    std::vector<QStringList> Rows;
    int FirstRow = 0;    // 0-based sheet position of the first row
    int FirstColumn = 0; // and of the first column
};

inline void WriteXlsx(const QString& fileName, const std::vector<TSheetRows>& sheets)
{
    lxw_workbook* workbook = workbook_new(fileName.toUtf8().constData());
    if (!workbook)
        throw std::runtime_error("cannot create the test workbook");
    for (const TSheetRows& sheet : sheets) {
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet.Name.toUtf8().constData());
        for (std::size_t r = 0; r < sheet.Rows.size(); ++r) {
            for (qsizetype c = 0; c < sheet.Rows[r].size(); ++c) {
                const QString& text = sheet.Rows[r][c];
                const auto row = static_cast<lxw_row_t>(sheet.FirstRow + static_cast<int>(r));
                const auto column = static_cast<lxw_col_t>(sheet.FirstColumn + c);
                bool isNumber = false;
                const double number = text.toDouble(&isNumber);
                if (text.isEmpty())
                    continue;
                if (isNumber && number == static_cast<double>(static_cast<long long>(number)) && !text.startsWith(u'0'))
                    worksheet_write_number(worksheet, row, column, number, nullptr);
                else
                    worksheet_write_string(worksheet, row, column, text.toUtf8().constData(), nullptr);
            }
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR)
        throw std::runtime_error("cannot write the test workbook");
}

// Splits "a,b,,c" into cells (no quoting: tests keep commas out of cells).
inline QStringList Cells(const char* line)
{
    return QString::fromUtf8(line).split(u',');
}
