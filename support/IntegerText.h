#pragma once

#include <QStringView>
#include <optional>

// The value of a hexadecimal digit "0".."9", "A".."F", "a".."f"; -1 for any other character.
int HexDigitValue(QChar c);

// The ordinary text-to-integer conversion: an optional "-" or "+", then decimal digits,
// or "$" followed by hexadecimal digits (either letter case). No blanks anywhere.
// Empty when the text is not such a literal or its value does not fit 32 bits.
std::optional<qint32> TryStrToInt(QStringView text);
