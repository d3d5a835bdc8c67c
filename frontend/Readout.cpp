#include "frontend/Readout.h"

#include "support/Exception.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr char STX = '\x02';
constexpr char16_t ETX = u'\x03';
constexpr quint16 ArcPolynomial = 0xA001; // 0x8005 reflected

// Values that do not come to an end, or text after them; the reader adds the line.
struct ELineForm
{
    QString What;
};

// Where one line lies in the input.
struct TLineSpan
{
    qsizetype Start = 0; // its first byte
    qsizetype End = 0;   // just after its last byte, where its line end begins
    qsizetype Next = 0;  // where the next line begins
};

// Lines end at LF, CR LF or a lone CR.
TLineSpan LineAt(const QByteArray& readout, qsizetype start)
{
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    const qsizetype end = std::find_if(readout.begin() + start, readout.end(), isLineEnd) - readout.begin();
    qsizetype next = end;
    if (next < readout.size())
        next += QByteArrayView(readout).sliced(end).startsWith("\r\n") ? 2 : 1;
    return {start, end, next};
}

// The STX and blanks before what the line says; all of them single bytes, so the count is the
// same in the bytes and in the decoded text.
qsizetype FramingAndBlanks(QByteArrayView line)
{
    qsizetype at = 0;
    while (at < line.size() && (line[at] == STX || line[at] == ' ' || line[at] == '\t'))
        ++at;
    return at;
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// One word of letters, digits and ". : - * &" with a "." or ":" that begins with a digit or an
// IEC letter and its dot: "1-0:1.8.1", "C.1.0", "F.F", also "1-0:1.8.300"; not "Meter", "e.g.".
bool LooksLikeCode(const QString& text)
{
    static const QRegularExpression code(QStringLiteral("^(?:[0-9]|[CFLP]\\.)[0-9A-Za-z.:*&-]*$"));
    return (text.contains(u'.') || text.contains(u':')) && code.match(text).hasMatch();
}

// "001234.567*kWh": the unit follows the last "*" unless that is a number ("1-0:1.8.0*255").
TReadoutValue SplitUnit(QStringView written)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]+$"));
    const qsizetype star = written.lastIndexOf(u'*');
    if (star < 0 || number.match(written.mid(star + 1).toString()).hasMatch())
        return {written.toString(), {}, {}};
    return {written.left(star).toString(), written.mid(star + 1).toString(), {}};
}

// The "(...)" values that make up text, blanks between them allowed.
std::vector<TReadoutValue> ParenthesisedValues(QStringView text)
{
    std::vector<TReadoutValue> values;
    qsizetype at = 0;
    while (true) {
        while (at < text.size() && IsBlank(text[at]))
            ++at;
        if (at == text.size())
            return values;
        if (text[at] != u'(')
            throw ELineForm{QStringLiteral("\"%1\" after the last value").arg(text.mid(at))};
        const qsizetype close = text.indexOf(u')', at);
        if (close < 0)
            throw ELineForm{QStringLiteral("\"%1\" has no closing \")\"").arg(text.mid(at))};
        values.push_back(SplitUnit(text.mid(at + 1, close - at - 1)));
        at = close + 1;
    }
}

// "1234.5#Wh" after the first "#" of an SML line: the value runs to the next "#", the unit is the rest.
TReadoutValue SmlValue(QStringView text)
{
    const qsizetype hash = text.indexOf(u'#');
    if (hash < 0)
        return {text.toString(), {}, {}};
    return {text.left(hash).toString(), text.mid(hash + 1).toString(), {}};
}

// The text objects whose values meters write in hexadecimal: 96.1.x identifiers, 96.13.x messages.
bool IsTextObject(const TOBISCode& code)
{
    return code[TColumn::C] == 96 && (code[TColumn::D] == 1 || code[TColumn::D] == 13);
}

// "4B3834" is "K84": when every byte is printable ASCII.
std::optional<QString> SpelledText(QString value)
{
    static const QRegularExpression hexadecimalBytes(QStringLiteral("^(?:[0-9A-Fa-f]{2})+$"));
    value.remove(u' ');
    if (!hexadecimalBytes.match(value).hasMatch())
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(value.toLatin1());
    if (!std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= ' ' && c <= '~'; }))
        return std::nullopt;
    return QString::fromLatin1(bytes);
}

void ReadCode(const TMediaGroups& media, TReadoutLine& line)
{
    try {
        line.Code = ReadCodeNotation(line.CodeText, media);
    } catch (const Exception& e) {
        line.Error = e.Message();
    }
}

// Six octets "01 00 01 08 00 ff", the whole line or all of it after its last ":".
void ReadHexadecimalCode(QStringView body, const TMediaGroups& media, TReadoutLine& line)
{
    static const QRegularExpression sixOctets(QStringLiteral("^[0-9A-Fa-f]{2}(?: +[0-9A-Fa-f]{2}){5}$"));
    const QString octets = body.mid(body.lastIndexOf(u':') + 1).trimmed().toString();
    if (!sixOctets.match(octets).hasMatch())
        return;
    line.CodeText = octets;
    ReadCode(media, line);
}

// A line of values alone: values, or nothing when it is not made of values only.
void ReadValuesAlone(QStringView body, TReadoutLine& line)
{
    try {
        line.Values = ParenthesisedValues(body);
    } catch (const ELineForm&) {
    }
}

// CODE(...)... or CODE#...: the code before the first "(" or "#", the values after it.
void ReadCodeAndValues(QStringView body, qsizetype mark, const TMediaGroups& media, TReadoutLine& line)
{
    const QString codeText = body.left(mark).trimmed().toString();
    if (!LooksLikeCode(codeText))
        return;
    line.CodeText = codeText;
    ReadCode(media, line);
    const QStringView values = body.mid(mark);
    try {
        line.Values = values[0] == u'#' ? std::vector{SmlValue(values.mid(1))} : ParenthesisedValues(values);
    } catch (const ELineForm& e) {
        if (line.Code) {
            line.Code.reset();
            line.Error = QStringLiteral("Cannot read \"%1\" as a readout line: %2").arg(body.trimmed(), e.What);
        }
    }
    if (line.Code && IsTextObject(*line.Code)) {
        for (TReadoutValue& value : line.Values)
            value.Text = SpelledText(value.Value);
    }
}

// A line that is neither an identification line nor the end of a telegram or data block.
void ReadDataLine(QStringView body, const TMediaGroups& media, TReadoutLine& line)
{
    static const QRegularExpression valueMark(QStringLiteral("[(#]"));
    const qsizetype mark = body.indexOf(valueMark);
    if (mark < 0)
        ReadHexadecimalCode(body, media, line);
    else if (body.left(mark).trimmed().isEmpty()) {
        if (body[mark] == u'(')
            ReadValuesAlone(body.mid(mark), line);
    } else
        ReadCodeAndValues(body, mark, media, line);
}

// The CR LF form of a telegram: every line end CR LF, as the meter sends them.
QByteArray CrLfForm(QByteArrayView telegram)
{
    QByteArray form = telegram.toByteArray();
    form.replace("\r\n", "\n");
    form.replace("\n", "\r\n");
    return form;
}

// The check of the CRC digits after a telegram's "!", when there are four hexadecimal digits.
std::optional<TCrcCheck> CheckCrc(QByteArrayView telegram, const QString& afterMark)
{
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9A-Fa-f]{4}$"));
    const QString digits = afterMark.trimmed();
    if (!fourDigits.match(digits).hasMatch())
        return std::nullopt;
    TCrcCheck check{digits.toUShort(nullptr, 16), Crc16Arc(telegram), false};
    check.Holds = check.Computed == check.Written;
    if (check.Holds)
        return check;
    const QByteArray crLf = CrLfForm(telegram);
    if (crLf != telegram) {
        check.Computed = Crc16Arc(crLf);
        check.Holds = check.Computed == check.Written;
        check.WithCrLf = true;
    }
    return check;
}

} // namespace

std::vector<TReadoutLine> ReadReadout(const QByteArray& readout, const TMediaGroups& media)
{
    std::vector<TReadoutLine> lines;
    qsizetype telegramStart = 0; // the "/" of the open telegram, or where it would begin
    for (qsizetype at = 0; at < readout.size();) {
        const TLineSpan span = LineAt(readout, at);
        const QByteArrayView bytes = QByteArrayView(readout).sliced(span.Start, span.End - span.Start);
        const qsizetype lead = FramingAndBlanks(bytes);
        TReadoutLine line;
        line.Number = static_cast<int>(lines.size()) + 1;
        line.Text = QString::fromUtf8(bytes);
        const QStringView body = QStringView(line.Text).mid(lead);
        if (body.startsWith(u'/')) {
            telegramStart = span.Start + lead;
        } else if (body.startsWith(u'!')) {
            const qsizetype telegramEnd = span.Start + lead + 1;
            line.Crc = CheckCrc(QByteArrayView(readout).sliced(telegramStart, telegramEnd - telegramStart),
                body.mid(1).toString());
            telegramStart = span.Next;
        } else if (!body.startsWith(QChar(ETX))) {
            ReadDataLine(body, media, line);
        }
        lines.push_back(std::move(line));
        at = span.Next;
    }
    return lines;
}

quint16 Crc16Arc(QByteArrayView bytes)
{
    quint16 crc = 0;
    for (const char byte : bytes) {
        crc = static_cast<quint16>(crc ^ static_cast<quint8>(byte));
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<quint16>((crc & 1) != 0 ? (crc >> 1) ^ ArcPolynomial : crc >> 1);
    }
    return crc;
}
