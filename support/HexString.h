#pragma once

#include <QString>

// Hexadecimal text to bytes. A byte string is a QString in which each code unit carries one
// byte value: byte n is the character U+0000 + n.

// "0".."9", "A".."F", "a".."f" to 0..15; raises "Illegal hex-character" for anything else.
quint8 HexCharToValue(QChar C);

// Two hexadecimal digits to a byte; the high digit is checked first.
quint8 HexCharsToByte(QChar Hi, QChar Lo);

// Pairs of hexadecimal digits to a byte string. Blanks (U+0020 only) may stand before, between
// and inside the pairs, but not after the last one. Raises "HexStrToByteStr: Hex-character
// missing" for an odd last digit and "Illegal hex-character" for a pair that is no byte.
QString HexStrToByteStr(const QString& S);
