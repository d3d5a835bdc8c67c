#include "excel/XlsStreamCheck.h"
#include "support/Exception.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <bit>

namespace {

// Little-endian fields of a record body.
class TBody
{
public:
    TBody& U16(quint16 value) { return Append(qToLittleEndian(value)); }
    TBody& U32(quint32 value) { return Append(qToLittleEndian(value)); }
    TBody& Double(double value) { return Append(qToLittleEndian(std::bit_cast<quint64>(value))); }
    TBody& Bytes(const QByteArray& bytes)
    {
        FBytes += bytes;
        return *this;
    }
    const QByteArray& Bytes() const { return FBytes; }

private:
    template<class T>
    TBody& Append(T value)
    {
        FBytes.append(reinterpret_cast<const char*>(&value), sizeof value);
        return *this;
    }
    QByteArray FBytes;
};

QByteArray Record(quint16 id, const TBody& body)
{
    return TBody().U16(id).U16(static_cast<quint16>(body.Bytes().size())).Bytes(body.Bytes()).Bytes();
}

QByteArray Dimensions8(quint32 rows, quint16 columns)
{
    return Record(0x0200, TBody().U32(0).U32(rows).U16(0).U16(columns).U16(0));
}

// A NUMBER record for the cell in that row of column A.
QByteArray Number(quint16 xf, double value, quint16 row = 0)
{
    return Record(0x0203, TBody().U16(row).U16(0).U16(xf).Double(value));
}

QByteArray Xf(quint16 format)
{
    return Record(0x00E0, TBody().U16(0).U16(format).Bytes(QByteArray(16, '\0')));
}

// An RK value holding an integer.
quint32 RkInteger(qint32 value)
{
    return static_cast<quint32>(value) << 2 | 2;
}

QByteArray Bof(quint16 version)
{
    return Record(0x0809, TBody().U16(version).U16(0x0010).U32(0).U32(0).U32(0));
}

QByteArray Eof()
{
    return Record(0x000A, TBody());
}

// A BOUNDSHEET record listing the sheet whose BOF record is at offset (12 bytes).
QByteArray BoundSheet(quint32 offset)
{
    return Record(0x0085, TBody().U32(offset).U16(0).U16(0));
}

// A workbook stream listing one sheet of rows × columns from A1 that holds these cells; the
// globals hold these records before the sheet's BOUNDSHEET record.
QByteArray OneSheetWorkbook(const QByteArray& cells, const QByteArray& globals = {}, quint32 rows = 100, quint16 columns = 10)
{
    const QByteArray head = Bof(0x0600) + globals;
    const auto sheetAt = static_cast<quint32>(head.size() + BoundSheet(0).size() + Eof().size());
    return head + BoundSheet(sheetAt) + Eof() + Bof(0x0600) + Dimensions8(rows, columns) + cells + Eof();
}

TEST(ExcelXlsStreamCheckTest, CountsTheDeclaredCellsOfEverySheet)
{
    const TXlsStreamDemand demand = XlsStreamDemand(Bof(0x0600) + Dimensions8(65536, 256) + Eof() + Bof(0x0600) + Dimensions8(100, 3));
    EXPECT_EQ(demand.CellSlots, 65536 * 256 + 300);
    EXPECT_EQ(demand.LargestSheetSlots, 65536 * 256);
    const QByteArray biff5Dimensions = Record(0x0200, TBody().U16(0).U16(100).U16(0).U16(3).U16(0));
    EXPECT_EQ(XlsStreamDemand(Bof(0x0500) + biff5Dimensions).CellSlots, 300);
}

TEST(ExcelXlsStreamCheckTest, CountsTheDaysOfNumbersThatMayBeDates)
{
    const QByteArray formats = Record(0x041E, TBody().U16(164).U16(10).Bytes(QByteArray("\0yyyy-mm-dd", 11)))
        + Record(0x041E, TBody().U16(165).U16(4).Bytes(QByteArray("\0000.00", 5)));
    const QByteArray xfs = Xf(164) + Xf(165) + Xf(14) + Xf(0); // custom date, custom number, built-in date, general
    const QByteArray cells = Number(0, 45366, 0) // a date
        + Number(1, 45366, 1) + Number(3, 45366, 2) // numbers
        + Record(0x027E, TBody().U16(3).U16(0).U16(2).U32(RkInteger(100))) // RK date
        + Record(0x00BD, TBody().U16(4).U16(0).U16(2).U32(RkInteger(7)).U16(3).U32(RkInteger(1000)).U16(2).U32(RkInteger(8)).U16(2))
        + Record(0x0006, TBody().U16(5).U16(0).U16(0).Double(20).U16(0).U32(0).U16(0)) // formula with a number
        + Record(0x0006, TBody().U16(6).U16(0).U16(0).U16(1).U32(0).U16(0xFFFF).U16(0).U32(0).U16(0)) // with a text
        + Number(2, 1e12, 7) // beyond 9999-12-31: counted as far as that
        + Number(2, -5, 8) + Number(99, 1, 9); // negative; an undefined XF counts
    EXPECT_EQ(XlsStreamDemand(OneSheetWorkbook(cells, formats + xfs)).DateDays, 45366 + 100 + 7 + 8 + 20 + 2958465 + 1);
}

// A shared string table of "ab" and "cdef", the second going on in a CONTINUE record with
// its last two characters stored wide.
QByteArray SharedStrings(quint32 count)
{
    return Record(0x00FC, TBody().U32(2).U32(count).U16(2).Bytes(QByteArray("\0ab", 3)).U16(4).Bytes(QByteArray("\0cd", 3)))
        + Record(0x003C, TBody().Bytes(QByteArray("\1e\0f\0", 5)));
}

QByteArray LabelSst(quint32 index)
{
    return Record(0x00FD, TBody().U16(0).U16(0).U16(0).U32(index));
}

TEST(ExcelXlsStreamCheckTest, AcceptsSharedStringsGoingOnInContinueRecords)
{
    EXPECT_NO_THROW(XlsStreamDemand(OneSheetWorkbook(LabelSst(1), SharedStrings(2))));
}

TEST(ExcelXlsStreamCheckTest, AcceptsListedSheetsWithTheirDimensions)
{
    // The globals (BOF, two BOUNDSHEET records, EOF: 48 bytes) put the sheets at 48 and 90.
    const QByteArray sheet = Bof(0x0600) + Dimensions8(2, 3) + Eof();
    EXPECT_EQ(XlsStreamDemand(Bof(0x0600) + BoundSheet(48) + BoundSheet(90) + Eof() + sheet + sheet).CellSlots, 12);
}

TEST(ExcelXlsStreamCheckTest, AcceptsTheSameCellInTwoSheets)
{
    // The globals (BOF, two BOUNDSHEET records, EOF: 48 bytes) put the sheets at 48 and 108.
    const QByteArray sheet = Bof(0x0600) + Dimensions8(2, 3) + Number(0, 1) + Eof();
    EXPECT_NO_THROW(XlsStreamDemand(Bof(0x0600) + BoundSheet(48) + BoundSheet(108) + Eof() + sheet + sheet));
}

// FreeXL passes over them.
TEST(ExcelXlsStreamCheckTest, AcceptsCellsBeforeTheDimensions)
{
    EXPECT_NO_THROW(XlsStreamDemand(Bof(0x0600) + BoundSheet(36) + Eof() + Bof(0x0600) + Number(0, 1, 500) + Dimensions8(1, 1)));
}

TEST(ExcelXlsStreamCheckTest, AcceptsAPartialHeaderAtTheEnd)
{
    EXPECT_EQ(XlsStreamDemand(Bof(0x0600) + Dimensions8(2, 2) + QByteArray(3, '\0')).CellSlots, 4);
}

struct TMalformedCase
{
    const char* Name;
    QByteArray Stream;
    const char* Problem;
};

void PrintTo(const TMalformedCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ExcelXlsStreamCheckErrorTest : public testing::TestWithParam<TMalformedCase> {};

TEST_P(ExcelXlsStreamCheckErrorTest, RefusesRecordsFreeXLWouldMisread)
{
    try {
        XlsStreamDemand(GetParam().Stream);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QString::fromUtf8(GetParam().Problem));
    }
}

INSTANTIATE_TEST_SUITE_P(Records, ExcelXlsStreamCheckErrorTest,
    testing::Values(TMalformedCase{"DimensionsWithoutFields", Record(0x0200, TBody()),
                        "the workbook stream is damaged (record 0x0200 at byte 0 has the length 0)"},
        TMalformedCase{"SecondDimensionsOfASheet", Bof(0x0600) + Dimensions8(1, 1) + Dimensions8(1, 1),
            "the workbook stream is damaged (a sheet has a second or malformed DIMENSIONS record)"},
        TMalformedCase{"ListedSheetWithoutDimensions", Bof(0x0600) + BoundSheet(36) + Eof() + Bof(0x0600) + Number(0, 1),
            "the workbook stream is damaged (the sheet at byte 36 has no DIMENSIONS record)"},
        TMalformedCase{"ListedSheetAfterTheEndMarker",
            Bof(0x0600) + BoundSheet(40) + Eof() + Record(0, TBody()) + Bof(0x0600) + Dimensions8(1, 1),
            "the workbook stream is damaged (the sheet at byte 40 has no DIMENSIONS record)"},
        TMalformedCase{"ListedSheetMissing", Bof(0x0600) + BoundSheet(36) + Eof(),
            "the workbook stream is damaged (the sheet at byte 36 has no DIMENSIONS record)"},
        TMalformedCase{"ListedSheetStartingBeforeAnEof", Bof(0x0600) + BoundSheet(32) + Bof(0x0600) + Dimensions8(1, 1),
            "the workbook stream is damaged (the sheet at byte 32 has no DIMENSIONS record)"},
        TMalformedCase{"SheetsSharingASubstream", Bof(0x0600) + BoundSheet(48) + BoundSheet(48) + Eof() + Bof(0x0600) + Dimensions8(1, 1),
            "the workbook stream is damaged (two sheets share a substream)"},
        TMalformedCase{"SecondDimensionsAfterABofWithoutEof", Bof(0x0600) + Dimensions8(1, 1) + Bof(0x0600) + Dimensions8(1, 1),
            "the workbook stream is damaged (a sheet has a second or malformed DIMENSIONS record)"},
        TMalformedCase{"ShortDimensionsInBiff8", Bof(0x0600) + Record(0x0200, TBody().U16(0).U16(100).U16(0).U16(3).U16(0)),
            "the workbook stream is damaged (a sheet has a second or malformed DIMENSIONS record)"},
        TMalformedCase{"NumberTooShort", Record(0x0203, TBody().Bytes(QByteArray(13, '\0'))),
            "the workbook stream is damaged (record 0x0203 at byte 0 has the length 13)"},
        TMalformedCase{"LongerThanTheFormatAllows", Record(0x003C, TBody().Bytes(QByteArray(8225, '\0'))),
            "the workbook stream is damaged (record 0x003c at byte 0 has the length 8225)"},
        TMalformedCase{"MoreSharedStringsThanHeld", SharedStrings(3),
            "the workbook stream is damaged (the shared string table ends early)"},
        TMalformedCase{"SharedStringHeaderCut",
            Record(0x00FC, TBody().U32(1).U32(1).U16(2)) + Record(0x003C, TBody().Bytes(QByteArray("\0ab", 3))),
            "the workbook stream is damaged (a shared string is cut)"},
        TMalformedCase{"WideCharacterCut", Record(0x00FC, TBody().U32(1).U32(1).U16(1).Bytes(QByteArray("\1a", 2))),
            "the workbook stream is damaged (a character of a shared string is cut)"},
        TMalformedCase{"CellWithAMissingSharedString", SharedStrings(2) + LabelSst(2),
            "the workbook stream is damaged (a cell refers to shared string 2 of 2)"},
        TMalformedCase{"CellGivenTwoValues", OneSheetWorkbook(Number(0, 1, 4) + Number(0, 2, 5) + Number(0, 3, 4)),
            "the workbook stream is damaged (two records give the cell at row 5, column 1 a value)"},
        TMalformedCase{"CellOfAMulRkGivenASecondValue",
            OneSheetWorkbook(Record(0x00BD, TBody().U16(4).U16(0).U16(0).U32(RkInteger(1)).U16(0).U32(RkInteger(2)).U16(1))
                + Record(0x0204, TBody().U16(4).U16(1).U16(0).U16(1).Bytes(QByteArray("\0x", 2)))),
            "the workbook stream is damaged (two records give the cell at row 5, column 2 a value)"},
        TMalformedCase{"CellBelowItsSheet", OneSheetWorkbook(Number(0, 1, 100)),
            "the workbook stream is damaged (the cell at row 101, column 1 lies outside the 100 rows and 10 columns of its sheet)"},
        TMalformedCase{"MulRkCellRightOfItsSheet",
            OneSheetWorkbook(Record(0x00BD, TBody().U16(0).U16(0).U16(0).U32(RkInteger(1)).U16(0).U32(RkInteger(2)).U16(1)), {}, 1, 1),
            "the workbook stream is damaged (the cell at row 1, column 2 lies outside the 1 rows and 1 columns of its sheet)"},
        TMalformedCase{"LabelOutsideTheListedSheets", Bof(0x0600) + Record(0x0204, TBody().U16(0).U16(0).U16(0).U16(1).Bytes(QByteArray("\0x", 2))),
            "the workbook stream is damaged (a cell at byte 20 lies outside the listed sheets)"},
        TMalformedCase{"SheetClaimingAnotherVersion", Bof(0x0600) + Eof() + Bof(0x0500) + Record(0x0200, TBody().U16(0).U16(100).U16(0).U16(3).U16(0)),
            "the workbook stream is damaged (a sheet has a second or malformed DIMENSIONS record)"},
        TMalformedCase{"LabelRunningPastItsRecord", Bof(0x0600) + Record(0x0204, TBody().U16(0).U16(0).U16(0).U16(5).Bytes(QByteArray("\0ab", 3))),
            "the workbook stream is damaged (the string of record 0x0204 at byte 20 runs past its end)"},
        TMalformedCase{"LabelOfBiff5RunningPastItsRecord", Bof(0x0500) + Record(0x0204, TBody().U16(0).U16(0).U16(0).U16(300).Bytes("abc")),
            "the workbook stream is damaged (the string of record 0x0204 at byte 20 runs past its end)"},
        TMalformedCase{"WideFormatStringRunningPastItsRecord", Bof(0x0600) + Record(0x041E, TBody().U16(164).U16(3).Bytes(QByteArray("\1a\0b\0", 5))),
            "the workbook stream is damaged (the string of record 0x041e at byte 20 runs past its end)"},
        TMalformedCase{"FormatStringWithoutItsHeader", Bof(0x0600) + Record(0x041E, TBody().U16(164).U16(1)),
            "the workbook stream is damaged (the string of record 0x041e at byte 20 runs past its end)"},
        TMalformedCase{"MoreXfRecordsThanFreeXLKeeps", Bof(0x0600) + Xf(0).repeated(8193),
            "the workbook stream is damaged (it has more than 8192 XF records)"},
        TMalformedCase{"RunningPastTheEnd", Record(0x003C, TBody().Bytes(QByteArray(10, '\0'))).chopped(1),
            "the workbook stream is damaged (record 0x003c at byte 0 has the length 10)"}),
    [](const testing::TestParamInfo<TMalformedCase>& testCase) { return std::string(testCase.param.Name); });

} // namespace
