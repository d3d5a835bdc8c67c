#include "excel/XlsSheetReader.h"

#include "excel/CellReference.h"
#include "excel/Limits.h"
#include "excel/UsedRange.h"

#include <bit>
#include <cmath>
#include <optional>

namespace {

// The text of an error cell by its code.
std::optional<QString> ErrorText(quint8 code)
{
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    case 0x2A:
        return QStringLiteral("#N/A");
    case 0x2B:
        return QStringLiteral("#GETTING_DATA");
    default:
        return std::nullopt;
    }
}

// The number an RK value stands for: a 30-bit integer or the high 30 bits of a double,
// divided by 100 when its lowest bit says so.
double RkValue(quint32 rk)
{
    const double value = (rk & 0x02) ? static_cast<double>(static_cast<qint32>(rk) >> 2)
                                     : std::bit_cast<double>(static_cast<quint64>(rk & 0xFFFFFFFC) << 32);
    return (rk & 0x01) ? value / 100 : value;
}

// The cached result of a FORMULA record marks a non-number by 0xFFFF in its last two bytes;
// its first byte then tells the kind.
enum TFormulaResult : quint8 { frString = 0, frBoolean = 1, frError = 2, frEmpty = 3 };

class TSheetReader
{
public:
    TSheetReader(const QByteArray& stream, const TXlsFormat& format, const std::vector<QString>& sharedStrings)
        : FStream(stream)
        , FFormat(format)
        , FSharedStrings(sharedStrings)
    {
    }

    TRangeValue Read(quint32 offset);

private:
    void Record(const TBiffRecord& record);
    void Dimensions(TBiffReader& reader);
    void MulRk(const TBiffRecord& record);
    void Formula(TBiffReader& reader, TCellPosition position);
    TCellPosition Position(TBiffReader& reader);
    QString String(TBiffReader& reader) const;
    TCell Number(TBiffReader& reader, double value) const;
    TCell BoolErr(TBiffReader& reader, quint8 value, quint8 isError) const;
    void Store(TBiffReader& reader, TCellPosition position, TCell cell);

    const QByteArray& FStream;
    const TXlsFormat& FFormat;
    const std::vector<QString>& FSharedStrings;
    // The cells at their sheet positions, cropped to the used range at the end.
    TRangeValue FCells{ExcelLimits::MaxSheetRows, ExcelLimits::MaxSheetColumns};
    qint64 FCellCount = 0;
    std::optional<TCellArea> FBounds;
    // The last row and column the DIMENSIONS record declares, if it declares any cell.
    std::optional<TCellPosition> FDeclaredLast;
    // A FORMULA record whose text result follows in a STRING record.
    std::optional<TCellPosition> FPendingString;
};

TRangeValue TSheetReader::Read(quint32 offset)
{
    TBiffRecordWalk walk(FStream, offset);
    TBiffRecord record;
    if (!walk.Next(record) || record.Id != briBof)
        throw Exception(QStringLiteral("its substream at byte %1 does not begin with a BOF record").arg(offset));
    // Embedded substreams (charts) lie between BOF and EOF records of their own.
    int depth = 1;
    while (depth > 0 && walk.Next(record)) {
        if (record.Id == briBof)
            ++depth;
        else if (record.Id == briEof)
            --depth;
        else if (depth == 1)
            Record(record);
    }
    if (!FBounds)
        return TRangeValue(1, 1);
    // The used range starts at the first cell holding a value and ends where the sheet's
    // dimensions end, unless a cell lies beyond them.
    const std::optional<TCellArea> declared = FDeclaredLast
        ? std::optional<TCellArea>(TCellArea{FBounds->First, *FDeclaredLast})
        : std::nullopt;
    return CroppedToUsedRange(std::move(FCells), *FBounds, declared);
}

void TSheetReader::Record(const TBiffRecord& record)
{
    TBiffReader reader(record);
    if (record.Id != briString && record.Id != briFormula)
        FPendingString.reset();
    switch (record.Id) {
    case briDimensions:
        Dimensions(reader);
        break;
    case briNumber: {
        const TCellPosition position = Position(reader);
        Store(reader, position, Number(reader, reader.Double()));
        break;
    }
    case briRk: {
        const TCellPosition position = Position(reader);
        Store(reader, position, Number(reader, RkValue(reader.U32())));
        break;
    }
    case briMulRk:
        MulRk(record);
        break;
    case briLabelSst: {
        const TCellPosition position = Position(reader);
        const quint32 index = reader.U32();
        if (index >= FSharedStrings.size())
            throw reader.Error(QStringLiteral("there is no shared string %1 (the table holds %2)").arg(index).arg(FSharedStrings.size()));
        Store(reader, position, TCell::Text(FSharedStrings[index]));
        break;
    }
    case briLabel:
    case briRString: {
        const TCellPosition position = Position(reader);
        Store(reader, position, TCell::Text(String(reader)));
        break;
    }
    case briBoolErr: {
        const TCellPosition position = Position(reader);
        const quint8 value = reader.U8();
        const quint8 isError = reader.U8();
        Store(reader, position, BoolErr(reader, value, isError));
        break;
    }
    case briFormula:
        Formula(reader, Position(reader));
        break;
    case briString:
        if (FPendingString) {
            const TCellPosition position = *FPendingString;
            FPendingString.reset();
            Store(reader, position, TCell::Text(String(reader)));
        }
        break;
    default:
        break;
    }
}

void TSheetReader::Dimensions(TBiffReader& reader)
{
    quint32 lastRowAfter = 0;
    if (FFormat.Biff8) {
        reader.U32();
        lastRowAfter = reader.U32();
    } else {
        reader.U16();
        lastRowAfter = reader.U16();
    }
    reader.U16();
    const quint16 lastColumnAfter = reader.U16();
    if (lastRowAfter == 0 || lastColumnAfter == 0) {
        FDeclaredLast.reset();
        return;
    }
    FDeclaredLast = TCellPosition{static_cast<int>(std::min<quint32>(lastRowAfter, ExcelLimits::MaxSheetRows)),
        std::min<int>(lastColumnAfter, ExcelLimits::MaxSheetColumns)};
}

// A row, a first column, then six bytes for each cell (an XF index and an RK value), then
// the last column.
void TSheetReader::MulRk(const TBiffRecord& record)
{
    TBiffReader reader(record);
    const TCellPosition first = Position(reader);
    const qsizetype cells = (record.Body.size() - 6) / 6;
    if (record.Body.size() < 12 || (record.Body.size() - 6) % 6 != 0)
        throw reader.Error(QStringLiteral("its length %1 does not hold whole cells").arg(record.Body.size()));
    TBiffReader values(record);
    values.Skip(4);
    for (qsizetype i = 0; i < cells; ++i) {
        values.U16(); // the XF index
        const TCellPosition position{first.Row, first.Column + static_cast<int>(i)};
        if (position.Column > ExcelLimits::MaxSheetColumns)
            throw reader.Error(QStringLiteral("its cells go beyond column %1").arg(ExcelLimits::MaxSheetColumns));
        Store(values, position, Number(values, RkValue(values.U32())));
    }
}

void TSheetReader::Formula(TBiffReader& reader, TCellPosition position)
{
    const double number = reader.Double();
    const auto bytes = std::bit_cast<quint64>(number);
    if ((bytes >> 48) != 0xFFFF) {
        Store(reader, position, Number(reader, number));
        return;
    }
    const auto kind = static_cast<quint8>(bytes & 0xFF);
    const auto value = static_cast<quint8>((bytes >> 16) & 0xFF);
    switch (kind) {
    case frString:
        FPendingString = position;
        break;
    case frBoolean:
        Store(reader, position, BoolErr(reader, value, 0));
        break;
    case frError:
        Store(reader, position, BoolErr(reader, value, 1));
        break;
    case frEmpty:
        break;
    default:
        throw reader.Error(QStringLiteral("a formula has a result of the unknown kind %1").arg(kind));
    }
}

TCellPosition TSheetReader::Position(TBiffReader& reader)
{
    const quint16 row = reader.U16();
    const quint16 column = reader.U16();
    reader.U16(); // the XF index: dates keep the serial numbers they store
    if (column >= ExcelLimits::MaxSheetColumns)
        throw reader.Error(QStringLiteral("a cell lies in column %1, beyond the %2 columns of a sheet").arg(column + 1).arg(ExcelLimits::MaxSheetColumns));
    return TCellPosition{row + 1, column + 1};
}

QString TSheetReader::String(TBiffReader& reader) const
{
    return FFormat.Biff8 ? reader.Biff8String(2) : reader.Biff5String(2, FFormat.CodePage);
}

TCell TSheetReader::Number(TBiffReader& reader, double value) const
{
    if (!std::isfinite(value))
        throw reader.Error(QStringLiteral("a cell holds a number that is not finite"));
    return TCell::Number(value);
}

TCell TSheetReader::BoolErr(TBiffReader& reader, quint8 value, quint8 isError) const
{
    if (!isError)
        return TCell::Boolean(value != 0);
    if (const std::optional<QString> text = ErrorText(value))
        return TCell::Error(*text);
    throw reader.Error(QStringLiteral("a cell holds the unknown error code 0x%1").arg(value, 2, 16, QLatin1Char('0')));
}

void TSheetReader::Store(TBiffReader& reader, TCellPosition position, TCell cell)
{
    if (cell.IsEmpty())
        return;
    if (++FCellCount > ExcelLimits::MaxCellsPerSheet)
        throw reader.Error(QStringLiteral("more than %1 cells hold values").arg(ExcelLimits::MaxCellsPerSheet));
    if (!FBounds) {
        FBounds = TCellArea{position, position};
    } else {
        FBounds->First.Row = std::min(FBounds->First.Row, position.Row);
        FBounds->First.Column = std::min(FBounds->First.Column, position.Column);
        FBounds->Last.Row = std::max(FBounds->Last.Row, position.Row);
        FBounds->Last.Column = std::max(FBounds->Last.Column, position.Column);
    }
    FCells.SetCell(position.Row, position.Column, std::move(cell));
}

} // namespace

TRangeValue ReadXlsSheet(const QByteArray& stream, quint32 offset, const TXlsFormat& format,
    const std::vector<QString>& sharedStrings)
{
    return TSheetReader(stream, format, sharedStrings).Read(offset);
}
