#include "excel/CellReference.h"

#include "excel/Limits.h"

#include <algorithm>

namespace {

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int LetterValue(char c)
{
    return (c >= 'a' ? c - 'a' : c - 'A') + 1;
}

} // namespace

std::optional<TCellPosition> ParseCellReference(std::string_view text)
{
    size_t i = 0;
    int column = 0;
    for (; i < text.size() && IsLetter(text[i]); ++i) {
        column = column * 26 + LetterValue(text[i]);
        if (column > ExcelLimits::MaxSheetColumns)
            return std::nullopt;
    }
    if (column == 0 || i == text.size() || text[i] == '0')
        return std::nullopt;
    int row = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        row = row * 10 + (text[i] - '0');
        if (row > ExcelLimits::MaxSheetRows)
            return std::nullopt;
    }
    return TCellPosition{row, column};
}

std::optional<TCellArea> ParseAreaReference(std::string_view text)
{
    const size_t colon = text.find(':');
    const std::optional<TCellPosition> a = ParseCellReference(text.substr(0, colon));
    const std::optional<TCellPosition> b = colon == std::string_view::npos ? a : ParseCellReference(text.substr(colon + 1));
    if (!a || !b)
        return std::nullopt;
    return TCellArea{{std::min(a->Row, b->Row), std::min(a->Column, b->Column)},
        {std::max(a->Row, b->Row), std::max(a->Column, b->Column)}};
}

QString CellReferenceText(TCellPosition position)
{
    QString letters;
    for (int column = position.Column; column > 0; column = (column - 1) / 26)
        letters.prepend(QChar(u'A' + (column - 1) % 26));
    return letters + QString::number(position.Row);
}
