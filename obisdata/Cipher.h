#pragma once

#include <QtGlobal>

// The key of the ciphered database container. Each 8-byte block, taken as a little-endian
// 64-bit number, is combined with the key and with the previous ciphered block:
//   C(0) = P(0) ^ CipherKey,   C(i) = P(i) ^ CipherKey ^ C(i - 1).
inline constexpr quint64 CipherKey = 0x5E2D71F06B4CA9E8;
inline constexpr int CipherBlockSize = 8;

// Deciphers count bytes of a ciphered container, from offset on, into target. Each plain
// byte needs only its ciphered byte and the one a block before it, so any part of a container
// deciphers on its own.
void DecipherBytes(const char* container, qint64 offset, qint64 count, char* target);
