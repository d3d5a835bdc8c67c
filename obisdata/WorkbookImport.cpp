#include "obisdata/Model.h"

#include "excel/WorkSheet.h"
#include "support/Exception.h"

#include <vector>

namespace {

struct TMediaOfWorksheet
{
    const char16_t* WorksheetName;
    std::vector<TMediaNr> Media;
};

// Which media a worksheet fills, by its name; "Thermal" and "Water" fill two.
const std::vector<TMediaOfWorksheet>& WorksheetMedia()
{
    static const std::vector<TMediaOfWorksheet> table{
        {u"Abstract", {0}},
        {u"Electricity (AC)", {1}},
        {u"Electricity (DC)", {2}},
        {u"HCA", {4}},
        {u"Thermal", {5, 6}},
        {u"Gas", {7}},
        {u"Water", {8, 9}},
    };
    return table;
}

bool EqualsIgnoringAsciiCase(QStringView a, QStringView b)
{
    const auto upper = [](QChar c) { return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](QChar x, QChar y) { return upper(x) == upper(y); });
}

std::vector<TMediaNr> MediaOfWorksheet(const QString& name)
{
    for (const TMediaOfWorksheet& entry : WorksheetMedia()) {
        if (EqualsIgnoringAsciiCase(name, QStringView(entry.WorksheetName)))
            return entry.Media;
    }
    return {};
}

// A definition line has fields 0..14; cells further right are never read.
constexpr int FieldsOfALine = 15;

QStringList RowFields(const TRangeValue& range, int row)
{
    QStringList fields;
    const int count = std::min(range.ColumnCount(), FieldsOfALine);
    fields.reserve(count);
    for (int column = 1; column <= count; ++column)
        fields.append(range.Cell(row, column).ToText());
    return fields;
}

} // namespace

void TOBISData::LoadFromExcelDocument(const TLogProc& LogProc, TWorkSheets& WorkSheets)
{
    ForgetWordList();
    for (int index = WorkSheets.Count(); index >= 1; --index) {
        TWorkSheet& worksheet = WorkSheets.Item(index);
        for (const TMediaNr media : MediaOfWorksheet(worksheet.Name()))
            ReadWorksheet(LogProc, worksheet, media);
    }
    ExpandTables();
}

void TOBISData::ReadWorksheet(const TLogProc& LogProc, TWorkSheet& Worksheet, TMediaNr Media)
{
    AllMediaData[static_cast<std::size_t>(Media)] = std::make_unique<TOBISMediaData>();
    const TRangeValue& range = Worksheet.UsedRangeValue();
    if (!range.IsArray())
        return;
    // Rows without any value have two empty first fields and are passed over anyway.
    for (const int row : range.RowsWithValues()) {
        const QStringList fields = RowFields(range, row);
        if (fields.size() < 2 || (fields[0].isEmpty() && fields[1].isEmpty()))
            continue;
        try {
            ProcessLine(Media, row, fields);
        } catch (const Exception& e) {
            throw Exception(QStringLiteral("%1 in media %2").arg(e.Message(), MediaName(Media)));
        }
    }
    LogProc(QStringLiteral("  ") + MediaName(Media) + QStringLiteral(" done."));
}
