#pragma once

#include <QString>

// Appends value in decimal without making a temporary string: result lines are built for
// every definition of every search.
inline void AppendNumber(QString& text, qint64 value)
{
    char16_t digits[24];
    int start = 24;
    quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    do {
        digits[--start] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits[--start] = u'-';
    text.append(QStringView(digits + start, 24 - start));
}
