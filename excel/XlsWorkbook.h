#pragma once

#include "excel/WorkSheetList.h"
#include "excel/Workbook.h"

#include <QByteArray>

#include <memory>

struct TXlsSource;

// An .xls (BIFF 5/8) workbook, read with FreeXL. FreeXL reads the whole file when it opens
// it, so the file is checked first (see XlsStreamDemand): a file asking for too much memory
// or time, or one with records FreeXL would misread, is refused. Each worksheet's used range
// is taken from FreeXL on its first UsedRangeValue(). Cells with a date or time format come
// out as the serial numbers they store (see XlsDateSerial). FreeXL reports booleans and
// error cells as integers: TRUE is 1, FALSE is 0, and every error value is 1.
// Failures raise Exception naming the file and the problem.
class TXlsWorkbook final : public TWorkbook
{
public:
    // content is the file's bytes, checked before FreeXL reads the file.
    TXlsWorkbook(const QString& fileName, const QByteArray& content);
    ~TXlsWorkbook() override;

    TWorkSheets& Worksheets() override;

private:
    std::unique_ptr<TXlsSource> FSource;
    TWorkSheetList FSheets;
};
