#pragma once

#include "excel/WorkSheetList.h"
#include "excel/Workbook.h"

#include <QByteArray>

#include <memory>

struct TXlsSource;

// An .xls workbook (BIFF 8, and BIFF 5/7 of older versions) read from the bytes of its file.
// Opening reads the workbook stream of the compound file and its global records: the
// worksheets in order (hidden ones too; chart sheets and macro sheets are no worksheets),
// the code page and the shared strings. Each worksheet's cells are read on its first
// UsedRangeValue(). Numbers keep the values the cells store, dates and times included (as
// serial numbers); booleans are TRUE or FALSE, errors their texts (#N/A, #DIV/0!, ...), a
// formula its cached result. Failures raise Exception naming the file and the problem; a
// damaged record is named with its type and offset in the workbook stream.
class TXlsWorkbook final : public TWorkbook
{
public:
    TXlsWorkbook(const QString& fileName, const QByteArray& content);
    ~TXlsWorkbook() override;

    TWorkSheets& Worksheets() override;

private:
    std::unique_ptr<TXlsSource> FSource;
    TWorkSheetList FSheets;
};
