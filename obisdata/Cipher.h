#pragma once

#include <QtGlobal>

// The key of the ciphered database container. Each 8-byte block, taken as a little-endian
// 64-bit number, is combined with the key and with the previous ciphered block:
//   C(0) = P(0) ^ CipherKey,   C(i) = P(i) ^ CipherKey ^ C(i - 1).
inline constexpr quint64 CipherKey = 0x5E2D71F06B4CA9E8;
inline constexpr int CipherBlockSize = 8;
