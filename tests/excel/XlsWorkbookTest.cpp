#include "excel/Workbook.h"
#include "support/Exception.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

// The fixtures are made by fixtures/make_xls_fixtures.py.

namespace {

class ExcelXlsWorkbookTest : public testing::Test
{
protected:
    void SetUp() override { FWorkbook = OpenWorkbook(FixturePath("workbook.xls")); }

    const TRangeValue& Sheet(int index) { return FWorkbook->Worksheets().Item(index).UsedRangeValue(); }

    // The message opening a damaged copy of workbook.xls fails with.
    QString DamagedCopyError(const std::function<void(QByteArray&)>& damage) const
    {
        QByteArray content = ReadFileBytes(FixturePath("workbook.xls"));
        damage(content);
        const QString path = FDir.filePath(QStringLiteral("damaged.xls"));
        WriteFileBytes(path, content);
        try {
            OpenWorkbook(path);
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("(opened)");
    }

    std::unique_ptr<TWorkbook> FWorkbook;
    QTemporaryDir FDir;
};

TEST_F(ExcelXlsWorkbookTest, ListsTheWorksheetsInOrder)
{
    TWorkSheets& sheets = FWorkbook->Worksheets();
    ASSERT_EQ(sheets.Count(), 4);
    EXPECT_EQ(sheets.Item(1).Name(), QStringLiteral("Values"));
    EXPECT_EQ(sheets.Item(2).Name(), QStringLiteral("Offset"));
    EXPECT_EQ(sheets.Item(3).Name(), QStringLiteral("Empty"));
    EXPECT_EQ(sheets.Item(4).Name(), QStringLiteral("Ünïcode one"));
}

// Booleans and errors come out of FreeXL as integers: TRUE 1, FALSE 0, any error 1. Dates
// come out as the serial numbers the cells store.
TEST_F(ExcelXlsWorkbookTest, ReadsTheValues)
{
    const TRangeValue& range = Sheet(1);
    ASSERT_EQ(range.RowCount(), 12);
    ASSERT_EQ(range.ColumnCount(), 2);
    const char* expected[12][2] = {{"Text", "Grüße €"}, {"42", "-7"}, {"1.5", "0.1"}, {"1000000000000000", "123456789012"},
        {"1", "0"}, {"1", "1"}, {"45366", "45366.520833333336"}, {"0.25", "1"}, {"59", "61"}, {"60", "73110"},
        {"2958465", "45366.75"}, {"rich text", ""}};
    for (int row = 1; row <= 12; ++row) {
        for (int column = 1; column <= 2; ++column)
            EXPECT_EQ(range.Cell(row, column).ToText(), QString::fromUtf8(expected[row - 1][column - 1])) << row << "," << column;
    }
}

TEST_F(ExcelXlsWorkbookTest, UsedRangeStartsAtItsFirstCell)
{
    const TRangeValue& range = Sheet(2); // C3:E6
    EXPECT_EQ(range.RowCount(), 4);
    EXPECT_EQ(range.ColumnCount(), 3);
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("top-left"));
    EXPECT_TRUE(range.Cell(2, 2).IsEmpty()); // formatted, but blank
    EXPECT_EQ(range.Cell(4, 3).ToText(), QStringLiteral("bottom-right"));
}

TEST_F(ExcelXlsWorkbookTest, EmptyAndOneCellSheetsAreSingleValues)
{
    EXPECT_FALSE(Sheet(3).IsArray());
    EXPECT_TRUE(Sheet(3).Cell(1, 1).IsEmpty());
    EXPECT_FALSE(Sheet(4).IsArray());
    EXPECT_EQ(Sheet(4).Cell(1, 1).ToText(), QStringLiteral("only"));
}

TEST_F(ExcelXlsWorkbookTest, DatesOfThe1904SystemKeepTheirNumbers)
{
    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(FixturePath("dates1904.xls"));
    const TRangeValue& range = workbook->Worksheets().Item(1).UsedRangeValue();
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("43904")); // 2024-03-15
    EXPECT_EQ(range.Cell(1, 2).ToText(), QStringLiteral("1.5")); // 1904-01-02 12:00
}

// FreeXL would set aside 16 bytes for each of the 67 million declared cells of this 5 KiB file.
TEST_F(ExcelXlsWorkbookTest, HugeDeclaredSheetsAreRefusedBeforeFreeXLAllocates)
{
    try {
        OpenWorkbook(FixturePath("declared_huge.xls"));
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot read workbook \"%1\": its worksheets declare 67108864 cells in all, more than 20000000")
                                   .arg(FixturePath("declared_huge.xls")));
    }
    // Within the limit for the whole workbook, but more for one sheet than FreeXL sets aside
    // (it would fail without saying why).
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        const qsizetype body = content.indexOf(QByteArray("\x00\x02\x0e\x00", 4)) + 4; // the first sheet's DIMENSIONS
        qToLittleEndian<quint32>(78000, content.data() + body + 4);
        qToLittleEndian<quint16>(256, content.data() + body + 10);
    }).endsWith(QStringLiteral("a worksheet declares 19968000 cells, more than FreeXL reads (16777216)")));
}

// FreeXL counts the days of a date one at a time while it opens the file: 3 ms for each of
// these 1000 cells.
TEST_F(ExcelXlsWorkbookTest, FarDatesAreRefusedBeforeFreeXLCountsTheirDays)
{
    try {
        OpenWorkbook(FixturePath("far_dates.xls"));
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral("its dates are too many or too far in the future to be read in reasonable time")))
            << e.what();
    }
}

TEST_F(ExcelXlsWorkbookTest, DamagedFilesFailClearly)
{
    // Cut in the middle of the sector chains.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) { content.truncate(3000); }).contains(QStringLiteral("the OLE2 container is damaged")));
    // An OLE2 file without a workbook stream, such as a text document.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        const QByteArray name("W\0o\0r\0k\0b\0o\0o\0k\0", 16);
        content.replace(content.indexOf(name), name.size(), QByteArray("D\0o\0c\0u\0m\0e\0n\0t\0", 16));
    }).endsWith(QStringLiteral("the OLE2 file holds no workbook stream")));
    // A directory entry whose name is longer than an entry; FreeXL would read past its stack.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        content[content.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)) + 0x41] = '\x4B';
    }).endsWith(QStringLiteral("the OLE2 container is damaged (a directory entry has a name of 19218 bytes)")));
    // FreeXL reads an entry named "Workbook" whatever its type: so does the record check.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        content[content.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)) + 0x42] = '\x01'; // a storage
        const QByteArray bottomMargin("\x29\x00\x08\x00", 4);
        content[content.indexOf(bottomMargin) + 2] = '\xA9';
    }).contains(QStringLiteral("the workbook stream is damaged")));
    // A mini stream larger than the file, for which FreeXL would set memory aside at once.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        qToLittleEndian<quint32>(1, content.data() + 0x40); // a mini FAT: the workbook stream lies in the mini stream
        const qsizetype rootEntry = content.indexOf(QByteArray("R\0o\0o\0t\0 \0E\0n\0t\0r\0y\0", 20));
        qToLittleEndian<quint32>(0xFFFF0000, content.data() + rootEntry + 0x78);
    }).endsWith(QStringLiteral("the OLE2 container is damaged (the mini stream claims 4294901760 bytes, more than the file holds)")));
    // A record length that runs the record walk out of step; FreeXL would read past its
    // buffers and crash on this one.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        const QByteArray bottomMargin("\x29\x00\x08\x00", 4);
        content[content.indexOf(bottomMargin) + 2] = '\xA9';
    }).contains(QStringLiteral("the workbook stream is damaged")));
}

} // namespace
