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

    // The message opening a damaged copy of workbook.xls and reading its sheets fails with.
    QString DamagedCopyError(const std::function<void(QByteArray&)>& damage) const
    {
        QByteArray content = ReadFileBytes(FixturePath("workbook.xls"));
        damage(content);
        const QString path = FDir.filePath(QStringLiteral("damaged.xls"));
        WriteFileBytes(path, content);
        try {
            const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(path);
            for (int index = 1; index <= workbook->Worksheets().Count(); ++index)
                workbook->Worksheets().Item(index).UsedRangeValue();
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

// Booleans and errors read as the .xlsx reader gives them; dates as the serial numbers the
// cells store.
TEST_F(ExcelXlsWorkbookTest, ReadsTheValues)
{
    const TRangeValue& range = Sheet(1);
    ASSERT_EQ(range.RowCount(), 12);
    ASSERT_EQ(range.ColumnCount(), 2);
    const char* expected[12][2] = {{"Text", "Grüße €"}, {"42", "-7"}, {"1.5", "0.1"}, {"1000000000000000", "123456789012"},
        {"TRUE", "FALSE"}, {"#N/A", "#DIV/0!"}, {"45366", "45366.520833333336"}, {"0.25", "1"}, {"59", "61"}, {"60", "73110"},
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

// Each sheet declares all 65536 x 256 cells of the format but holds one: the range reaches
// as far as declared, and costs only the cell it holds.
TEST_F(ExcelXlsWorkbookTest, HugeDeclaredSheetsCostOnlyTheirCells)
{
    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(FixturePath("declared_huge.xls"));
    const TRangeValue& range = workbook->Worksheets().Item(4).UsedRangeValue();
    EXPECT_EQ(range.RowCount(), 65536);
    EXPECT_EQ(range.ColumnCount(), 256);
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("a"));
    EXPECT_EQ(range.RowsWithValues(), std::vector<int>{1});
}

TEST_F(ExcelXlsWorkbookTest, FarDatesKeepTheirNumbers)
{
    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(FixturePath("far_dates.xls"));
    const TRangeValue& range = workbook->Worksheets().Item(1).UsedRangeValue();
    ASSERT_EQ(range.RowCount(), 1000);
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("2958465"));
    EXPECT_EQ(range.Cell(1000, 1).ToText(), QStringLiteral("2958465"));
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
    // A directory entry whose name is longer than an entry; it could lead a reader past the entry.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        content[content.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)) + 0x41] = '\x4B';
    }).endsWith(QStringLiteral("the OLE2 container is damaged (a directory entry has a name of 19218 bytes)")));
    // An entry named "Workbook" that is a storage holds no stream.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        content[content.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)) + 0x42] = '\x01';
    }).endsWith(QStringLiteral("the OLE2 file holds no workbook stream")));
    // A mini stream larger than the file is refused before memory is set aside for it.
    EXPECT_TRUE(DamagedCopyError([](QByteArray& content) {
        qToLittleEndian<quint32>(1, content.data() + 0x40); // a mini FAT: the workbook stream lies in the mini stream
        const qsizetype rootEntry = content.indexOf(QByteArray("R\0o\0o\0t\0 \0E\0n\0t\0r\0y\0", 20));
        qToLittleEndian<quint32>(0xFFFF0000, content.data() + rootEntry + 0x78);
    }).endsWith(QStringLiteral("the OLE2 container is damaged (the mini stream claims 4294901760 bytes, more than the file holds)")));
    // A record length that runs the record walk out of step.
    const QString outOfStep = DamagedCopyError([](QByteArray& content) {
        const QByteArray bottomMargin("\x29\x00\x08\x00", 4);
        content[content.indexOf(bottomMargin) + 2] = '\xA9';
    });
    EXPECT_TRUE(outOfStep.contains(QStringLiteral(": worksheet \"Values\": record 0x"))) << outOfStep.toStdString();
}

} // namespace
