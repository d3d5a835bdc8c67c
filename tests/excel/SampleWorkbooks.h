#pragma once

#include <QString>

#include <string>
#include <variant>
#include <vector>

// Workbooks described once and written in either file format, so that the reader tests can
// state what both readers must give for the same content.

struct TSampleError
{
    std::string Text; // "#N/A", "#DIV/0!", ...
};
struct TSampleBlank {}; // a formatted cell without a value

struct TSampleCell
{
    int Row; // from 1, on the sheet
    int Column;
    std::variant<double, std::string, bool, TSampleError, TSampleBlank> Value; // std::string: UTF-8 text
};

struct TSampleSheet
{
    enum TKind { Worksheet, Chart, Damaged };
    std::string Name; // UTF-8, of Latin-1 characters only
    std::vector<TSampleCell> Cells;
    TKind Kind = Worksheet; // a damaged worksheet cannot be read, whatever its cells
};

using TSampleWorkbook = std::vector<TSampleSheet>;

// The .xlsx package of the workbook: cell texts in the shared string table, the dimension
// from the first to the last cell.
struct TXlsxSample
{
    static constexpr const char* Extension = ".xlsx";
    static void Write(const QString& path, const TSampleWorkbook& workbook);
};

// The .xls file (BIFF 8) of the workbook: cell texts in the shared string table, the
// dimensions from the first to the last cell.
struct TXlsSample
{
    static constexpr const char* Extension = ".xls";
    static void Write(const QString& path, const TSampleWorkbook& workbook);
};
