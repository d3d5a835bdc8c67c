#pragma once

#include "excel/WorkSheet.h"

#include <QString>

#include <memory>

// An open workbook file. Closing happens on destruction.
class TWorkbook
{
public:
    virtual ~TWorkbook() = default;
    virtual TWorkSheets& Worksheets() = 0;
};

// Opens an .xlsx or .xls workbook, told apart by the file's first bytes (ZIP or OLE2
// signature). Raises Exception naming the file and what is wrong.
std::unique_ptr<TWorkbook> OpenWorkbook(const QString& fileName);
