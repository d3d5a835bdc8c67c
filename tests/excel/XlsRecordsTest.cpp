#include "excel/Workbook.h"
#include "support/Exception.h"
#include "BiffFiles.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Workbook streams put together record by record, for what the committed fixtures lack.

namespace {

constexpr quint16 Biff5 = 0x0500;

QByteArray Dimensions(quint32 rowsAfter, quint16 columnsAfter)
{
    return Record(0x0200, TBody().U32(0).U32(rowsAfter).U16(0).U16(columnsAfter).U16(0));
}

TBody Cell(quint16 row, quint16 column)
{
    return TBody().U16(row).U16(column).U16(15);
}

QByteArray Number(quint16 row, quint16 column, double value)
{
    return Record(0x0203, Cell(row, column).Double(value));
}

QByteArray Label(quint16 row, quint16 column, const QByteArray& text)
{
    return Record(0x0204, Cell(row, column).Bytes(Biff8Text(text).Bytes()));
}

// A FORMULA record whose cached result is given by its eight bytes.
QByteArray Formula(quint16 row, quint16 column, const TBody& result)
{
    return Record(0x0006, Cell(row, column).Bytes(result.Bytes()).U16(0).U32(0).U16(0));
}

TBody NonNumberResult(quint8 kind, quint8 value)
{
    return TBody().U8(kind).U8(0).U8(value).U8(0).U8(0).U8(0).U16(0xFFFF);
}

class ExcelXlsRecordsTest : public testing::Test
{
protected:
    // Opens the workbook of this stream.
    std::unique_ptr<TWorkbook> Open(const QByteArray& stream)
    {
        WriteFileBytes(Path(), CompoundFile(stream));
        return OpenWorkbook(Path());
    }

    // The used range of the first sheet of one sheet holding these records.
    TRangeValue FirstSheet(const QByteArray& records, const QByteArray& globals = {})
    {
        return Open(WorkbookStream(globals, {{"Sheet", records}}))->Worksheets().Item(1).UsedRangeValue();
    }

    // The message opening the workbook of this stream and reading its sheets fails with,
    // after "Cannot read workbook "<path>": ".
    QString Error(const QByteArray& stream)
    {
        try {
            const std::unique_ptr<TWorkbook> workbook = Open(stream);
            for (int index = 1; index <= workbook->Worksheets().Count(); ++index)
                workbook->Worksheets().Item(index).UsedRangeValue();
        } catch (const Exception& e) {
            return e.Message().mid(QStringLiteral("Cannot read workbook \"%1\": ").arg(Path()).size());
        }
        return QStringLiteral("(read)");
    }

    QString Path() const { return FDir.filePath(QStringLiteral("records.xls")); }

    QTemporaryDir FDir;
};

TEST_F(ExcelXlsRecordsTest, ReadsEveryKindOfCell)
{
    const QByteArray rk = Record(0x027E, Cell(0, 2).U32(static_cast<quint32>(-25) << 2 | 3)); // -25 / 100
    const QByteArray mulRk = Record(0x00BD, TBody().U16(1).U16(0).U16(15).U32(7u << 2 | 2).U16(15).U32(0x3FF80000).U16(1)); // 7, 1.5
    const QByteArray records = Dimensions(4, 4) + Number(0, 0, 0.1) + Label(0, 1, "caf\xe9") + rk + mulRk
        + Formula(1, 2, TBody().Double(2.5)) + Formula(1, 3, NonNumberResult(0, 0)) + Record(0x0207, Biff8Text("result"))
        + Formula(2, 0, NonNumberResult(1, 1)) + Formula(2, 1, NonNumberResult(2, 0x24)) + Formula(2, 2, NonNumberResult(3, 0))
        + Record(0x0205, Cell(3, 0).U8(0).U8(0)) + Record(0x0205, Cell(3, 1).U8(0x0F).U8(1))
        + Record(0x0201, Cell(3, 2)); // a blank cell
    const TRangeValue range = FirstSheet(records);
    ASSERT_EQ(range.RowCount(), 4);
    ASSERT_EQ(range.ColumnCount(), 4);
    const char* expected[4][4] = {{"0.1", "café", "-0.25", ""}, {"7", "1.5", "2.5", "result"}, {"TRUE", "#NUM!", "", ""},
        {"FALSE", "#VALUE!", "", ""}};
    for (int row = 1; row <= 4; ++row) {
        for (int column = 1; column <= 4; ++column)
            EXPECT_EQ(range.Cell(row, column).ToText(), QString::fromUtf8(expected[row - 1][column - 1])) << row << "," << column;
    }
}

// "ab" and "cdé€": the second goes on in a CONTINUE record, with its last two characters
// stored 16 bits wide.
TEST_F(ExcelXlsRecordsTest, SharedStringsGoOnInContinueRecords)
{
    const QByteArray sst = Record(0x00FC, TBody().U32(3).U32(2).Bytes(Biff8Text("ab").Bytes()).U16(4).U8(0).Bytes("cd"))
        + Record(0x003C, TBody().U8(1).U16(0xE9).U16(0x20AC));
    const auto labelSst = [](quint16 row, quint32 index) { return Record(0x00FD, Cell(row, 0).U32(index)); };
    const TRangeValue range = FirstSheet(Dimensions(3, 1) + labelSst(0, 1) + labelSst(1, 0) + labelSst(2, 1), sst);
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("cdé€"));
    EXPECT_EQ(range.Cell(2, 1).ToText(), QStringLiteral("ab"));
    EXPECT_EQ(range.Cell(3, 1).ToText(), QStringLiteral("cdé€"));
}

// The used range starts at the first cell with a value and ends where the dimensions do;
// a cell beyond them widens it.
TEST_F(ExcelXlsRecordsTest, UsedRangeFromFirstCellToDeclaredEnd)
{
    const TRangeValue declared = FirstSheet(Dimensions(10, 5) + Number(2, 1, 1));
    EXPECT_EQ(declared.RowCount(), 8);
    EXPECT_EQ(declared.ColumnCount(), 4);
    EXPECT_EQ(declared.Cell(1, 1).ToText(), QStringLiteral("1"));
    const TRangeValue beyond = FirstSheet(Dimensions(2, 2) + Number(1, 1, 1) + Number(6, 3, 2));
    EXPECT_EQ(beyond.RowCount(), 6);
    EXPECT_EQ(beyond.ColumnCount(), 3);
    EXPECT_EQ(beyond.Cell(6, 3).ToText(), QStringLiteral("2"));
    EXPECT_FALSE(FirstSheet(Dimensions(0, 0)).IsArray());
}

TEST_F(ExcelXlsRecordsTest, ListsWorksheetsButNoChartSheets)
{
    const QByteArray chart = Bof() + Number(0, 0, 99) + Eof(); // an embedded chart's substream
    const std::unique_ptr<TWorkbook> workbook =
        Open(WorkbookStream({}, {{"First", Dimensions(1, 1) + chart + Number(0, 0, 1)}, {"chart:Chart", {}}, {"Second", {}}}));
    ASSERT_EQ(workbook->Worksheets().Count(), 2);
    EXPECT_EQ(workbook->Worksheets().Item(1).Name(), QStringLiteral("First"));
    EXPECT_EQ(workbook->Worksheets().Item(2).Name(), QStringLiteral("Second"));
    EXPECT_EQ(workbook->Worksheets().Item(1).UsedRangeValue().Cell(1, 1).ToText(), QStringLiteral("1"));
}

TEST_F(ExcelXlsRecordsTest, ReadsBiff5TextInItsCodePage)
{
    const QByteArray codePage = Record(0x0042, TBody().U16(1251));
    const QByteArray label = Record(0x0204, Cell(0, 0).U16(3).Bytes("\xcf\xf0\xe8"));
    const QByteArray dimensions = Record(0x0200, TBody().U16(0).U16(1).U16(0).U16(1).U16(0));
    const std::unique_ptr<TWorkbook> workbook = Open(WorkbookStream(codePage, {{"\xc0", dimensions + label}}, Biff5));
    EXPECT_EQ(workbook->Worksheets().Item(1).Name(), QStringLiteral("А"));
    EXPECT_EQ(workbook->Worksheets().Item(1).UsedRangeValue().Cell(1, 1).ToText(), QStringLiteral("При"));
}

// Damage is reported with the worksheet (or the globals), the record type and its offset
// in the workbook stream; counts are checked against the bytes left before use.
TEST_F(ExcelXlsRecordsTest, DamageNamesSheetRecordAndOffset)
{
    const QByteArray globalsEnd = Bof() + Record(0x0085, TBody().U32(0).U8(0).U8(0).U8(1).U8(0).Bytes("S"));
    const qsizetype sstAt = globalsEnd.size();
    const struct
    {
        QByteArray Stream;
        QString Expected;
    } cases[] = {
        {globalsEnd + Record(0x00FC, TBody().U32(1).U32(1'000'000).Bytes(Biff8Text("a").Bytes())),
            QStringLiteral("the workbook globals: record 0x00fc at byte %1: the shared string table claims 1000000 strings, more than its 4 bytes hold").arg(sstAt)},
        {globalsEnd + Record(0x00FC, TBody().U32(1).U32(1).U16(60000).U8(0).Bytes("abc")),
            QStringLiteral("the workbook globals: record 0x00fc at byte %1: a string of 60000 characters runs past its end").arg(sstAt)},
        {Bof() + TBody().U16(0x0204).U16(8000).Bytes(), QStringLiteral("the workbook globals: record 0x0204 at byte 20: its 8000 bytes run past the end of the stream")},
        {Bof(0x0200), QStringLiteral("the workbook globals: record 0x0809 at byte 0: the BIFF version 0x0200 is not supported (only that of Excel 5.0 and later)")},
        {Bof() + Record(0x002F, TBody().U16(1)), QStringLiteral("the workbook is protected by a password")},
        {Bof() + Eof(), QStringLiteral("it holds no worksheet")},
        {Bof() + Record(0x0042, TBody().U16(9999)), QStringLiteral("it holds no worksheet")}, // BIFF 8 text ignores the code page
        {WorkbookStream(Record(0x0042, TBody().U16(9999)), {{"S", {}}}, Biff5),
            QStringLiteral("the workbook globals: its text uses the code page 9999, which is not supported")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Error(c.Stream), c.Expected) << c.Expected.toStdString();

    const QByteArray sheet = Dimensions(1, 1) + Record(0x00FD, Cell(0, 0).U32(3));
    const QByteArray stream = WorkbookStream({}, {{"Data", sheet}});
    const qsizetype labelAt = stream.indexOf(QByteArray("\xfd\x00", 2));
    EXPECT_EQ(Error(stream), QStringLiteral("worksheet \"Data\": record 0x00fd at byte %1: there is no shared string 3 (the table holds 0)").arg(labelAt));
    const struct
    {
        QByteArray Records;
        QString Expected;
    } sheetCases[] = {
        {Number(0, 0, std::numeric_limits<double>::infinity()), QStringLiteral("a cell holds a number that is not finite")},
        {Record(0x0203, Cell(0, 0).U32(0)), QStringLiteral("the record is too short for its fields (10 bytes)")},
        {Record(0x0205, Cell(0, 0).U8(0x33).U8(1)), QStringLiteral("a cell holds the unknown error code 0x33")},
        {Record(0x00BD, TBody().U16(0).U16(0).U16(15).U32(2).U16(15).U16(0)), QStringLiteral("its length 14 does not hold whole cells")},
        {Number(0, 20000, 1), QStringLiteral("a cell lies in column 20001, beyond the 16384 columns of a sheet")},
        {Record(0x0204, Cell(0, 0).U16(5).U8(0).Bytes("ab")), QStringLiteral("a string of 5 characters runs past its end")},
    };
    for (const auto& c : sheetCases) {
        const QString message = Error(WorkbookStream({}, {{"Data", c.Records}}));
        EXPECT_TRUE(message.startsWith(u"worksheet \"Data\": record 0x") && message.endsWith(c.Expected)) << message.toStdString();
    }
    EXPECT_EQ(Error(Bof() + Record(0x0085, TBody().U32(5000).U8(0).U8(0).U8(1).U8(0).Bytes("S")) + Eof()),
        QStringLiteral("worksheet \"S\": its substream at byte 5000 does not begin with a BOF record"));
}

} // namespace
