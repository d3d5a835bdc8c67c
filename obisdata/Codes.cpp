#include "obisdata/Codes.h"

#include "obisdata/AppendNumber.h"
#include "obisdata/Model.h"
#include "support/Exception.h"
#include "support/IntegerText.h"

QChar ColumnLetter(TColumn column)
{
    return QChar(u'A' + static_cast<char16_t>(column));
}

std::optional<TColumn> ColumnFromLetter(QChar letter)
{
    if (letter < u'A' || letter > u'F')
        return std::nullopt;
    return static_cast<TColumn>(letter.unicode() - u'A');
}

bool IsMediaNr(int number)
{
    return number >= 0 && number < MediaCount;
}

QString MediaName(TMediaNr media)
{
    static const std::array<QString, MediaCount> names{
        QStringLiteral("Abstract"),
        QStringLiteral("Electricity (AC)"),
        QStringLiteral("Electricity (DC)"),
        QString(),
        QStringLiteral("HCA"),
        QStringLiteral("Thermal (cool)"),
        QStringLiteral("Thermal (hot)"),
        QStringLiteral("Gas"),
        QStringLiteral("Water (cold)"),
        QStringLiteral("Water (hot)"),
    };
    return IsMediaNr(media) ? names[static_cast<std::size_t>(media)] : QString();
}

QString MediaLabel(TMediaNr media)
{
    const QString name = MediaName(media);
    return name.isEmpty() ? QString::number(media) : name;
}

void TByteSet::IncludeRange(quint8 lo, quint8 hi)
{
    for (int value = lo; value <= hi; ++value)
        Include(static_cast<quint8>(value));
}

TValue TValue::CreateSingle(quint8 value)
{
    TValue result;
    result.Kind = TValueKind::vkSingle;
    result.ByteValue = value;
    return result;
}

TValue TValue::CreateRange(quint8 lo, quint8 hi)
{
    TValue result;
    result.Kind = TValueKind::vkRange;
    result.LoRange = lo;
    result.HiRange = hi;
    return result;
}

std::unique_ptr<TValue> TValue::Another(const TValue& value)
{
    return std::make_unique<TValue>(value);
}

void TValue::AddRange(quint8 lo, quint8 hi)
{
    switch (Kind) {
    case TValueKind::vkNone:
        if (lo == hi) {
            Kind = TValueKind::vkSingle;
            ByteValue = lo;
        } else {
            Kind = TValueKind::vkRange;
            LoRange = lo;
            HiRange = hi;
        }
        return;
    case TValueKind::vkSingle:
        Kind = TValueKind::vkSet;
        SetValue.Include(ByteValue);
        break;
    case TValueKind::vkRange:
        Kind = TValueKind::vkSet;
        SetValue.IncludeRange(LoRange, HiRange);
        break;
    case TValueKind::vkSet:
        break;
    }
    SetValue.IncludeRange(lo, hi);
}

namespace {

// "[" then the maximal runs of members, ascending, separated by ",", then "]".
void AppendSet(QString& text, const TByteSet& set)
{
    text.append(u'[');
    bool first = true;
    int value = 0;
    while (value < 256) {
        if (!set.Contains(static_cast<quint8>(value))) {
            ++value;
            continue;
        }
        const int runStart = value;
        while (value + 1 < 256 && set.Contains(static_cast<quint8>(value + 1)))
            ++value;
        if (!first)
            text.append(u',');
        first = false;
        AppendNumber(text, runStart);
        if (value > runStart) {
            text.append(u'-');
            AppendNumber(text, value);
        }
        ++value;
    }
    text.append(u']');
}

} // namespace

void TValue::AppendTo(QString& text) const
{
    switch (Kind) {
    case TValueKind::vkNone:
        return;
    case TValueKind::vkSingle:
        AppendNumber(text, ByteValue);
        return;
    case TValueKind::vkRange:
        text.append(u'[');
        AppendNumber(text, LoRange);
        text.append(u'-');
        AppendNumber(text, HiRange);
        text.append(u']');
        return;
    case TValueKind::vkSet:
        AppendSet(text, SetValue);
        return;
    }
}

QString TValue::ToString() const
{
    QString text;
    AppendTo(text);
    return text;
}

TValues TValues::Another(const TValues& values)
{
    TValues copy;
    for (const TColumn column : AllColumns)
        copy.SetValue(column, TValue::Another(values.GetValue(column)));
    return copy;
}

void TValues::SetValue(TColumn column, std::unique_ptr<TValue> value)
{
    FItems[static_cast<std::size_t>(column)] = std::move(value);
}

namespace {

[[noreturn]] void RaiseUnrecognizedCode(const QString& text)
{
    throw Exception(QStringLiteral("Unrecognized OBIS code \"%1\"").arg(text));
}

std::optional<quint8> ByteFromDecimal(QStringView text)
{
    const std::optional<qint32> value = TryStrToInt(text);
    if (!value || *value < 0 || *value > 255)
        return std::nullopt;
    return static_cast<quint8>(*value);
}

// One or two hexadecimal digits.
std::optional<quint8> ByteFromHexPair(QStringView pair)
{
    int value = 0;
    for (const QChar c : pair) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<quint8>(value);
}

// 1.0.1.8.0.255: six pieces cut at "."; one "." may end the sixth piece.
TOBISCode DottedToCode(const QString& text)
{
    const QList<QStringView> pieces = QStringView(text).split(u'.');
    const bool trailingDot = pieces.size() == 7 && pieces.back().isEmpty();
    if (pieces.size() != 6 && !trailingDot)
        RaiseUnrecognizedCode(text);
    TOBISCode code;
    for (const TColumn column : AllColumns) {
        const auto value = ByteFromDecimal(pieces[static_cast<qsizetype>(column)]);
        if (!value)
            RaiseUnrecognizedCode(text);
        code[column] = *value;
    }
    return code;
}

// 0100010800FF: pairs of hexadecimal digits; the sixth pair may be a single digit.
TOBISCode HexToCode(const QString& text)
{
    if (text.size() != 11 && text.size() != 12)
        RaiseUnrecognizedCode(text);
    TOBISCode code;
    for (const TColumn column : AllColumns) {
        const auto value = ByteFromHexPair(QStringView(text).mid(2 * static_cast<qsizetype>(column), 2));
        if (!value)
            RaiseUnrecognizedCode(text);
        code[column] = *value;
    }
    return code;
}

} // namespace

TOBISCode TOBISData::OBISStrToOBISCode(const QString& OBISStr)
{
    return OBISStr.contains(u'.') ? DottedToCode(OBISStr) : HexToCode(OBISStr);
}

QString TOBISData::OBISCodeToOBISStr(const TOBISCode& OBISCode)
{
    QString text;
    for (const TColumn column : AllColumns) {
        if (column != TColumn::A)
            text.append(u'.');
        AppendNumber(text, OBISCode[column]);
    }
    return text;
}
