#include "excel/XlsStreamCheck.h"

#include "excel/Limits.h"
#include "support/Exception.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <optional>
#include <cstring>
#include <set>
#include <string_view>
#include <vector>

namespace {

enum TRecordId : quint16 {
    riFormula = 0x0006,
    riEof = 0x000A,
    riDateMode = 0x0022,
    riCodePage = 0x0042,
    riContinue = 0x003C,
    riBoundSheet = 0x0085,
    riMulRk = 0x00BD,
    riXf = 0x00E0,
    riSst = 0x00FC,
    riLabelSst = 0x00FD,
    riDimensions = 0x0200,
    riNumber = 0x0203,
    riLabel = 0x0204,
    riBoolErr = 0x0205,
    riRk = 0x027E,
    riFormat = 0x041E,
    riBof = 0x0809,
};

constexpr quint16 MaxRecordLength = 8224;
constexpr quint16 Biff8Version = 0x0600; // in a BOF record

// The shortest length of the records FreeXL reads fields from, BIFF 5 or 8 (whichever is
// shorter): FreeXL takes the fields of a shorter record from what its buffer held before.
struct TRecordMinimum
{
    quint16 Id;
    quint16 Length;
};
constexpr TRecordMinimum RecordMinimums[] = {{riFormula, 20}, {riDateMode, 2}, {riCodePage, 2}, {riBoundSheet, 7},
    {riMulRk, 12}, {riXf, 16}, {riSst, 8}, {riLabelSst, 10}, {riDimensions, 10}, {riNumber, 14}, {riLabel, 8},
    {riBoolErr, 8}, {riRk, 10}, {riFormat, 3}, {riBof, 8}};

// The XF records FreeXL keeps: it reads the format of a cell whose XF index lies beyond them
// from past its array. (Excel writes some 4,000 at the most.)
constexpr std::size_t FreeXLMaxXfRecords = 8192;

// The largest serial number FreeXL turns into a date (9999-12-31 of the spreadsheet).
constexpr double LastDateSerial = 2958465;

bool IsMalformed(quint16 id, quint16 length)
{
    if (length > MaxRecordLength)
        return true;
    const auto minimum = std::find_if(std::begin(RecordMinimums), std::end(RecordMinimums),
        [id](const TRecordMinimum& m) { return m.Id == id; });
    return minimum != std::end(RecordMinimums) && length < minimum->Length;
}

// The built-in number formats that show dates or times.
bool IsBuiltInDateFormat(quint16 format)
{
    return (format >= 14 && format <= 22) || (format >= 27 && format <= 36) || (format >= 45 && format <= 47)
        || (format >= 50 && format <= 58);
}

// Whether a format string may show a date or time: it holds one of their letters anywhere.
// Erring on the side of "may" only makes the count of date days larger.
bool MayShowDate(const char* text, qsizetype length)
{
    return std::any_of(text, text + length, [](char c) { return c != 0 && std::strchr("yYmMdDhHsS", c) != nullptr; });
}

// The number an RK value stands for.
double RkValue(quint32 rk)
{
    double value = (rk & 2) ? static_cast<double>(static_cast<qint32>(rk) >> 2)
                            : std::bit_cast<double>(static_cast<quint64>(rk & 0xFFFFFFFC) << 32);
    return (rk & 1) ? value / 100 : value;
}

Exception Damaged(const QString& what)
{
    return Exception(QStringLiteral("the workbook stream is damaged (%1)").arg(what));
}

// Walks the strings of a shared string table, which an SST record holds together with the
// CONTINUE records after it, and checks that each lies within them. A string's characters
// may go on in the next record, which then starts with a byte telling their width; the
// header of a string is never split.
class TSharedStringCheck
{
public:
    explicit TSharedStringCheck(std::vector<std::string_view> records)
        : FRecords(std::move(records))
    {
    }

    // The number of strings.
    quint32 Run()
    {
        FPos = 8; // after the total and the unique count
        const quint32 count = qFromLittleEndian<quint32>(FRecords[0].data() + 4);
        if (count > ExcelLimits::MaxSharedStrings)
            throw Damaged(QStringLiteral("the shared string table claims %1 strings").arg(count));
        for (quint32 i = 0; i < count; ++i)
            String();
        return count;
    }

private:
    void String()
    {
        if (FPos == Record().size())
            NextRecord();
        const quint16 length = HeaderField<quint16>();
        const quint8 flags = HeaderField<quint8>();
        const quint16 runs = (flags & 0x08) ? HeaderField<quint16>() : 0;
        const quint32 phonetic = (flags & 0x04) ? HeaderField<quint32>() : 0;
        Characters(length, flags & 0x01);
        Skip(quint64{runs} * 4 + phonetic);
    }

    template<class T>
    T HeaderField()
    {
        if (FPos + sizeof(T) > Record().size())
            throw Damaged(QStringLiteral("a shared string is cut"));
        const T value = qFromLittleEndian<T>(Record().data() + FPos);
        FPos += sizeof(T);
        return value;
    }

    void Characters(quint64 count, bool wide)
    {
        while (count > 0) {
            if (FPos == Record().size()) {
                NextRecord();
                wide = Record()[0] & 0x01;
                FPos = 1;
            }
            const size_t width = wide ? 2 : 1;
            const quint64 fitting = std::min<quint64>(count, (Record().size() - FPos) / width);
            if (fitting == 0)
                throw Damaged(QStringLiteral("a character of a shared string is cut"));
            FPos += fitting * width;
            count -= fitting;
        }
    }

    void Skip(quint64 bytes)
    {
        while (bytes > 0) {
            if (FPos == Record().size())
                NextRecord();
            const quint64 step = std::min<quint64>(bytes, Record().size() - FPos);
            FPos += step;
            bytes -= step;
        }
    }

    void NextRecord()
    {
        if (++FIndex == FRecords.size() || FRecords[FIndex].empty())
            throw Damaged(QStringLiteral("the shared string table ends early"));
        FPos = 0;
    }

    std::string_view Record() const { return FRecords[FIndex]; }

    std::vector<std::string_view> FRecords;
    size_t FIndex = 0;
    size_t FPos = 0;
};

// The cells a DIMENSIONS record declares, counted from A1.
struct TSheetArea
{
    quint32 Rows;
    quint16 Columns;
};

class TStreamWalk
{
public:
    explicit TStreamWalk(const QByteArray& stream)
        : FStream(stream)
    {
    }

    TXlsStreamDemand Run();

private:
    void Record(quint16 id, const char* body, quint16 length);
    void CheckSheetsHaveDimensions() const;
    void Cell(quint16 xf, double value);
    void CellAt(quint16 row, quint16 column);
    void CheckCellsOfSubstreamAreDistinct();
    void CheckStringInRecord(const char* body, quint16 length, int countAt, int textAt) const;
    static quint16 U16(const char* at) { return qFromLittleEndian<quint16>(at); }
    static quint32 U32(const char* at) { return qFromLittleEndian<quint32>(at); }
    static double Double(const char* at) { return std::bit_cast<double>(qFromLittleEndian<quint64>(at)); }

    void EndSharedStrings();

    const QByteArray& FStream;
    std::vector<std::string_view> FSharedStringRecords; // an SST record and its CONTINUE records
    quint32 FSharedStringCount = 0;
    bool FBofSeen = false;
    bool FBiff8 = false; // as the first BOF record says: FreeXL reads every substream as that version
    bool FInSubstream = false; // between a BOF record and its EOF record
    qsizetype FRecordAt = 0; // the stream offset of the record being walked
    qsizetype FSubstreamAt = 0; // the stream offset of the last BOF record
    std::vector<quint32> FSheetOffsets; // of the substreams the BOUNDSHEET records list
    bool FInListedSheet = false; // the substream since the last BOF record is one of them
    std::optional<TSheetArea> FSheetArea; // what the substream's DIMENSIONS record declares, once read
    std::set<qsizetype> FSubstreamsWithDimensions; // by the offset of their BOF record
    bool FEndMarkerSeen = false; // an empty record of type 0, where FreeXL stops reading
    std::set<quint16> FDateFormats; // custom formats that may show dates
    std::vector<bool> FDateXfs; // by XF index
    std::vector<quint32> FCellsOfSubstream; // row and column of each value record since the last BOF record
    TXlsStreamDemand FDemand;
};

TXlsStreamDemand TStreamWalk::Run()
{
    const char* data = FStream.constData();
    for (qsizetype at = 0; at + 4 <= FStream.size();) {
        const quint16 id = U16(data + at);
        const quint16 length = U16(data + at + 2);
        if (at + 4 + length > FStream.size() || IsMalformed(id, length)) {
            throw Damaged(QStringLiteral("record 0x%1 at byte %2 has the length %3").arg(id, 4, 16, QLatin1Char('0')).arg(at).arg(length));
        }
        if (id == riContinue && !FSharedStringRecords.empty()) {
            FSharedStringRecords.emplace_back(data + at + 4, length);
        } else {
            EndSharedStrings();
            FEndMarkerSeen = FEndMarkerSeen || (id == 0 && length == 0);
            FRecordAt = at;
            Record(id, data + at + 4, length);
        }
        at += 4 + length;
    }
    EndSharedStrings();
    CheckCellsOfSubstreamAreDistinct();
    CheckSheetsHaveDimensions();
    return FDemand;
}

// FreeXL sizes a sheet without a DIMENSIONS record by its cells and then sets the cell slots
// aside again for whichever sheet it read last, losing the slots that sheet had and never
// counting them here. So every sheet must have its own substream with a DIMENSIONS record,
// before the empty record of type 0 that FreeXL takes for the end of a stream, if there is
// one. (The demand is counted over the whole stream all the same: FreeXL reads past that
// record when the stream is short enough to be kept in the mini stream.)
void TStreamWalk::CheckSheetsHaveDimensions() const
{
    const std::set<quint32> distinct(FSheetOffsets.begin(), FSheetOffsets.end());
    if (distinct.size() != FSheetOffsets.size())
        throw Damaged(QStringLiteral("two sheets share a substream"));
    for (const quint32 offset : FSheetOffsets) {
        if (FSubstreamsWithDimensions.count(offset) == 0)
            throw Damaged(QStringLiteral("the sheet at byte %1 has no DIMENSIONS record").arg(offset));
    }
}

void TStreamWalk::EndSharedStrings()
{
    if (FSharedStringRecords.empty())
        return;
    FSharedStringCount = TSharedStringCheck(std::move(FSharedStringRecords)).Run();
    FSharedStringRecords.clear();
}

void TStreamWalk::Record(quint16 id, const char* body, quint16 length)
{
    switch (id) {
    case riBof:
        // FreeXL takes a BOF record for the start of a substream only after an EOF record;
        // one inside a substream (an embedded chart's, or a damaged one) leaves it in the
        // substream it is in.
        if (FInSubstream)
            break;
        CheckCellsOfSubstreamAreDistinct();
        if (!FBofSeen)
            FBiff8 = U16(body) == Biff8Version;
        FBofSeen = true;
        FInSubstream = true;
        FSubstreamAt = FRecordAt;
        FInListedSheet = std::find(FSheetOffsets.begin(), FSheetOffsets.end(), FSubstreamAt) != FSheetOffsets.end();
        FSheetArea.reset();
        break;
    case riEof:
        FInSubstream = false;
        break;
    case riBoundSheet:
        FSheetOffsets.push_back(U32(body));
        break;
    case riDimensions: {
        // FreeXL sets the cell slots of a sheet aside anew for each DIMENSIONS record.
        if (FSheetArea || (FBiff8 && length < 14))
            throw Damaged(QStringLiteral("a sheet has a second or malformed DIMENSIONS record"));
        if (!FEndMarkerSeen)
            FSubstreamsWithDimensions.insert(FSubstreamAt);
        FSheetArea = FBiff8 ? TSheetArea{U32(body + 4), U16(body + 10)} // 32-bit row numbers
                            : TSheetArea{U16(body + 2), U16(body + 6)};
        const qint64 declared = qint64{FSheetArea->Rows} * FSheetArea->Columns;
        FDemand.CellSlots += declared;
        FDemand.LargestSheetSlots = std::max(FDemand.LargestSheetSlots, declared);
        break;
    }
    case riSst:
        FSharedStringRecords.emplace_back(body, length);
        break;
    case riLabelSst:
        if (U32(body + 6) >= FSharedStringCount)
            throw Damaged(QStringLiteral("a cell refers to shared string %1 of %2").arg(U32(body + 6)).arg(FSharedStringCount));
        CellAt(U16(body), U16(body + 2));
        break;
    case riLabel:
        CheckStringInRecord(body, length, 6, 8);
        CellAt(U16(body), U16(body + 2));
        break;
    case riBoolErr:
        CellAt(U16(body), U16(body + 2));
        break;
    case riFormat:
        if (FBiff8)
            CheckStringInRecord(body, length, 2, 4);
        if (MayShowDate(body + 2, length - 2))
            FDateFormats.insert(U16(body));
        break;
    case riXf: {
        if (FDateXfs.size() == FreeXLMaxXfRecords)
            throw Damaged(QStringLiteral("it has more than %1 XF records").arg(FreeXLMaxXfRecords));
        const quint16 format = U16(body + 2);
        FDateXfs.push_back(IsBuiltInDateFormat(format) || FDateFormats.count(format) > 0);
        break;
    }
    case riNumber:
        CellAt(U16(body), U16(body + 2));
        Cell(U16(body + 4), Double(body + 6));
        break;
    case riRk:
        CellAt(U16(body), U16(body + 2));
        Cell(U16(body + 4), RkValue(U32(body + 6)));
        break;
    case riMulRk: {
        // The cells follow the row and the first column; FreeXL reads one as long as more
        // than its six bytes are left (the last column comes last).
        quint16 column = U16(body + 2);
        for (int at = 4; at + 6 < length; at += 6, ++column) {
            CellAt(U16(body), column);
            Cell(U16(body + at), RkValue(U32(body + at + 2)));
        }
        break;
    }
    case riFormula:
        if (U16(body + 12) != 0xFFFF) // otherwise the result is no number
            Cell(U16(body + 4), Double(body + 6));
        break;
    default:
        break;
    }
}

// FreeXL reads the characters of a LABEL or (BIFF 8) FORMAT record's string as its count
// says, without looking at the record's length: they must end within the record. A BIFF 8
// string starts with a flags byte telling the width of its characters and which optional
// fields come before them. (FreeXL refuses an empty string itself.)
void TStreamWalk::CheckStringInRecord(const char* body, quint16 length, int countAt, int textAt) const
{
    const auto runsPastTheEnd = [this] {
        return Damaged(QStringLiteral("the string of record 0x%1 at byte %2 runs past its end")
                           .arg(U16(FStream.constData() + FRecordAt), 4, 16, QLatin1Char('0'))
                           .arg(FRecordAt));
    };
    if (countAt + 2 > length)
        throw runsPastTheEnd();
    const quint16 characters = U16(body + countAt);
    if (characters == 0)
        return;
    qint64 end = textAt + characters;
    if (FBiff8 && textAt < length) {
        const auto flags = static_cast<quint8>(body[textAt]);
        end += 1 + ((flags & 0x08) ? 2 : 0) + ((flags & 0x04) ? 4 : 0) + ((flags & 0x01) ? characters : 0);
    }
    if (end > length)
        throw runsPastTheEnd();
}

// FreeXL fails on a cell outside the sheet's declared area, or outside any sheet, and then
// loses the text of a LABEL record. (It passes over the cells before the DIMENSIONS record.)
void TStreamWalk::CellAt(quint16 row, quint16 column)
{
    if (!FInListedSheet)
        throw Damaged(QStringLiteral("a cell at byte %1 lies outside the listed sheets").arg(FRecordAt));
    if (FSheetArea && (row >= FSheetArea->Rows || column >= FSheetArea->Columns)) {
        throw Damaged(QStringLiteral("the cell at row %1, column %2 lies outside the %3 rows and %4 columns of its sheet")
                          .arg(row + 1)
                          .arg(column + 1)
                          .arg(FSheetArea->Rows)
                          .arg(FSheetArea->Columns));
    }
    FCellsOfSubstream.push_back(quint32{row} << 16 | column);
}

// FreeXL stores the text of a cell (a string, or a date it turned into text) in memory of
// its own and loses it when a second record gives the same cell a value. Excel writes one
// record per cell.
void TStreamWalk::CheckCellsOfSubstreamAreDistinct()
{
    std::sort(FCellsOfSubstream.begin(), FCellsOfSubstream.end());
    const auto twice = std::adjacent_find(FCellsOfSubstream.begin(), FCellsOfSubstream.end());
    if (twice != FCellsOfSubstream.end())
        throw Damaged(QStringLiteral("two records give the cell at row %1, column %2 a value").arg((*twice >> 16) + 1).arg((*twice & 0xFFFF) + 1));
    FCellsOfSubstream.clear();
}

void TStreamWalk::Cell(quint16 xf, double value)
{
    // An XF index the file does not define counts as a date: better too many days than too few.
    if (xf < FDateXfs.size() && !FDateXfs[xf])
        return;
    if (value > 0) // also false for NaN
        FDemand.DateDays += static_cast<qint64>(std::min(value, LastDateSerial));
}

} // namespace

TXlsStreamDemand XlsStreamDemand(const QByteArray& workbookStream)
{
    return TStreamWalk(workbookStream).Run();
}
