#include "excel/Workbook.h"
#include "support/Exception.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace {

// A workbook as a spreadsheet writer produces it: shared strings, number formats, a rich
// string, formulas with results, and a chart sheet among the worksheets.
void WriteOfficeWorkbook(const QString& path)
{
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format(date, "yyyy-mm-dd");
    lxw_format* dateTime = workbook_add_format(workbook);
    format_set_num_format(dateTime, "yyyy-mm-dd hh:mm");
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);

    lxw_worksheet* values = workbook_add_worksheet(workbook, "Abstract");
    worksheet_write_string(values, 0, 0, "Text", nullptr);
    worksheet_write_string(values, 0, 1, "Grüße €", nullptr);
    worksheet_write_number(values, 1, 0, 42, nullptr);
    worksheet_write_number(values, 1, 1, -7, nullptr);
    worksheet_write_number(values, 2, 0, 1.5, nullptr);
    worksheet_write_number(values, 2, 1, 0.1, nullptr);
    worksheet_write_number(values, 3, 0, 1e15, nullptr);
    worksheet_write_number(values, 3, 1, 123456789012, nullptr);
    worksheet_write_boolean(values, 4, 0, 1, nullptr);
    worksheet_write_boolean(values, 4, 1, 0, nullptr);
    lxw_datetime day = {2024, 3, 15, 0, 0, 0};
    lxw_datetime dayAndTime = {2024, 3, 15, 12, 30, 0};
    worksheet_write_datetime(values, 5, 0, &day, date);
    worksheet_write_datetime(values, 5, 1, &dayAndTime, dateTime);
    lxw_rich_string_tuple boldPart = {bold, const_cast<char*>("rich ")};
    lxw_rich_string_tuple plainPart = {nullptr, const_cast<char*>("text")};
    lxw_rich_string_tuple* rich[] = {&boldPart, &plainPart, nullptr};
    worksheet_write_rich_string(values, 6, 0, rich, nullptr);
    worksheet_write_formula_str(values, 6, 1, "=\"A\"&\"B\"", nullptr, "AB");
    worksheet_write_formula_num(values, 7, 0, "=1+1", nullptr, 2);

    lxw_chartsheet* chartSheet = workbook_add_chartsheet(workbook, "Chart");
    lxw_chart* chart = workbook_add_chart(workbook, LXW_CHART_COLUMN);
    chart_add_series(chart, nullptr, "=Abstract!$A$2:$A$4");
    chartsheet_set_chart(chartSheet, chart);

    lxw_worksheet* offset = workbook_add_worksheet(workbook, "Electricity (AC)");
    worksheet_write_string(offset, 2, 2, "top-left", nullptr);
    worksheet_write_blank(offset, 3, 3, bold);
    worksheet_write_string(offset, 5, 4, "bottom-right", nullptr);

    workbook_add_worksheet(workbook, "Empty");
    worksheet_write_string(workbook_add_worksheet(workbook, "One"), 1, 1, "only", nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
}

class ExcelXlsxWorkbookTest : public testing::Test
{
protected:
    QString Path(const char* name) const { return FDir.filePath(QString::fromUtf8(name)); }

    // Opens a package holding the one worksheet "S".
    std::unique_ptr<TWorkbook> OpenSheet(const std::string& sheetXml, const std::string& sharedStrings = {})
    {
        WriteZip(Path("sheet.xlsx"), XlsxEntries({{"S", sheetXml}}, sharedStrings));
        return OpenWorkbook(Path("sheet.xlsx"));
    }

    QTemporaryDir FDir;
};

TEST_F(ExcelXlsxWorkbookTest, ListsTheWorksheetsInOrderWithoutChartSheets)
{
    WriteOfficeWorkbook(Path("office.xlsx"));
    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(Path("office.xlsx"));
    TWorkSheets& sheets = workbook->Worksheets();
    ASSERT_EQ(sheets.Count(), 4);
    EXPECT_EQ(sheets.Item(1).Name(), QStringLiteral("Abstract"));
    EXPECT_EQ(sheets.Item(2).Name(), QStringLiteral("Electricity (AC)"));
    EXPECT_EQ(sheets.Item(3).Name(), QStringLiteral("Empty"));
    EXPECT_EQ(sheets.Item(4).Name(), QStringLiteral("One"));
    EXPECT_THROW(sheets.Item(0), Exception);
    EXPECT_THROW(sheets.Item(5), Exception);
}

TEST_F(ExcelXlsxWorkbookTest, ReadsTheValuesOfAnOfficeWorkbook)
{
    WriteOfficeWorkbook(Path("office.xlsx"));
    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(Path("office.xlsx"));
    const TRangeValue& range = workbook->Worksheets().Item(1).UsedRangeValue();
    ASSERT_EQ(range.RowCount(), 8);
    ASSERT_EQ(range.ColumnCount(), 2);
    const char* expected[8][2] = {{"Text", "Grüße €"}, {"42", "-7"}, {"1.5", "0.1"}, {"1000000000000000", "123456789012"},
        {"TRUE", "FALSE"}, {"45366", "45366.52083333334"}, {"rich text", "AB"}, {"2", ""}}; // the writer keeps 16 digits
    for (int row = 1; row <= 8; ++row) {
        for (int column = 1; column <= 2; ++column)
            EXPECT_EQ(range.Cell(row, column).ToText(), QString::fromUtf8(expected[row - 1][column - 1])) << row << "," << column;
    }
}

TEST_F(ExcelXlsxWorkbookTest, UsedRangeStartsAtItsFirstCell)
{
    WriteOfficeWorkbook(Path("office.xlsx"));
    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(Path("office.xlsx"));
    const TRangeValue& range = workbook->Worksheets().Item(2).UsedRangeValue(); // C3:E6
    EXPECT_EQ(range.RowCount(), 4);
    EXPECT_EQ(range.ColumnCount(), 3);
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("top-left"));
    EXPECT_TRUE(range.Cell(2, 2).IsEmpty()); // formatted, but blank
    EXPECT_EQ(range.Cell(4, 3).ToText(), QStringLiteral("bottom-right"));
}

TEST_F(ExcelXlsxWorkbookTest, EmptyAndOneCellSheetsAreSingleValues)
{
    WriteOfficeWorkbook(Path("office.xlsx"));
    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(Path("office.xlsx"));
    const TRangeValue& empty = workbook->Worksheets().Item(3).UsedRangeValue();
    EXPECT_FALSE(empty.IsArray());
    EXPECT_TRUE(empty.Cell(1, 1).IsEmpty());
    const TRangeValue& one = workbook->Worksheets().Item(4).UsedRangeValue();
    EXPECT_FALSE(one.IsArray());
    EXPECT_EQ(one.Cell(1, 1).ToText(), QStringLiteral("only"));
}

TEST_F(ExcelXlsxWorkbookTest, ReadsInlineStringsOfAStreamingWriter)
{
    lxw_workbook_options options = {LXW_TRUE, nullptr, LXW_FALSE}; // constant memory: inline strings
    lxw_workbook* workbook = workbook_new_opt(QFile::encodeName(Path("inline.xlsx")).constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Gas");
    worksheet_write_string(sheet, 0, 0, "first", nullptr);
    worksheet_write_number(sheet, 0, 1, 7, nullptr);
    worksheet_write_string(sheet, 1, 1, "a < b & c", nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    const std::unique_ptr<TWorkbook> opened = OpenWorkbook(Path("inline.xlsx"));
    const TRangeValue& range = opened->Worksheets().Item(1).UsedRangeValue();
    EXPECT_EQ(range.Cell(1, 1).ToText(), QStringLiteral("first"));
    EXPECT_EQ(range.Cell(1, 2).ToText(), QStringLiteral("7"));
    EXPECT_EQ(range.Cell(2, 2).ToText(), QStringLiteral("a < b & c"));
}

// ---- sheets written by hand ----

struct TCellText
{
    int Row;
    int Column;
    const char* Text;
};

struct TSheetCase
{
    const char* Name;
    std::string SheetXml;
    std::string SharedStrings;
    int RowCount;
    int ColumnCount;
    std::vector<TCellText> Cells; // every cell with a value
};

void PrintTo(const TSheetCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ExcelXlsxSheetTest : public ExcelXlsxWorkbookTest, public testing::WithParamInterface<TSheetCase> {};

TEST_P(ExcelXlsxSheetTest, ReadsTheSheet)
{
    const TSheetCase& c = GetParam();
    const std::unique_ptr<TWorkbook> workbook = OpenSheet(c.SheetXml, c.SharedStrings);
    const TRangeValue& range = workbook->Worksheets().Item(1).UsedRangeValue();
    EXPECT_EQ(range.RowCount(), c.RowCount);
    EXPECT_EQ(range.ColumnCount(), c.ColumnCount);
    std::vector<int> rows;
    for (const TCellText& cell : c.Cells) {
        EXPECT_EQ(range.Cell(cell.Row, cell.Column).ToText(), QString::fromUtf8(cell.Text)) << cell.Row << "," << cell.Column;
        if (rows.empty() || rows.back() != cell.Row)
            rows.push_back(cell.Row);
    }
    EXPECT_EQ(range.RowsWithValues(), rows) << "cells that should be empty hold values";
}

const std::string TenCellsWithoutReferences = [] {
    std::string cells;
    for (int i = 1; i <= 10; ++i)
        cells += "<c><v>" + std::to_string(i) + "</v></c>";
    return "<row>" + cells + "</row>";
}();

INSTANTIATE_TEST_SUITE_P(Sheets, ExcelXlsxSheetTest,
    testing::Values(
        TSheetCase{"InlineStringsAndRichTextRuns",
            WorksheetXml(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>plain</t></is></c>)"
                         R"(<c r="B1" t="inlineStr"><is><r><rPr><b/></rPr><t>rich </t></r><r><t>text</t></r>)"
                         R"(<rPh sb="0" eb="1"><t>phonetic</t></rPh></is></c></row>)"),
            "", 1, 2, {{1, 1, "plain"}, {1, 2, "rich text"}}},
        TSheetCase{"SharedStringsOfEveryShape",
            WorksheetXml(R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c>)"
                         R"(<c r="D1" t="s"><v>3</v></c><c r="E1" t="s"><v>4</v></c><c r="F1" t="s"><v>5</v></c></row>)"),
            SharedStringsXml(R"(<si><t>plain</t></si>)"
                             R"(<si><r><t>a</t></r><r><rPr><i/></rPr><t xml:space="preserve"> b</t></r><rPh><t>x</t></rPh></si>)"
                             R"(<si><t>line_x000D_end _x005F_x0041_</t></si>)"
                             R"(<si><t xml:space="preserve"> </t></si>)"
                             R"(<si><t>&lt;&amp;&gt; &#x20AC;</t></si>)"
                             R"(<si><t/></si>)"),
            1, 6, {{1, 1, "plain"}, {1, 2, "a b"}, {1, 3, "line\rend _x0041_"}, {1, 4, " "}, {1, 5, "<&> €"}, {1, 6, ""}}},
        TSheetCase{"EveryCellType",
            WorksheetXml(R"(<row r="1"><c r="A1"><v>1.5</v></c><c r="B1" t="n"><v>-0</v></c><c r="C1" t="b"><v>1</v></c>)"
                         R"(<c r="D1" t="e"><v>#N/A</v></c><c r="E1" t="str"><f>"A"&amp;"B"</f><v>AB</v></c>)"
                         R"(<c r="F1" t="d"><v>2024-03-15T12:30:00</v></c><c r="G1" s="1"/><c r="H1" t="n"><f>1+1</f></c></row>)"),
            "", 1, 6, {{1, 1, "1.5"}, {1, 2, "0"}, {1, 3, "TRUE"}, {1, 4, "#N/A"}, {1, 5, "AB"}, {1, 6, "2024-03-15T12:30:00"}}},
        TSheetCase{"RowsAndCellsWithoutReferencesFollowTheirPredecessor",
            WorksheetXml(R"(<row><c><v>1</v></c><c><v>2</v></c></row><row><c r="C2"><v>3</v></c><c><v>4</v></c></row>)"
                         R"(<row r="5"><c><v>5</v></c></row><row><c><v>6</v></c></row>)"),
            "", 6, 4, {{1, 1, "1"}, {1, 2, "2"}, {2, 3, "3"}, {2, 4, "4"}, {5, 1, "5"}, {6, 1, "6"}}},
        TSheetCase{"RowsAndCellsOutOfOrder",
            WorksheetXml(R"(<row r="2"><c r="B2"><v>4</v></c><c r="A2"><v>3</v></c></row><row r="1"><c r="A1"><v>1</v></c></row>)"),
            "", 2, 2, {{1, 1, "1"}, {2, 1, "3"}, {2, 2, "4"}}},
        TSheetCase{"DimensionClaimingTheWholeSheet",
            WorksheetXml(TenCellsWithoutReferences, "A1:XFD1048576"), "", 1'048'576, 16'384,
            {{1, 1, "1"}, {1, 2, "2"}, {1, 3, "3"}, {1, 4, "4"}, {1, 5, "5"}, {1, 6, "6"}, {1, 7, "7"}, {1, 8, "8"}, {1, 9, "9"},
                {1, 10, "10"}}},
        TSheetCase{"DimensionAroundTheCells",
            WorksheetXml(R"(<row r="4"><c r="D4"><v>1</v></c></row>)", "C3:E6"), "", 4, 3, {{2, 2, "1"}}},
        TSheetCase{"DimensionThatMissesCellsGivesWayToTheirBounds",
            WorksheetXml(R"(<row r="2"><c r="B2"><v>1</v></c></row><row r="3"><c r="C3"><v>2</v></c></row>)", "A1:B2"), "", 2, 2,
            {{1, 1, "1"}, {2, 2, "2"}}},
        TSheetCase{"DimensionThatDoesNotParseGivesWayToTheBounds",
            WorksheetXml(R"(<row r="3"><c r="C3"><v>1</v></c><c r="D3"><v>2</v></c></row>)", "C3:XFE9"), "", 1, 2,
            {{1, 1, "1"}, {1, 2, "2"}}},
        TSheetCase{"SheetWithoutValuesIsOneEmptyCell",
            WorksheetXml(R"(<row r="2"><c r="B2" s="1"/></row>)", "A1:C5"), "", 1, 1, {}},
        TSheetCase{"NamespacePrefixesAndCdata",
            R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData>)"
            R"(<x:row r="1"><x:c r="A1" t="inlineStr"><x:is><x:t><![CDATA[<tag>]]> &amp; more</x:t></x:is></x:c></x:row>)"
            R"(</x:sheetData></x:worksheet>)",
            "", 1, 1, {{1, 1, "<tag> & more"}}}),
    [](const testing::TestParamInfo<TSheetCase>& testCase) { return std::string(testCase.param.Name); });

// A sheet too large for one parse is read piece by piece; cells without references must
// continue across the cuts.
TEST_F(ExcelXlsxWorkbookTest, LargeSheetReadsAcrossParsePieces)
{
    constexpr int rows = 30'000;
    std::string sheetData;
    for (int row = 1; row <= rows; ++row)
        sheetData += "<row><c><v>" + std::to_string(row) + "</v></c><c t=\"inlineStr\"><is><t>r" + std::to_string(row) + "</t></is></c></row>";
    const std::unique_ptr<TWorkbook> workbook = OpenSheet(WorksheetXml(sheetData));
    const TRangeValue& range = workbook->Worksheets().Item(1).UsedRangeValue();
    ASSERT_EQ(range.RowCount(), rows);
    ASSERT_EQ(range.ColumnCount(), 2);
    ASSERT_EQ(range.RowsWithValues().size(), static_cast<size_t>(rows));
    for (int row = 1; row <= rows; row += 997) {
        EXPECT_EQ(range.Cell(row, 1).ToText(), QString::number(row));
        EXPECT_EQ(range.Cell(row, 2).ToText(), QStringLiteral("r%1").arg(row));
    }
    EXPECT_EQ(range.Cell(rows, 2).ToText(), QStringLiteral("r%1").arg(rows));
}

TEST_F(ExcelXlsxWorkbookTest, ReadsPartsStoredAsUtf16)
{
    const QString sheet = QString::fromStdString(WorksheetXml(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>Wärme</t></is></c></row>)"))
                              .replace(QStringLiteral("UTF-8"), QStringLiteral("UTF-16"));
    std::string utf16("\xFF\xFE", 2);
    utf16.append(reinterpret_cast<const char*>(sheet.utf16()), static_cast<size_t>(sheet.size()) * 2);
    const std::unique_ptr<TWorkbook> workbook = OpenSheet(utf16);
    EXPECT_EQ(workbook->Worksheets().Item(1).UsedRangeValue().Cell(1, 1).ToText(), QStringLiteral("Wärme"));
}

TEST_F(ExcelXlsxWorkbookTest, ResolvesAbsoluteAndRelativeTargets)
{
    TZipEntries entries = XlsxEntries({{"A", WorksheetXml(R"(<row r="1"><c r="A1"><v>1</v></c></row>)")},
        {"B", WorksheetXml(R"(<row r="1"><c r="A1"><v>2</v></c></row>)")}});
    for (auto& [name, content] : entries) {
        if (name == "xl/_rels/workbook.xml.rels") {
            content.replace(content.find("worksheets/sheet1.xml"), 21, "/xl/worksheets/sheet1.xml");
            content.replace(content.find("worksheets/sheet2.xml"), 21, "./../xl/worksheets/sheet2.xml");
        }
    }
    WriteZip(Path("targets.xlsx"), entries);
    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(Path("targets.xlsx"));
    EXPECT_EQ(workbook->Worksheets().Item(1).UsedRangeValue().Cell(1, 1).ToText(), QStringLiteral("1"));
    EXPECT_EQ(workbook->Worksheets().Item(2).UsedRangeValue().Cell(1, 1).ToText(), QStringLiteral("2"));
}

// ---- sheets that cannot be read ----

struct TSheetErrorCase
{
    const char* Name;
    std::string SheetXml;
    const char* Problem; // what the message says after the part name
};

void PrintTo(const TSheetErrorCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ExcelXlsxSheetErrorTest : public ExcelXlsxWorkbookTest, public testing::WithParamInterface<TSheetErrorCase> {};

TEST_P(ExcelXlsxSheetErrorTest, FailsNamingFileSheetPartAndProblem)
{
    const TSheetErrorCase& c = GetParam();
    const std::unique_ptr<TWorkbook> workbook = OpenSheet(c.SheetXml, SharedStringsXml("<si><t>only</t></si>"));
    try {
        workbook->Worksheets().Item(1).UsedRangeValue();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        const QString prefix = QStringLiteral("Cannot read workbook \"%1\": worksheet \"S\": xl/worksheets/sheet1.xml: ").arg(Path("sheet.xlsx"));
        EXPECT_TRUE(e.Message().startsWith(prefix)) << e.what();
        EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.Problem))) << e.what();
    }
}

std::string Repeated(const std::string& text, int count)
{
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

INSTANTIATE_TEST_SUITE_P(Sheets, ExcelXlsxSheetErrorTest,
    testing::Values(
        TSheetErrorCase{"Doctype",
            R"(<?xml version="1.0"?><!DOCTYPE worksheet [<!ENTITY boom "boom">]><worksheet><sheetData/></worksheet>)",
            "a DOCTYPE declaration is not allowed"},
        TSheetErrorCase{"DeepNesting", WorksheetXml("<row>" + Repeated("<a>", 200) + Repeated("</a>", 200) + "</row>"), "the elements nest deeper than 128 levels"},
        TSheetErrorCase{"MalformedXml", WorksheetXml(R"(<row r="1"><c r="A1"><v>1</c></v></row>)"), "XML error at byte"},
        TSheetErrorCase{"UnclosedRoot", R"(<worksheet><sheetData></sheetData>)", "the XML ends before all its elements are closed"},
        TSheetErrorCase{"WrongRoot", R"(<workbook/>)", "the root element is <workbook>, not <worksheet>"},
        TSheetErrorCase{"RowZero", WorksheetXml(R"(<row r="0"/>)"), "invalid row number \"0\""},
        TSheetErrorCase{"RowBeyondTheSheet", WorksheetXml(R"(<row r="1048577"/>)"), "invalid row number \"1048577\""},
        TSheetErrorCase{"CellReferenceWithoutRow", WorksheetXml(R"(<row><c r="A"><v>1</v></c></row>)"), "invalid cell reference \"A\""},
        TSheetErrorCase{"ColumnBeyondTheSheet", WorksheetXml(R"(<row><c r="XFE1"><v>1</v></c></row>)"), "invalid cell reference \"XFE1\""},
        TSheetErrorCase{"TooManyCellsInARow", WorksheetXml("<row>" + Repeated("<c><v>1</v></c>", 16'385) + "</row>"), "row 1 has more than 16384 cells"},
        TSheetErrorCase{"MissingSharedString", WorksheetXml(R"(<row><c r="B2" t="s"><v>1</v></c></row>)"), "cell B2: there is no shared string 1"},
        TSheetErrorCase{"NotANumber", WorksheetXml(R"(<row><c r="C1"><v>12abc</v></c></row>)"), "cell C1: \"12abc\" is not a number"},
        TSheetErrorCase{"InfiniteNumber", WorksheetXml(R"(<row><c r="C1"><v>inf</v></c></row>)"), "cell C1: \"inf\" is not a number"},
        TSheetErrorCase{"NotABoolean", WorksheetXml(R"(<row><c r="A1" t="b"><v>2</v></c></row>)"), "cell A1: \"2\" is not a boolean"},
        TSheetErrorCase{"UnknownType", WorksheetXml(R"(<row><c r="A1" t="x"><v>1</v></c></row>)"), "cell A1: unknown cell type \"x\""}),
    [](const testing::TestParamInfo<TSheetErrorCase>& testCase) { return std::string(testCase.param.Name); });

} // namespace
