#include "excel/WorkSheet.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

// ---- TCell ----

namespace {

// An integral value as decimal digits without a decimal part. Beyond 2^53 doubles are
// spaced wider than 1: those get the shortest digits that read back to the value, padded with
// zeros up to the decimal point, as they would have been typed (1e20 is "100000000000000000000").
QString IntegralText(double value)
{
    constexpr double exactLimit = 9007199254740992.0; // 2^53
    if (std::fabs(value) < exactLimit)
        return QString::number(static_cast<qint64>(value));
    char text[32]; // "-d.dddddddddddddddde+ddd"
    const std::to_chars_result result = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::scientific);
    const std::string_view scientific(text, static_cast<size_t>(result.ptr - text));
    const size_t e = scientific.find('e');
    int exponent = 0;
    std::from_chars(scientific.data() + e + 1 + (scientific[e + 1] == '+'), result.ptr, exponent);
    QString digits;
    for (const char c : scientific.substr(0, e)) {
        if (c != '.')
            digits += QLatin1Char(c);
    }
    const qsizetype significant = digits.size() - (value < 0 ? 1 : 0);
    return digits + QString(exponent - (significant - 1), u'0');
}

QString NumberText(double value)
{
    if (value == 0) // also -0
        return QStringLiteral("0");
    if (std::isfinite(value) && value == std::trunc(value))
        return IntegralText(value);
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

struct TTextOf
{
    QString operator()(std::monostate) const { return {}; }
    QString operator()(double value) const { return NumberText(value); }
    QString operator()(const QString& text) const { return text; }
    QString operator()(bool value) const { return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); }
    QString operator()(const TCell::TError& error) const { return error.Text; }
};

} // namespace

QString TCell::ToText() const
{
    return std::visit(TTextOf{}, FValue);
}

// ---- TRangeValue ----

TRangeValue::TRangeValue(int rowCount, int columnCount)
    : FRowCount(rowCount)
    , FColumnCount(columnCount)
{
}

void TRangeValue::SetCell(int row, int column, TCell cell)
{
    Q_ASSERT(row >= 1 && row <= FRowCount && column >= 1 && column <= FColumnCount);
    if (!FCells.empty()) {
        const TStoredCell& last = FCells.back();
        if (row < last.Row || (row == last.Row && column <= last.Column))
            FSorted = false;
    }
    FCells.push_back(TStoredCell{row, column, std::move(cell)});
}

void TRangeValue::Reserve(qsizetype cellCount)
{
    FCells.reserve(static_cast<size_t>(cellCount));
}

void TRangeValue::Crop(int firstRow, int firstColumn, int rowCount, int columnCount)
{
    const auto outside = [=](const TStoredCell& cell) {
        return cell.Row < firstRow || cell.Row >= firstRow + rowCount || cell.Column < firstColumn
            || cell.Column >= firstColumn + columnCount;
    };
    FCells.erase(std::remove_if(FCells.begin(), FCells.end(), outside), FCells.end());
    for (TStoredCell& cell : FCells) {
        cell.Row -= firstRow - 1;
        cell.Column -= firstColumn - 1;
    }
    FRowCount = rowCount;
    FColumnCount = columnCount;
}

void TRangeValue::SortCells() const
{
    const auto before = [](const TStoredCell& a, const TStoredCell& b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Column < b.Column;
    };
    std::stable_sort(FCells.begin(), FCells.end(), before);
    // Of cells stored twice, the one stored last wins: keep the last of each run.
    const auto sameCell = [](const TStoredCell& a, const TStoredCell& b) {
        return a.Row == b.Row && a.Column == b.Column;
    };
    auto kept = FCells.begin();
    for (auto it = FCells.begin(); it != FCells.end(); ++it) {
        if (std::next(it) != FCells.end() && sameCell(*it, *std::next(it)))
            continue;
        if (kept != it)
            *kept = std::move(*it);
        ++kept;
    }
    FCells.erase(kept, FCells.end());
    FSorted = true;
}

const TCell& TRangeValue::Cell(int row, int column) const
{
    static const TCell empty;
    if (!FSorted)
        SortCells();
    const auto it = std::lower_bound(FCells.begin(), FCells.end(), std::pair{row, column},
        [](const TStoredCell& cell, const std::pair<int, int>& key) {
            return cell.Row != key.first ? cell.Row < key.first : cell.Column < key.second;
        });
    if (it == FCells.end() || it->Row != row || it->Column != column)
        return empty;
    return it->Value;
}

std::vector<int> TRangeValue::RowsWithValues() const
{
    if (!FSorted)
        SortCells();
    std::vector<int> rows;
    for (const TStoredCell& cell : FCells) {
        if (rows.empty() || rows.back() != cell.Row)
            rows.push_back(cell.Row);
    }
    return rows;
}
