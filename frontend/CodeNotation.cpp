#include "frontend/CodeNotation.h"

#include "obisdata/Model.h"
#include "support/Exception.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

constexpr int HexCodeDigits = 12;
constexpr quint8 LastReducedF = 255;

// A notation that cannot be read; the reader adds the text it was given.
struct ENotation
{
    QString What;
};

bool IsDecimal(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool IsHexadecimal(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsHexDigit);
}

// The letters of value groups C and D: C 96, F 97, L 98, P 99.
std::optional<quint8> LetterValue(QStringView text)
{
    if (text.size() != 1)
        return std::nullopt;
    switch (text[0].unicode()) {
    case u'C':
        return 96;
    case u'F':
        return 97;
    case u'L':
        return 98;
    case u'P':
        return 99;
    default:
        return std::nullopt;
    }
}

quint8 CheckedByte(qint64 value, TColumn column)
{
    if (value > 255)
        throw ENotation{QStringLiteral("group %1 is %2, more than 255").arg(ColumnLetter(column)).arg(value)};
    return static_cast<quint8>(value);
}

// Leading zeros are allowed; a long run of digits is still a value above 255.
quint8 DecimalGroup(QStringView digits, TColumn column)
{
    qint64 value = 0;
    for (const QChar c : digits)
        value = std::min<qint64>(value * 10 + (c.unicode() - u'0'), 1000);
    return CheckedByte(value, column);
}

quint8 Group(QStringView text, TColumn column)
{
    if (text.isEmpty())
        throw ENotation{QStringLiteral("group %1 is empty").arg(ColumnLetter(column))};
    if (IsDecimal(text))
        return DecimalGroup(text, column);
    if (column == TColumn::C || column == TColumn::D) {
        if (const std::optional<quint8> letter = LetterValue(text))
            return *letter;
    }
    throw ENotation{QStringLiteral("group %1 is \"%2\", not a number").arg(ColumnLetter(column), text.toString())};
}

// F after "*" or "&": decimal, or two hexadecimal digits when it holds a letter.
quint8 StarredF(QStringView text)
{
    if (text.size() == 2 && IsHexadecimal(text) && !IsDecimal(text))
        return static_cast<quint8>(text.toString().toUInt(nullptr, 16));
    return Group(text, TColumn::F);
}

// Twelve hexadecimal digits, with blanks or colons between the octets and "0x" before them.
std::optional<TOBISCode> HexadecimalCode(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[ :]+"));
    QString digits;
    for (QString part : text.split(separators, Qt::SkipEmptyParts)) {
        if (part.startsWith(u"0x", Qt::CaseInsensitive))
            part.remove(0, 2);
        if (!IsHexadecimal(part))
            return std::nullopt;
        digits += part;
    }
    if (digits.size() != HexCodeDigits)
        throw ENotation{QStringLiteral("%1 hexadecimal digits, where a code has 12").arg(digits.size())};
    TOBISCode code;
    for (const TColumn column : AllColumns) {
        const auto index = static_cast<qsizetype>(column) * 2;
        code[column] = static_cast<quint8>(QStringView(digits).mid(index, 2).toString().toUInt(nullptr, 16));
    }
    return code;
}

struct TSplitF
{
    QStringView Groups;  // the dotted groups before "*" or "&"
    QStringView StarredF; // after "*" or "&", or empty
    bool HasStar = false;
};

TSplitF SplitStarredF(QStringView text)
{
    const qsizetype star = text.indexOf(QRegularExpression(QStringLiteral("[*&]")));
    if (star < 0)
        return {text, {}, false};
    if (text.mid(star + 1).contains(u'*') || text.mid(star + 1).contains(u'&'))
        throw ENotation{QStringLiteral("more than one \"*\" or \"&\"")};
    return {text.left(star), text.mid(star + 1), true};
}

// C.D[.E][.F] after "A-B:", or C.D[.E] of a reduced code; fills C..F.
void ReadGroupsFromC(QStringView text, bool allowDottedF, TOBISCode& code)
{
    const TSplitF split = SplitStarredF(text);
    const QList<QStringView> groups = split.Groups.split(u'.');
    const qsizetype maximum = split.HasStar || !allowDottedF ? 3 : 4;
    if (groups.size() < 2 || groups.size() > maximum)
        throw ENotation{QStringLiteral("%1 groups after \"A-B:\" or in a reduced code, where C.D, C.D.E or C.D.E*F are read")
                            .arg(groups.size() + (split.HasStar ? 1 : 0))};
    code[TColumn::C] = Group(groups[0], TColumn::C);
    code[TColumn::D] = Group(groups[1], TColumn::D);
    code[TColumn::E] = groups.size() > 2 ? Group(groups[2], TColumn::E) : 0;
    if (split.HasStar)
        code[TColumn::F] = StarredF(split.StarredF);
    else
        code[TColumn::F] = groups.size() > 3 ? Group(groups[3], TColumn::F) : LastReducedF;
}

TOBISCode GroupedCode(QStringView text)
{
    const qsizetype colon = text.indexOf(u':');
    const QList<QStringView> ab = text.left(colon).split(u'-');
    if (ab.size() != 2)
        throw ENotation{QStringLiteral("\"%1\" before the \":\" is not A-B").arg(text.left(colon).toString())};
    TOBISCode code;
    code[TColumn::A] = Group(ab[0], TColumn::A);
    code[TColumn::B] = Group(ab[1], TColumn::B);
    ReadGroupsFromC(text.mid(colon + 1), true, code);
    return code;
}

TOBISCode DottedCode(QStringView text, const TMediaGroups& media)
{
    const TSplitF split = SplitStarredF(text);
    const QList<QStringView> groups = split.Groups.split(u'.');
    if (groups.size() == 6 && !split.HasStar) {
        TOBISCode code;
        for (const TColumn column : AllColumns)
            code[column] = Group(groups[static_cast<qsizetype>(column)], column);
        return code;
    }
    if (groups.size() < 2 || groups.size() > 3)
        throw ENotation{QStringLiteral("%1 groups, where A.B.C.D.E.F has 6 and a reduced code C.D or C.D.E")
                            .arg(groups.size() + (split.HasStar ? 1 : 0))};
    TOBISCode code;
    ReadGroupsFromC(text, false, code);
    code[TColumn::A] = LetterValue(groups[0]) ? 0 : media.A;
    code[TColumn::B] = media.B;
    return code;
}

TOBISCode ReadNotation(const QString& text, const TMediaGroups& media)
{
    if (text.isEmpty())
        throw ENotation{QStringLiteral("the text is empty")};
    if (text.contains(u'-') || text.contains(u'.'))
        return text.contains(u':') ? GroupedCode(text) : DottedCode(text, media);
    if (const std::optional<TOBISCode> code = HexadecimalCode(text))
        return *code;
    throw ENotation{QStringLiteral("neither groups separated by \".\" nor 12 hexadecimal digits")};
}

} // namespace

TMediaGroups ReadMediaGroups(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'-');
    const auto valid = [](const QString& part) { return IsDecimal(part) && part.toInt() <= 255; };
    if (parts.size() > 2 || !std::all_of(parts.begin(), parts.end(), valid))
        throw Exception(QStringLiteral("--media \"%1\": A or A-B expected, values from 0 to 255").arg(text));
    return TMediaGroups{static_cast<quint8>(parts[0].toInt()), static_cast<quint8>(parts.size() == 2 ? parts[1].toInt() : 0)};
}

TOBISCode ReadCodeNotation(const QString& text, const TMediaGroups& media)
{
    try {
        return ReadNotation(text.trimmed(), media);
    } catch (const ENotation& e) {
        throw Exception(QStringLiteral("Cannot read \"%1\" as an OBIS code: %2").arg(text, e.What));
    }
}
