#include "excel/WorkSheetList.h"

#include "support/Exception.h"

void TWorkSheetList::Add(std::unique_ptr<TWorkSheet> sheet)
{
    FSheets.push_back(std::move(sheet));
}

int TWorkSheetList::Count() const
{
    return static_cast<int>(FSheets.size());
}

TWorkSheet& TWorkSheetList::Item(int index)
{
    if (index < 1 || index > Count())
        throw Exception(QStringLiteral("There is no worksheet %1 (the workbook has %2)").arg(index).arg(Count()));
    return *FSheets[static_cast<size_t>(index - 1)];
}
