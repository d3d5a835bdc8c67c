#include "support/IntegerText.h"

int HexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

std::optional<qint32> TryStrToInt(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    int base = 10;
    if (!text.isEmpty() && text.front() == u'$') {
        base = 16;
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;

    qint64 value = 0;
    for (const QChar c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > qint64{1} << 32)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    // Hexadecimal literals cover the whole 32-bit pattern ($FFFFFFFF is -1).
    if (base == 16 && value > 0x7FFFFFFF && value <= 0xFFFFFFFF)
        value -= qint64{1} << 32;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<qint32>(value);
}
