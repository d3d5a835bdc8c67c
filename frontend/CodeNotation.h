#pragma once

#include "obisdata/Codes.h"

#include <QString>

// How people write OBIS codes: the forms meters print, read into the six groups.

// Groups A and B of the codes a readout writes without them ("1.8.0"): --media A[-B].
struct TMediaGroups
{
    quint8 A = 1; // electricity
    quint8 B = 0;
};

// "A" or "A-B", each 0..255. Raises an Exception saying what is wrong.
TMediaGroups ReadMediaGroups(const QString& text);

// One code as people write it, blanks around it ignored:
//   A.B.C.D.E.F            1.0.1.8.0.255 (leading zeros allowed)
//   A-B:C.D.E*F, &F or .F  1-0:1.8.0*255; after * or & F is decimal, or two hexadecimal
//                          digits when it holds a letter (*FF is 255)
//   A-B:C.D.E, A-B:C.D     reduced: F = 255, and E = 0 where it is missing
//   C.D.E, C.D, C.D.E*F    as IEC 62056-21 readouts print them: A and B from media
//   12 hexadecimal digits  0100010800FF, 01 00 01 08 00 ff, 01:00:01:08:00:FF, 0x0100010800FF
// In groups C and D the letters C, F, L and P stand for 96, 97, 98 and 99 (F.F is 97.97); a
// reduced code whose group C is such a letter is a general-purpose object, so its A is 0
// (C.1.0 is 0.B.96.1.0.255).
// Raises an Exception: Cannot read "<text>" as an OBIS code: <what is wrong>.
TOBISCode ReadCodeNotation(const QString& text, const TMediaGroups& media = {});

