#pragma once

#include "excel/Workbook.h"
#include "obisdata/CsvFiles.h"

#include <memory>
#include <vector>

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
        FSheets.push_back(std::make_unique<TSheet>(QString::fromUtf8(name), std::move(range)));
        return *this;
    }

    int Count() const override { return static_cast<int>(FSheets.size()); }
    TWorkSheet& Item(int index) override { return *FSheets.at(static_cast<std::size_t>(index - 1)); }

private:
    class TSheet : public TWorkSheet
    {
    public:
        TSheet(QString name, TRangeValue range)
            : FName(std::move(name))
            , FRange(std::move(range))
        {
        }
        QString Name() const override { return FName; }
        const TRangeValue& UsedRangeValue() override { return FRange; }

    private:
        QString FName;
        TRangeValue FRange;
    };

    std::vector<std::unique_ptr<TSheet>> FSheets;
};
