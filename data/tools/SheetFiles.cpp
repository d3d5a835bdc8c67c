#include "data/tools/SheetFiles.h"

#include "excel/RangeWorkSheet.h"
#include "obisdata/CsvFiles.h"

#include <climits>

TRangeValue RangeFromCsvLines(const QStringList& lines)
{
    std::vector<QStringList> rows;
    rows.reserve(static_cast<std::size_t>(lines.size()));
    int firstRow = INT_MAX, lastRow = 0, firstColumn = INT_MAX, lastColumn = 0;
    for (int r = 0; r < lines.size(); ++r) {
        rows.push_back(SplitCsvLine(lines[r]));
        for (int c = 0; c < rows.back().size(); ++c) {
            if (rows.back()[c].isEmpty())
                continue;
            firstRow = std::min(firstRow, r);
            lastRow = std::max(lastRow, r);
            firstColumn = std::min(firstColumn, c);
            lastColumn = std::max(lastColumn, c);
        }
    }
    if (firstRow == INT_MAX)
        return TRangeValue(1, 1);

    TRangeValue range(lastRow - firstRow + 1, lastColumn - firstColumn + 1);
    for (int r = firstRow; r <= lastRow; ++r) {
        const QStringList& fields = rows[static_cast<std::size_t>(r)];
        for (int c = firstColumn; c < fields.size(); ++c) {
            if (!fields[c].isEmpty())
                range.SetCell(r - firstRow + 1, c - firstColumn + 1, TCell::Text(fields[c]));
        }
    }
    return range;
}

TWorkSheetList SheetFileWorkSheets(const std::vector<TSheetFile>& files)
{
    TWorkSheetList sheets;
    for (const TSheetFile& file : files)
        sheets.Add(std::make_unique<TRangeWorkSheet>(file.Name, RangeFromCsvLines(ReadTextLines(file.FileName))));
    return sheets;
}
