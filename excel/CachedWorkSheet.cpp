#include "excel/CachedWorkSheet.h"

#include "excel/WorkbookError.h"

TCachedWorkSheet::TCachedWorkSheet(QString fileName, QString name)
    : FFileName(std::move(fileName))
    , FName(std::move(name))
{
}

const TRangeValue& TCachedWorkSheet::UsedRangeValue()
{
    if (!FValue) {
        FValue = ReadWorkbookPart(FFileName, [this] {
            try {
                return ReadUsedRange();
            } catch (const Exception& e) {
                throw Exception(QStringLiteral("worksheet \"%1\": %2").arg(FName, e.Message()));
            }
        });
    }
    return *FValue;
}
