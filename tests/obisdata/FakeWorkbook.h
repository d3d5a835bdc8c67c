#pragma once

#include "excel/RangeWorkSheet.h"
#include "excel/WorkSheetList.h"
#include "obisdata/CsvFiles.h"

#include <memory>

// An in-memory worksheet collection for tests of the import logic: each worksheet is given
// as CSV lines, line r being row r of its used range.
class TFakeWorkSheets : public TWorkSheets
{
public:
    TFakeWorkSheets& Add(const char* name, std::initializer_list<const char*> lines)
    {
        QList<QStringList> rows;
        int columns = 1;
        for (const char* line : lines) {
            rows.append(SplitCsvLine(QString::fromUtf8(line)));
            columns = std::max(columns, static_cast<int>(rows.back().size()));
        }
        TRangeValue range(std::max(1, static_cast<int>(rows.size())), columns);
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < rows[r].size(); ++c) {
                if (!rows[r][c].isEmpty())
                    range.SetCell(r + 1, c + 1, TCell::Text(rows[r][c]));
            }
        }
        FSheets.Add(std::make_unique<TRangeWorkSheet>(QString::fromUtf8(name), std::move(range)));
        return *this;
    }

    int Count() const override { return FSheets.Count(); }
    TWorkSheet& Item(int index) override { return FSheets.Item(index); }

private:
    TWorkSheetList FSheets;
};
