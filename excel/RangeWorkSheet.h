#pragma once

#include "excel/WorkSheet.h"

// A worksheet whose used range is already at hand, e.g. made from text files.
class TRangeWorkSheet final : public TWorkSheet
{
public:
    TRangeWorkSheet(QString name, TRangeValue range)
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
