#include "excel/Workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct TextCase
{
    TCell Cell;
    std::string Expected;
};

class ExcelCellTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(ExcelCellTextTest, ConvertsToText)
{
    EXPECT_EQ(GetParam().Cell.ToText(), QString::fromStdString(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(Values, ExcelCellTextTest,
    testing::Values(TextCase{TCell(), ""}, TextCase{TCell::Number(42), "42"}, TextCase{TCell::Number(-7), "-7"},
        TextCase{TCell::Number(0), "0"}, TextCase{TCell::Number(-0.0), "0"},
        TextCase{TCell::Number(1e15), "1000000000000000"}, TextCase{TCell::Number(123456789012), "123456789012"},
        TextCase{TCell::Number(9007199254740993.0), "9007199254740992"}, // 2^53 + 1 is not a double
        TextCase{TCell::Number(1e20), "100000000000000000000"}, TextCase{TCell::Number(-1e20), "-100000000000000000000"},
        TextCase{TCell::Number(std::ldexp(1.0, 70)), "1180591620717411300000"}, // shortest digits, no exponent
        TextCase{TCell::Number(-1e300), "-1" + std::string(300, '0')},
        TextCase{TCell::Number(std::ldexp(1.0, 53) + 2), "9007199254740994"},
        TextCase{TCell::Number(1.5), "1.5"}, TextCase{TCell::Number(0.1), "0.1"}, TextCase{TCell::Number(-2.25), "-2.25"},
        TextCase{TCell::Number(1.0 / 3), "0.3333333333333333"}, TextCase{TCell::Number(45366.520833333336), "45366.520833333336"},
        TextCase{TCell::Number(1e-7), "1e-07"}, TextCase{TCell::Text(QStringLiteral("Grüße €")), "Grüße €"},
        TextCase{TCell::Text(QStringLiteral(" ")), " "}, TextCase{TCell::Boolean(true), "TRUE"},
        TextCase{TCell::Boolean(false), "FALSE"}, TextCase{TCell::Error(QStringLiteral("#N/A")), "#N/A"}));

TEST(ExcelCellTest, OnlyTheDefaultCellIsEmpty)
{
    EXPECT_TRUE(TCell().IsEmpty());
    EXPECT_FALSE(TCell::Text(QString()).IsEmpty());
    EXPECT_FALSE(TCell::Number(0).IsEmpty());
    EXPECT_FALSE(TCell::Boolean(false).IsEmpty());
}

TEST(ExcelRangeValueTest, SingleCellIsNoArray)
{
    EXPECT_FALSE(TRangeValue(1, 1).IsArray());
    EXPECT_TRUE(TRangeValue(1, 2).IsArray());
    EXPECT_TRUE(TRangeValue(2, 1).IsArray());
}

TEST(ExcelRangeValueTest, HugeMostlyEmptyRangeStaysSparse)
{
    TRangeValue range(1'048'576, 16'384);
    range.SetCell(1'048'576, 16'384, TCell::Text(QStringLiteral("corner")));
    range.SetCell(1, 1, TCell::Number(1));
    EXPECT_TRUE(range.IsArray());
    EXPECT_EQ(range.Cell(1'048'576, 16'384).ToText(), QStringLiteral("corner"));
    EXPECT_TRUE(range.Cell(500'000, 8'000).IsEmpty());
    EXPECT_EQ(range.RowsWithValues(), (std::vector<int>{1, 1'048'576}));
}

TEST(ExcelRangeValueTest, CellsOutsideTheRangeAreEmpty)
{
    TRangeValue range(2, 2);
    range.SetCell(2, 2, TCell::Number(4));
    EXPECT_TRUE(range.Cell(0, 1).IsEmpty());
    EXPECT_TRUE(range.Cell(3, 2).IsEmpty());
    EXPECT_TRUE(range.Cell(2, 3).IsEmpty());
    EXPECT_TRUE(range.Cell(-1, -1).IsEmpty());
}

TEST(ExcelRangeValueTest, CellsStoredOutOfOrderAreFoundAndTheLastStoreWins)
{
    TRangeValue range(3, 3);
    range.SetCell(3, 1, TCell::Text(QStringLiteral("c")));
    range.SetCell(1, 2, TCell::Text(QStringLiteral("first")));
    range.SetCell(2, 3, TCell::Text(QStringLiteral("b")));
    range.SetCell(1, 2, TCell::Text(QStringLiteral("second")));
    EXPECT_EQ(range.Cell(1, 2).ToText(), QStringLiteral("second"));
    EXPECT_EQ(range.Cell(2, 3).ToText(), QStringLiteral("b"));
    EXPECT_EQ(range.Cell(3, 1).ToText(), QStringLiteral("c"));
    EXPECT_EQ(range.RowsWithValues(), (std::vector<int>{1, 2, 3}));
    range.SetCell(1, 2, TCell::Text(QStringLiteral("third"))); // after the first read
    EXPECT_EQ(range.Cell(1, 2).ToText(), QStringLiteral("third"));
}

TEST(ExcelRangeValueTest, CropMovesTheOriginAndDropsCellsOutside)
{
    TRangeValue range(10, 10);
    range.SetCell(1, 1, TCell::Text(QStringLiteral("outside")));
    range.SetCell(3, 3, TCell::Text(QStringLiteral("top left")));
    range.SetCell(6, 5, TCell::Text(QStringLiteral("bottom right")));
    range.SetCell(6, 6, TCell::Text(QStringLiteral("outside too")));
    range.Crop(3, 3, 4, 3);
    EXPECT_EQ(range.RowCount(), 4);
    EXPECT_EQ(range.ColumnCount(), 3);
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("top left"));
    EXPECT_EQ(range.Cell(4, 3).ToText(), QStringLiteral("bottom right"));
    EXPECT_EQ(range.RowsWithValues(), (std::vector<int>{1, 4}));
}

} // namespace
