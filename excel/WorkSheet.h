#pragma once

#include <QString>

#include <variant>
#include <vector>

// The operations the workbook import is written against: a worksheet collection with a
// count, worksheets by 1-based index with a name, and a worksheet's used range value as a
// 1-based two-dimensional array of cells that convert to text.

// One cell value as the workbook stores it.
class TCell
{
public:
    struct TError { QString Text; }; // an error cell, e.g. "#N/A"

    TCell() = default;
    static TCell Number(double value) { return TCell(TValue(value)); }
    static TCell Text(QString text) { return TCell(TValue(std::move(text))); }
    static TCell Boolean(bool value) { return TCell(TValue(value)); }
    static TCell Error(QString text) { return TCell(TValue(TError{std::move(text)})); }

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(FValue); }

    // Empty cell: empty text; integral number: decimal without a decimal part; other number:
    // the shortest text that reads back to the same value; text: unchanged; boolean: TRUE or
    // FALSE; error: its error text.
    QString ToText() const;

private:
    using TValue = std::variant<std::monostate, double, QString, bool, TError>;
    explicit TCell(TValue value)
        : FValue(std::move(value))
    {
    }

    TValue FValue;
};

// The value of a worksheet's used range. Row 1 and column 1 are the used range's first row
// and column, wherever the range starts on the sheet. Cells are stored sparsely, so a large
// but mostly empty range costs memory only for the cells that hold values.
class TRangeValue
{
public:
    TRangeValue() = default;
    TRangeValue(int rowCount, int columnCount);

    int RowCount() const { return FRowCount; }
    int ColumnCount() const { return FColumnCount; }
    // A used range of one cell is a single value, not an array.
    bool IsArray() const { return FRowCount * static_cast<qint64>(FColumnCount) > 1; }

    // Rows and columns count from 1; a cell outside the range or without a value is empty.
    const TCell& Cell(int row, int column) const;
    // The rows that hold at least one non-empty cell, ascending.
    std::vector<int> RowsWithValues() const;

    // Stores a non-empty cell inside the range (row and column from 1); the last store wins.
    void SetCell(int row, int column, TCell cell);
    // Makes room for that many stored cells in one go.
    void Reserve(qsizetype cellCount);
    // Narrows the range to the rowCount x columnCount cells starting at (firstRow, firstColumn),
    // which becomes cell (1, 1); stored cells outside that area are dropped. Lets a reader
    // store cells at their sheet positions and decide on the used range afterwards.
    void Crop(int firstRow, int firstColumn, int rowCount, int columnCount);

private:
    struct TStoredCell
    {
        int Row;
        int Column;
        TCell Value;
    };
    void SortCells() const;

    int FRowCount = 0;
    int FColumnCount = 0;
    // Kept in the order stored, and sorted by (row, column) on the first read when that order
    // was not already row by row.
    mutable std::vector<TStoredCell> FCells;
    mutable bool FSorted = true;
};

class TWorkSheet
{
public:
    virtual ~TWorkSheet() = default;
    virtual QString Name() const = 0;
    // The value of the used range; read from the file on first use and kept.
    virtual const TRangeValue& UsedRangeValue() = 0;
};

class TWorkSheets
{
public:
    virtual ~TWorkSheets() = default;
    virtual int Count() const = 0;
    virtual TWorkSheet& Item(int index) = 0; // 1-based
};
