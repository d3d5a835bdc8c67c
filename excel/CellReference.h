#pragma once

#include <QString>

#include <optional>
#include <string_view>

// A cell on a worksheet, rows and columns counted from 1.
struct TCellPosition
{
    int Row = 0;
    int Column = 0;
};

// A rectangle of cells given by its first (top left) and last (bottom right) cell.
struct TCellArea
{
    TCellPosition First;
    TCellPosition Last;
};

// "B12" as {12, 2}: column letters, then the row number, both within the sheet size of the
// .xlsx format (ExcelLimits). Empty for anything else.
std::optional<TCellPosition> ParseCellReference(std::string_view text);

// "A1:C3" or the single cell "B2"; the two corners may come in any order.
std::optional<TCellArea> ParseAreaReference(std::string_view text);

// {12, 2} as "B12".
QString CellReferenceText(TCellPosition position);
