#include "excel/XlsxSheetParser.h"

#include "excel/CellReference.h"
#include "excel/Limits.h"
#include "excel/UsedRange.h"
#include "excel/XlsxXml.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The text of a <v> element, which holds no markup.
std::string_view ValueText(pugi::xml_node v)
{
    const pugi::xml_node child = v.first_child();
    return Trimmed(child ? child.value() : v.value());
}

template<class TNumber>
std::optional<TNumber> ParseNumber(std::string_view text)
{
    TNumber value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

class TSheetParser
{
public:
    TSheetParser(TXlsxXmlPart& part, const std::vector<QString>& sharedStrings)
        : FPart(part)
        , FSharedStrings(sharedStrings)
    {
        FCells.Reserve(std::min(part.ContainerGrandchildren(), ExcelLimits::MaxCellsPerSheet));
    }

    TRangeValue Parse();

private:
    void ReadDimension(pugi::xml_node element);
    void ReadRow(pugi::xml_node row);
    TCell ReadValue(pugi::xml_node c, TCellPosition position) const;
    TCell SharedString(std::string_view index, TCellPosition position) const;
    TCell NumberCell(std::string_view text, TCellPosition position) const;
    TCell BooleanCell(std::string_view text, TCellPosition position) const;
    void Store(TCellPosition position, TCell value);
    Exception CellError(TCellPosition position, const QString& problem) const;

    TXlsxXmlPart& FPart;
    const std::vector<QString>& FSharedStrings;
    std::optional<TCellArea> FDimension;
    int FLastRow = 0;
    // The cells at their sheet positions, cropped to the used range at the end.
    TRangeValue FCells{ExcelLimits::MaxSheetRows, ExcelLimits::MaxSheetColumns};
    qint64 FCellCount = 0;
    TCellArea FBounds{{ExcelLimits::MaxSheetRows, ExcelLimits::MaxSheetColumns}, {1, 1}};
};

TRangeValue TSheetParser::Parse()
{
    FPart.ForEachPrologueElement([this](pugi::xml_node element) {
        if (HasLocalName(element, "dimension"))
            ReadDimension(element);
    });
    FPart.ForEachContainerElement([this](pugi::xml_node element) {
        if (HasLocalName(element, "row"))
            ReadRow(element);
    });

    if (FCellCount == 0)
        return TRangeValue(1, 1);
    return CroppedToUsedRange(std::move(FCells), FBounds, FDimension);
}

void TSheetParser::ReadDimension(pugi::xml_node element)
{
    FDimension = ParseAreaReference(element.attribute("ref").value());
}

void TSheetParser::ReadRow(pugi::xml_node row)
{
    int rowNumber = FLastRow + 1; // a row without a number follows the previous one
    if (const pugi::xml_attribute r = row.attribute("r")) {
        const std::optional<int> number = ParseNumber<int>(r.value());
        if (!number || *number < 1 || *number > ExcelLimits::MaxSheetRows)
            throw FPart.Error(QStringLiteral("invalid row number \"%1\"").arg(QString::fromUtf8(r.value())));
        rowNumber = *number;
    }
    if (rowNumber > ExcelLimits::MaxSheetRows)
        throw FPart.Error(QStringLiteral("more than %1 rows").arg(ExcelLimits::MaxSheetRows));
    FLastRow = rowNumber;

    int column = 0; // a cell without a reference follows the previous one
    for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || !HasLocalName(c, "c"))
            continue;
        TCellPosition position{rowNumber, column + 1};
        if (const pugi::xml_attribute r = c.attribute("r")) {
            const std::optional<TCellPosition> parsed = ParseCellReference(r.value());
            if (!parsed)
                throw FPart.Error(QStringLiteral("invalid cell reference \"%1\"").arg(QString::fromUtf8(r.value())));
            position = *parsed;
        } else if (position.Column > ExcelLimits::MaxSheetColumns) {
            throw FPart.Error(QStringLiteral("row %1 has more than %2 cells").arg(rowNumber).arg(ExcelLimits::MaxSheetColumns));
        }
        column = position.Column;
        TCell value = ReadValue(c, position);
        if (!value.IsEmpty())
            Store(position, std::move(value));
    }
}

TCell TSheetParser::ReadValue(pugi::xml_node c, TCellPosition position) const
{
    const pugi::xml_node v = ChildByLocalName(c, "v");
    const std::string_view type = c.attribute("t").value();
    if (type == "inlineStr") {
        if (const pugi::xml_node is = ChildByLocalName(c, "is"))
            return TCell::Text(StringItemText(is));
        return v ? TCell::Text(ElementText(v)) : TCell();
    }
    if (!v)
        return {};
    if (type == "str" || type == "d") // a formula's text result; a date written as ISO 8601 text
        return TCell::Text(ElementText(v));
    if (type == "e")
        return TCell::Error(ElementText(v).trimmed());

    const std::string_view text = ValueText(v);
    if (text.empty())
        return {};
    if (type == "s")
        return SharedString(text, position);
    if (type == "b")
        return BooleanCell(text, position);
    if (type == "n" || type.empty())
        return NumberCell(text, position);
    throw CellError(position, QStringLiteral("unknown cell type \"%1\"").arg(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size()))));
}

TCell TSheetParser::SharedString(std::string_view index, TCellPosition position) const
{
    const std::optional<qint64> number = ParseNumber<qint64>(index);
    if (!number || *number < 0 || *number >= static_cast<qint64>(FSharedStrings.size()))
        throw CellError(position, QStringLiteral("there is no shared string %1").arg(QString::fromUtf8(index.data(), static_cast<qsizetype>(index.size()))));
    return TCell::Text(FSharedStrings[static_cast<size_t>(*number)]);
}

TCell TSheetParser::NumberCell(std::string_view text, TCellPosition position) const
{
    const std::optional<double> number = ParseNumber<double>(text);
    if (!number || !std::isfinite(*number))
        throw CellError(position, QStringLiteral("\"%1\" is not a number").arg(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
    return TCell::Number(*number);
}

TCell TSheetParser::BooleanCell(std::string_view text, TCellPosition position) const
{
    if (text == "1" || text == "true")
        return TCell::Boolean(true);
    if (text == "0" || text == "false")
        return TCell::Boolean(false);
    throw CellError(position, QStringLiteral("\"%1\" is not a boolean").arg(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
}

void TSheetParser::Store(TCellPosition position, TCell value)
{
    if (++FCellCount > ExcelLimits::MaxCellsPerSheet)
        throw FPart.Error(QStringLiteral("more than %1 cells hold values").arg(ExcelLimits::MaxCellsPerSheet));
    FBounds.First.Row = std::min(FBounds.First.Row, position.Row);
    FBounds.First.Column = std::min(FBounds.First.Column, position.Column);
    FBounds.Last.Row = std::max(FBounds.Last.Row, position.Row);
    FBounds.Last.Column = std::max(FBounds.Last.Column, position.Column);
    FCells.SetCell(position.Row, position.Column, std::move(value));
}

Exception TSheetParser::CellError(TCellPosition position, const QString& problem) const
{
    return FPart.Error(QStringLiteral("cell %1: %2").arg(CellReferenceText(position), problem));
}

} // namespace

TRangeValue ParseWorksheet(const QString& partName, std::vector<char> xml, const std::vector<QString>& sharedStrings)
{
    TXlsxXmlPart part(partName, std::move(xml), "worksheet", "sheetData");
    return TSheetParser(part, sharedStrings).Parse();
}
