#include "excel/XlsWorkbook.h"

#include "excel/BiffRecords.h"
#include "excel/CachedWorkSheet.h"
#include "excel/CompoundFile.h"
#include "excel/Limits.h"
#include "excel/WorkbookError.h"
#include "excel/XlsSheetReader.h"

namespace {

constexpr quint16 Biff8Version = 0x0600;
constexpr quint16 Biff5Version = 0x0500; // also BIFF 7
constexpr quint8 WorksheetType = 0x00; // of a BOUNDSHEET record
// The fewest bytes a shared string takes: its character count and its flags.
constexpr quint64 SmallestSharedString = 3;

struct TSheetEntry
{
    QString Name;
    quint32 Offset;
    quint8 Type;
};

} // namespace

// What the worksheets of a workbook read from.
struct TXlsSource
{
    QString FileName;
    QByteArray Stream;
    TXlsFormat Format;
    std::vector<QString> SharedStrings;
};

namespace {

TXlsFormat ReadBof(const TBiffRecord& record)
{
    if (record.Id != briBof)
        throw BiffRecordError(record, QStringLiteral("the workbook stream does not begin with a BOF record"));
    TBiffReader reader(record);
    const quint16 version = reader.U16();
    if (version == Biff8Version)
        return TXlsFormat{true, {}};
    if (version == Biff5Version)
        return TXlsFormat{false, {}};
    throw BiffRecordError(record, QStringLiteral("the BIFF version 0x%1 is not supported (only that of Excel 5.0 and later)").arg(version, 4, 16, QLatin1Char('0')));
}

std::vector<QString> ReadSharedStrings(std::vector<TBiffRecord> records)
{
    TBiffReader reader(std::move(records));
    reader.U32(); // the number of references to the strings
    const quint32 count = reader.U32();
    if (count > ExcelLimits::MaxSharedStrings)
        throw reader.Error(QStringLiteral("the shared string table claims %1 strings, more than %2").arg(count).arg(ExcelLimits::MaxSharedStrings));
    if (quint64{count} * SmallestSharedString > reader.BytesLeft())
        throw reader.Error(QStringLiteral("the shared string table claims %1 strings, more than its %2 bytes hold").arg(count).arg(reader.BytesLeft()));
    std::vector<QString> strings;
    strings.reserve(count);
    for (quint32 i = 0; i < count; ++i)
        strings.push_back(reader.Biff8String(2));
    return strings;
}

TSheetEntry ReadBoundSheet(const TBiffRecord& record, const TXlsFormat& format)
{
    TBiffReader reader(record);
    const quint32 offset = reader.U32();
    reader.U8(); // hidden or visible: both are read
    const quint8 type = reader.U8();
    const QString name = format.Biff8 ? reader.Biff8String(1) : reader.Biff5String(1, format.CodePage);
    return TSheetEntry{name, offset, type};
}

struct TGlobals
{
    std::vector<TSheetEntry> Sheets;
    bool Encrypted = false;
};

// The records of the workbook globals, from the first BOF record to its EOF record.
TGlobals ReadGlobals(TXlsSource& source)
{
    TBiffRecordWalk walk(source.Stream, 0);
    TBiffRecord record;
    if (!walk.Next(record))
        throw Exception(QStringLiteral("the workbook stream is empty"));
    source.Format = ReadBof(record);
    TGlobals globals;
    while (walk.Next(record) && record.Id != briEof) {
        switch (record.Id) {
        case briFilePass:
            globals.Encrypted = true;
            return globals;
        case briCodePage:
            // BIFF 8 stores its text as UTF-16 whatever the code page says.
            if (!source.Format.Biff8)
                source.Format.CodePage = TBiffCodePage(TBiffReader(record).U16());
            break;
        case briBoundSheet:
            globals.Sheets.push_back(ReadBoundSheet(record, source.Format));
            break;
        case briSst: {
            std::vector<TBiffRecord> records{record};
            while (walk.NextId() == briContinue && walk.Next(record))
                records.push_back(record);
            source.SharedStrings = ReadSharedStrings(std::move(records));
            break;
        }
        default:
            break;
        }
    }
    return globals;
}

class TXlsWorkSheet final : public TCachedWorkSheet
{
public:
    TXlsWorkSheet(const TXlsSource& source, const TSheetEntry& entry)
        : TCachedWorkSheet(source.FileName, entry.Name)
        , FSource(source)
        , FOffset(entry.Offset)
    {
    }

private:
    TRangeValue ReadUsedRange() const override
    {
        return ReadXlsSheet(FSource.Stream, FOffset, FSource.Format, FSource.SharedStrings);
    }

    const TXlsSource& FSource;
    quint32 FOffset;
};

void ReadWorkbook(TXlsSource& source, const QByteArray& content, TWorkSheetList& sheets)
{
    source.Stream = ReadWorkbookStream(content);
    TGlobals globals;
    try {
        globals = ReadGlobals(source);
    } catch (const Exception& e) {
        throw Exception(QStringLiteral("the workbook globals: %1").arg(e.Message()));
    }
    if (globals.Encrypted)
        throw Exception(QStringLiteral("the workbook is protected by a password"));
    for (const TSheetEntry& entry : globals.Sheets) {
        if (entry.Type == WorksheetType)
            sheets.Add(std::make_unique<TXlsWorkSheet>(source, entry));
    }
    if (sheets.Count() == 0)
        throw Exception(QStringLiteral("it holds no worksheet"));
}

} // namespace

TXlsWorkbook::TXlsWorkbook(const QString& fileName, const QByteArray& content)
    : FSource(std::make_unique<TXlsSource>(TXlsSource{fileName, {}, {}, {}}))
{
    ReadWorkbookPart(fileName, [&] { ReadWorkbook(*FSource, content, FSheets); });
}

TXlsWorkbook::~TXlsWorkbook() = default;

TWorkSheets& TXlsWorkbook::Worksheets()
{
    return FSheets;
}
