#pragma once

#include "excel/WorkSheetList.h"
#include "excel/Workbook.h"

#include <QByteArray>

#include <memory>

struct TXlsxPackage;

// An .xlsx workbook read from the bytes of its file. Opening reads the list of worksheets
// and the shared strings; each worksheet's cells are read on its first UsedRangeValue().
// Failures raise Exception naming the file and the problem.
class TXlsxWorkbook final : public TWorkbook
{
public:
    TXlsxWorkbook(const QString& fileName, QByteArray content);
    ~TXlsxWorkbook() override;

    TWorkSheets& Worksheets() override;

private:
    std::unique_ptr<TXlsxPackage> FPackage;
    TWorkSheetList FSheets;
};
