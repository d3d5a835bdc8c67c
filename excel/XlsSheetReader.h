#pragma once

#include "excel/BiffRecords.h"
#include "excel/WorkSheet.h"

#include <vector>

// How the records of a workbook stream are to be read.
struct TXlsFormat
{
    bool Biff8 = true; // otherwise BIFF 5/7
    TBiffCodePage CodePage; // of BIFF 5/7 text
};

// The used range of the worksheet whose substream starts at offset (a BOF record) in the
// workbook stream. Raises Exception naming the damaged record and its offset.
TRangeValue ReadXlsSheet(const QByteArray& stream, quint32 offset, const TXlsFormat& format,
    const std::vector<QString>& sharedStrings);
