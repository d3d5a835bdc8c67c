#pragma once

#include "excel/WorkSheet.h"

#include <optional>

// A worksheet of a workbook file whose used range is read on first use and kept. A failure
// to read it raises Exception naming the file and the worksheet, and is raised again on the
// next use: nothing half-read is kept.
class TCachedWorkSheet : public TWorkSheet
{
public:
    TCachedWorkSheet(QString fileName, QString name);

    QString Name() const final { return FName; }
    const TRangeValue& UsedRangeValue() final;

protected:
    // Reads the used range from the file; raises Exception carrying just the problem.
    virtual TRangeValue ReadUsedRange() const = 0;

private:
    QString FFileName;
    QString FName;
    std::optional<TRangeValue> FValue;
};
