#pragma once

#include "frontend/CodeNotation.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

// A meter readout as text (P1 telegrams, IEC 62056-21 data blocks, SML text dumps) read line by line.
//
// Lines end at LF, CR LF or a lone CR; a last line without a line end is a line too. Each line is
// read on its own, after the framing characters STX and the blanks at its start, by the first rule
// that fits:
//   "/..."              the identification line that opens a telegram: no code
//   "!" or "!XXXX"      the end of a telegram, with its CRC when four hexadecimal digits follow: no code
//   ETX ...             the end of a data block with its BCC: no code
//   CODE(V)(V*U)...     P1 and IEC 62056-21 data lines: the code is the text before the first "(",
//                       every "(...)" after it is a value; blanks between them are allowed
//   CODE#V#U            SML text lines: the code is the text before the first "#", the value runs to
//                       the next "#", the unit is the rest
//   (V)...              a line of values alone (a DSMR 2.2 gas value continued): values, no code
//   01 00 01 08 00 ff   SML hexadecimal form: six octets of two hexadecimal digits separated by
//                       blanks, as the whole line or as all of it after its last ":" ("objName: ...");
//                       no values. Other octet strings (a server id of ten octets) are no code.
// The text before "(" or "#" is taken as a code when it is one word of letters, digits and
// ". : - * &" with a "." or ":" in it that begins with a digit or with C., F., L. or P. (the IEC
// letters); anything else ("Meter (spare)") is no code and passes through with no values. A code
// that ReadCodeNotation refuses keeps its CodeText and gets the message as its Error, and so does a
// line whose values do not come to an end or have other text after them (one code a line).

// One value of a readout line, split as written, no arithmetic: "(001234.567*kWh)" is 001234.567 and
// kWh; "(101209112500W)" has no unit; "#1234.5#Wh" of an SML line is 1234.5 and Wh. The unit is what
// follows the last "*" unless that is a number: a value that is itself a code ("(1-0:1.8.0*255)",
// "(0-0:96.7.19)") stays whole.
struct TReadoutValue
{
    QString Value;
    QString Unit;                 // empty when the value has none
    std::optional<QString> Text;  // the text a value in hexadecimal spells, for the text objects of
                                  // 96.1.x and 96.13.x (equipment identifiers, messages), when every
                                  // byte is printable ASCII; blanks between the digits are ignored

    bool operator==(const TReadoutValue&) const = default;
};

// The CRC line "!XXXX" that ends a P1 telegram: CRC-16/ARC (polynomial 0x8005 reflected = 0xA001,
// initial value 0, no final xor) over the telegram's bytes from its "/" up to and including the "!".
// A telegram whose identification line is missing runs from the start of the input, or from the line
// after the previous "!" line. When the telegram has line ends of LF alone (pasted), the check also
// tries it with CR LF line ends, as the meter sends them, and holds if either holds.
struct TCrcCheck
{
    quint16 Written;   // the four hexadecimal digits of the line
    quint16 Computed;  // over the bytes as read; over the CR LF form when that differs from them and
                       // the bytes as read do not hold
    bool Holds;
    bool WithCrLf = false; // Computed is over the CR LF form of the telegram
};

struct TReadoutLine
{
    int Number = 0;                  // 1-based, in its input
    QString Text;                    // the line as read, without its line end
    QString CodeText;                // the code as written; empty when the line carries none
    std::optional<TOBISCode> Code;   // CodeText read (with the media groups for reduced codes)
    QString Error;                   // why CodeText could not be read (ReadCodeNotation's message)
    std::vector<TReadoutValue> Values;
    std::optional<TCrcCheck> Crc;    // on the CRC line of a P1 telegram
};

// Every line of the readout, in order: lines without a code (header "/XXX5...", "!" without CRC,
// blank lines, framing, garbage, value-only continuation lines) have an empty CodeText.
std::vector<TReadoutLine> ReadReadout(const QByteArray& readout, const TMediaGroups& media);

// CRC-16/ARC of the bytes.
quint16 Crc16Arc(QByteArrayView bytes);
