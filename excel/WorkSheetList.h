#pragma once

#include "excel/WorkSheet.h"

#include <memory>
#include <vector>

// A worksheet collection that owns its worksheets, in workbook order.
class TWorkSheetList final : public TWorkSheets
{
public:
    void Add(std::unique_ptr<TWorkSheet> sheet);
    int Count() const override;
    TWorkSheet& Item(int index) override; // raises Exception for an index outside 1..Count

private:
    std::vector<std::unique_ptr<TWorkSheet>> FSheets;
};
