#include "SampleWorkbooks.h"

#include "BiffFiles.h"
#include "TestFiles.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace {

// The texts of the workbook's cells, each once, numbered in the order first met.
std::map<std::string, int> SharedStrings(const TSampleWorkbook& workbook)
{
    std::map<std::string, int> strings;
    for (const TSampleSheet& sheet : workbook) {
        for (const TSampleCell& cell : sheet.Cells) {
            if (const auto* text = std::get_if<std::string>(&cell.Value))
                strings.emplace(*text, static_cast<int>(strings.size()));
        }
    }
    return strings;
}

std::vector<std::string> InIndexOrder(const std::map<std::string, int>& strings)
{
    std::vector<std::string> texts(strings.size());
    for (const auto& [text, index] : strings)
        texts[static_cast<size_t>(index)] = text;
    return texts;
}

struct TBounds
{
    int FirstRow = 0, LastRow = 0, FirstColumn = 0, LastColumn = 0; // 0: no cells
};

TBounds Bounds(const std::vector<TSampleCell>& cells)
{
    if (cells.empty())
        return {};
    TBounds bounds{cells[0].Row, cells[0].Row, cells[0].Column, cells[0].Column};
    for (const TSampleCell& cell : cells) {
        bounds.FirstRow = std::min(bounds.FirstRow, cell.Row);
        bounds.LastRow = std::max(bounds.LastRow, cell.Row);
        bounds.FirstColumn = std::min(bounds.FirstColumn, cell.Column);
        bounds.LastColumn = std::max(bounds.LastColumn, cell.Column);
    }
    return bounds;
}

std::vector<TSampleCell> RowByRow(std::vector<TSampleCell> cells)
{
    std::sort(cells.begin(), cells.end(), [](const TSampleCell& a, const TSampleCell& b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Column < b.Column;
    });
    return cells;
}

// ---- .xlsx ----

std::string ColumnLetters(int column)
{
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters;
}

std::string Reference(int row, int column)
{
    return ColumnLetters(column) + std::to_string(row);
}

std::string ShortestText(double value)
{
    char text[32];
    const std::to_chars_result result = std::to_chars(std::begin(text), std::end(text), value);
    return std::string(text, result.ptr);
}

std::string EscapedXml(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '&': escaped += "&amp;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string XlsxCell(const TSampleCell& cell, const std::map<std::string, int>& strings)
{
    const std::string head = R"(<c r=")" + Reference(cell.Row, cell.Column) + R"(")";
    if (const auto* number = std::get_if<double>(&cell.Value))
        return head + "><v>" + ShortestText(*number) + "</v></c>";
    if (const auto* text = std::get_if<std::string>(&cell.Value))
        return head + R"( t="s"><v>)" + std::to_string(strings.at(*text)) + "</v></c>";
    if (const auto* boolean = std::get_if<bool>(&cell.Value))
        return head + R"( t="b"><v>)" + (*boolean ? "1" : "0") + "</v></c>";
    if (const auto* error = std::get_if<TSampleError>(&cell.Value))
        return head + R"( t="e"><v>)" + EscapedXml(error->Text) + "</v></c>";
    return head + R"( s="1"/>)";
}

std::string XlsxSheet(const TSampleSheet& sheet, const std::map<std::string, int>& strings)
{
    if (sheet.Kind == TSampleSheet::Damaged)
        return WorksheetXml(R"(<row r="1"><c r="A1"><v>1</c></v></row>)");
    std::string rows;
    int row = 0;
    for (const TSampleCell& cell : RowByRow(sheet.Cells)) {
        if (cell.Row != row) {
            rows += (row ? "</row>" : "") + std::string(R"(<row r=")") + std::to_string(cell.Row) + R"(">)";
            row = cell.Row;
        }
        rows += XlsxCell(cell, strings);
    }
    if (row)
        rows += "</row>";
    const TBounds bounds = Bounds(sheet.Cells);
    return WorksheetXml(rows, bounds.FirstRow
            ? Reference(bounds.FirstRow, bounds.FirstColumn) + ":" + Reference(bounds.LastRow, bounds.LastColumn)
            : std::string());
}

// ---- .xls ----

// A BIFF 8 string stored 16 bits wide, with a 16-bit count.
TBody WideText(const std::string& utf8)
{
    const QString text = QString::fromStdString(utf8);
    TBody body;
    body.U16(static_cast<quint16>(text.size())).U8(1);
    for (const QChar c : text)
        body.U16(c.unicode());
    return body;
}

quint8 ErrorCode(const std::string& text)
{
    static const std::map<std::string, quint8> codes{{"#NULL!", 0x00}, {"#DIV/0!", 0x07}, {"#VALUE!", 0x0F},
        {"#REF!", 0x17}, {"#NAME?", 0x1D}, {"#NUM!", 0x24}, {"#N/A", 0x2A}};
    return codes.at(text);
}

QByteArray XlsCell(const TSampleCell& cell, const std::map<std::string, int>& strings)
{
    TBody body = TBody().U16(static_cast<quint16>(cell.Row - 1)).U16(static_cast<quint16>(cell.Column - 1)).U16(15);
    if (const auto* number = std::get_if<double>(&cell.Value))
        return Record(0x0203, body.Double(*number));
    if (const auto* text = std::get_if<std::string>(&cell.Value))
        return Record(0x00FD, body.U32(static_cast<quint32>(strings.at(*text))));
    if (const auto* boolean = std::get_if<bool>(&cell.Value))
        return Record(0x0205, body.U8(*boolean ? 1 : 0).U8(0));
    if (const auto* error = std::get_if<TSampleError>(&cell.Value))
        return Record(0x0205, body.U8(ErrorCode(error->Text)).U8(1));
    return Record(0x0201, body);
}

QByteArray XlsSheet(const TSampleSheet& sheet, const std::map<std::string, int>& strings)
{
    if (sheet.Kind == TSampleSheet::Damaged)
        return Record(0x0203, TBody().U16(0).U16(0).U16(15).U32(0)); // a number cell cut short
    const TBounds bounds = Bounds(sheet.Cells);
    // Zero-based first row and column, and one past the last.
    QByteArray records = Record(0x0200, TBody()
                                            .U32(static_cast<quint32>(std::max(0, bounds.FirstRow - 1)))
                                            .U32(static_cast<quint32>(bounds.LastRow))
                                            .U16(static_cast<quint16>(std::max(0, bounds.FirstColumn - 1)))
                                            .U16(static_cast<quint16>(bounds.LastColumn))
                                            .U16(0));
    for (const TSampleCell& cell : RowByRow(sheet.Cells))
        records += XlsCell(cell, strings);
    return records;
}

QByteArray XlsSharedStrings(const std::map<std::string, int>& strings)
{
    TBody body;
    body.U32(static_cast<quint32>(strings.size())).U32(static_cast<quint32>(strings.size()));
    for (const std::string& text : InIndexOrder(strings))
        body.Bytes(WideText(text).Bytes());
    return Record(0x00FC, body);
}

std::string SheetEntryName(const TSampleSheet& sheet)
{
    return sheet.Kind == TSampleSheet::Chart ? "chart:" + sheet.Name : sheet.Name;
}

} // namespace

void TXlsxSample::Write(const QString& path, const TSampleWorkbook& workbook)
{
    const std::map<std::string, int> strings = SharedStrings(workbook);
    std::vector<std::pair<std::string, std::string>> sheets;
    for (const TSampleSheet& sheet : workbook)
        sheets.emplace_back(SheetEntryName(sheet), sheet.Kind == TSampleSheet::Chart ? "<chartsheet/>" : XlsxSheet(sheet, strings));
    std::string items;
    for (const std::string& text : InIndexOrder(strings))
        items += "<si><t>" + EscapedXml(text) + "</t></si>";
    WriteZip(path, XlsxEntries(sheets, SharedStringsXml(items)));
}

void TXlsSample::Write(const QString& path, const TSampleWorkbook& workbook)
{
    const std::map<std::string, int> strings = SharedStrings(workbook);
    std::vector<std::pair<QByteArray, QByteArray>> sheets;
    for (const TSampleSheet& sheet : workbook)
        sheets.emplace_back(QString::fromStdString(SheetEntryName(sheet)).toLatin1(),
            sheet.Kind == TSampleSheet::Chart ? QByteArray() : XlsSheet(sheet, strings));
    WriteFileBytes(path, CompoundFile(WorkbookStream(XlsSharedStrings(strings), sheets)));
}
