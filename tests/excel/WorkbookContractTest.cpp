#include "excel/Workbook.h"
#include "support/Exception.h"
#include "SampleWorkbooks.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// What every workbook reader gives for the same content, whichever file format holds it.

namespace {

template<class TFormat>
class ExcelWorkbookContractTest : public testing::Test
{
protected:
    QString Path() const { return FDir.filePath(QStringLiteral("sample") + QString::fromLatin1(TFormat::Extension)); }

    std::unique_ptr<TWorkbook> Open(const TSampleWorkbook& workbook)
    {
        TFormat::Write(Path(), workbook);
        return OpenWorkbook(Path());
    }

    QTemporaryDir FDir;
};

using TFormats = testing::Types<TXlsxSample, TXlsSample>;

class TFormatNames
{
public:
    template<class TFormat>
    static std::string GetName(int)
    {
        return std::string(TFormat::Extension + 1);
    }
};

TYPED_TEST_SUITE(ExcelWorkbookContractTest, TFormats, TFormatNames);

TYPED_TEST(ExcelWorkbookContractTest, ListsTheWorksheetsInOrderWithoutChartSheets)
{
    const std::unique_ptr<TWorkbook> workbook = this->Open({{"Abstract", {{1, 1, 1.0}}}, {"Chart", {}, TSampleSheet::Chart},
        {"Electricity (AC)", {}}, {"W\xc3\xa4rme", {}}});
    TWorkSheets& sheets = workbook->Worksheets();
    ASSERT_EQ(sheets.Count(), 3);
    EXPECT_EQ(sheets.Item(1).Name(), QStringLiteral("Abstract"));
    EXPECT_EQ(sheets.Item(2).Name(), QStringLiteral("Electricity (AC)"));
    EXPECT_EQ(sheets.Item(3).Name(), QStringLiteral("Wärme"));
    EXPECT_THROW(sheets.Item(0), Exception);
    EXPECT_THROW(sheets.Item(4), Exception);
}

// Each kind of value in a row of its own; the text is what the import sees.
TYPED_TEST(ExcelWorkbookContractTest, EveryKindOfValueReadsAsTheSameText)
{
    const struct
    {
        decltype(TSampleCell::Value) Value;
        const char* Text;
    } cases[] = {
        {42.0, "42"}, {-7.0, "-7"}, {1.5, "1.5"}, {0.1, "0.1"}, {-0.0, "0"}, {1e15, "1000000000000000"},
        {123456789012.0, "123456789012"}, {1e20, "100000000000000000000"}, {45366.520833333336, "45366.520833333336"}, // a date and time
        {std::string("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac"), "Grüße €"}, {std::string("1.8.0 <&>"), "1.8.0 <&>"},
        {true, "TRUE"}, {false, "FALSE"},
        {TSampleError{"#NULL!"}, "#NULL!"}, {TSampleError{"#DIV/0!"}, "#DIV/0!"}, {TSampleError{"#VALUE!"}, "#VALUE!"},
        {TSampleError{"#REF!"}, "#REF!"}, {TSampleError{"#NAME?"}, "#NAME?"}, {TSampleError{"#NUM!"}, "#NUM!"},
        {TSampleError{"#N/A"}, "#N/A"}, {TSampleBlank{}, ""},
    };
    TSampleSheet sheet{"Values", {}};
    int row = 0;
    for (const auto& c : cases)
        sheet.Cells.push_back(TSampleCell{++row, 2, c.Value});
    sheet.Cells.push_back(TSampleCell{row, 1, std::string("last")}); // keeps the blank cell inside the range

    const std::unique_ptr<TWorkbook> workbook = this->Open({sheet});
    const TRangeValue& range = workbook->Worksheets().Item(1).UsedRangeValue();
    ASSERT_EQ(range.RowCount(), row);
    ASSERT_EQ(range.ColumnCount(), 2);
    row = 0;
    for (const auto& c : cases) {
        ++row;
        EXPECT_EQ(range.Cell(row, 2).ToText(), QString::fromUtf8(c.Text)) << "row " << row;
    }
    EXPECT_TRUE(range.Cell(row, 2).IsEmpty());
}

TYPED_TEST(ExcelWorkbookContractTest, UsedRangeStartsAtItsFirstCell)
{
    const std::unique_ptr<TWorkbook> workbook =
        this->Open({{"Offset", {{3, 3, std::string("top-left")}, {4, 4, TSampleBlank{}}, {6, 5, std::string("bottom-right")}}}});
    const TRangeValue& range = workbook->Worksheets().Item(1).UsedRangeValue(); // C3:E6
    EXPECT_EQ(range.RowCount(), 4);
    EXPECT_EQ(range.ColumnCount(), 3);
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("top-left"));
    EXPECT_TRUE(range.Cell(2, 2).IsEmpty());
    EXPECT_EQ(range.Cell(4, 3).ToText(), QStringLiteral("bottom-right"));
    EXPECT_EQ(range.RowsWithValues(), (std::vector<int>{1, 4}));
}

TYPED_TEST(ExcelWorkbookContractTest, EmptyAndOneCellSheetsAreSingleValues)
{
    const std::unique_ptr<TWorkbook> workbook = this->Open({{"Empty", {}}, {"One", {{2, 2, std::string("only")}}}});
    const TRangeValue& empty = workbook->Worksheets().Item(1).UsedRangeValue();
    EXPECT_FALSE(empty.IsArray());
    EXPECT_TRUE(empty.Cell(1, 1).IsEmpty());
    const TRangeValue& one = workbook->Worksheets().Item(2).UsedRangeValue();
    EXPECT_FALSE(one.IsArray());
    EXPECT_EQ(one.Cell(1, 1).ToText(), QStringLiteral("only"));
}

// A worksheet's cells are read once; a damaged worksheet fails, naming the file and the
// worksheet, each time it is asked for, and does not keep the other worksheets from being read.
TYPED_TEST(ExcelWorkbookContractTest, ValuesAreKeptAndADamagedSheetFailsAlone)
{
    const std::unique_ptr<TWorkbook> workbook =
        this->Open({{"Good", {{1, 1, 7.0}}}, {"Bad", {{1, 1, 1.0}}, TSampleSheet::Damaged}, {"After", {{1, 1, 8.0}}}});
    TWorkSheets& sheets = workbook->Worksheets();
    EXPECT_EQ(&sheets.Item(1).UsedRangeValue(), &sheets.Item(1).UsedRangeValue());
    const QString prefix = QStringLiteral("Cannot read workbook \"%1\": worksheet \"Bad\": ").arg(this->Path());
    for (int attempt = 1; attempt <= 2; ++attempt) {
        try {
            sheets.Item(2).UsedRangeValue();
            ADD_FAILURE() << "attempt " << attempt << ": no exception";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(prefix)) << e.what();
        }
    }
    EXPECT_EQ(sheets.Item(3).UsedRangeValue().Cell(1, 1).ToText(), QStringLiteral("8"));
    EXPECT_EQ(sheets.Item(1).UsedRangeValue().Cell(1, 1).ToText(), QStringLiteral("7"));
}

} // namespace
