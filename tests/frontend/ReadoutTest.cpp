#include "tests/QtPrinters.h"
#include "frontend/Readout.h"
#include "obisdata/Model.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const TReadoutValue& value, std::ostream* out)
{
    *out << '{' << value.Value.toStdString() << " | " << value.Unit.toStdString();
    if (value.Text)
        *out << " | spells " << value.Text->toStdString();
    *out << '}';
}

namespace {

// What one line of a readout reads as.
struct LineCase
{
    const char* Line;
    const char* CodeText;             // "" when the line carries no code
    const char* Code;                 // the six groups, or "" when none or refused
    const char* Error;                // a part of the message, or "" when none
    std::vector<TReadoutValue> Values;
};

class ReadoutLines : public testing::TestWithParam<LineCase> {};

TEST_P(ReadoutLines, SplitCodeAndValuesAsWritten)
{
    const LineCase& c = GetParam();
    const std::vector<TReadoutLine> lines = ReadReadout(QByteArray(c.Line), {});
    ASSERT_EQ(lines.size(), 1u);
    const TReadoutLine& line = lines[0];
    EXPECT_EQ(line.Text, QString::fromUtf8(c.Line));
    EXPECT_EQ(line.CodeText, QString::fromUtf8(c.CodeText));
    EXPECT_EQ(line.Code ? TOBISData::OBISCodeToOBISStr(*line.Code) : QString(), QString::fromUtf8(c.Code));
    if (*c.Error == '\0')
        EXPECT_EQ(line.Error, QString());
    else
        EXPECT_TRUE(line.Error.contains(QString::fromUtf8(c.Error))) << line.Error.toStdString();
    EXPECT_EQ(line.Values, c.Values);
}

INSTANTIATE_TEST_SUITE_P(Readout, ReadoutLines, testing::Values(
    // P1 telegrams
    LineCase{"1-0:1.8.1(004512.318*kWh)", "1-0:1.8.1", "1.0.1.8.1.255", "", {{"004512.318", "kWh", {}}}},
    LineCase{"0-0:1.0.0(261210183000W)", "0-0:1.0.0", "0.0.1.0.0.255", "", {{"261210183000W", "", {}}}},
    LineCase{"0-1:24.2.1(261210183000W)(01873.415*m3)", "0-1:24.2.1", "0.1.24.2.1.255", "",
        {{"261210183000W", "", {}}, {"01873.415", "m3", {}}}},
    LineCase{"1-0:99.97.0(2)(0-0:96.7.19)(261001120000S)(0000000240*s)(261105083000W)(0000000301*s)",
        "1-0:99.97.0", "1.0.99.97.0.255", "",
        {{"2", "", {}}, {"0-0:96.7.19", "", {}}, {"261001120000S", "", {}}, {"0000000240", "s", {}},
            {"261105083000W", "", {}}, {"0000000301", "s", {}}}},
    LineCase{"0-0:96.1.1(4B 31 32)", "0-0:96.1.1", "0.0.96.1.1.255", "", {{"4B 31 32", "", QString("K12")}}},
    LineCase{"0-0:96.13.0(0102)", "0-0:96.13.0", "0.0.96.13.0.255", "", {{"0102", "", {}}}},
    LineCase{"1-0:1.8.1(0012.5*kWh)  (extra)", "1-0:1.8.1", "1.0.1.8.1.255", "",
        {{"0012.5", "kWh", {}}, {"extra", "", {}}}},
    LineCase{"0-1:24.3.0(261210180000)(08)(60)(1)(0-1:24.2.1)(m3)", "0-1:24.3.0", "0.1.24.3.0.255", "",
        {{"261210180000", "", {}}, {"08", "", {}}, {"60", "", {}}, {"1", "", {}}, {"0-1:24.2.1", "", {}},
            {"m3", "", {}}}},
    LineCase{"(01873.415)", "", "", "", {{"01873.415", "", {}}}},
    LineCase{"/KES5\\2KT101-NL", "", "", "", {}},
    LineCase{"!", "", "", "", {}},
    // IEC 62056-21 data blocks
    LineCase{"1.8.0(0012345.6*kWh)", "1.8.0", "1.0.1.8.0.255", "", {{"0012345.6", "kWh", {}}}},
    LineCase{"\x02" "F.F(00)", "F.F", "0.0.97.97.0.255", "", {{"00", "", {}}}},
    LineCase{"C.1.0(87654321)", "C.1.0", "0.0.96.1.0.255", "", {{"87654321", "", {}}}},
    LineCase{"1-1:1.8.0*12(0001234.5*kWh)", "1-1:1.8.0*12", "1.1.1.8.0.12", "", {{"0001234.5", "kWh", {}}}},
    LineCase{"\x03" "A7", "", "", "", {}},
    // SML text dumps
    LineCase{"1-0:1.8.0*255#12345678.9#Wh", "1-0:1.8.0*255", "1.0.1.8.0.255", "", {{"12345678.9", "Wh", {}}}},
    LineCase{"1-0:96.1.0*255#4b 45 53#", "1-0:96.1.0*255", "1.0.96.1.0.255", "", {{"4b 45 53", "", QString("KES")}}},
    LineCase{"    objName: 01 00 01 08 00 ff", "01 00 01 08 00 ff", "1.0.1.8.0.255", "", {}},
    LineCase{"  serverId: 0a 01 4b 45 53 00 00 01 e2 40", "", "", "", {}},
    // Codes that cannot be read are kept with the reader's message
    LineCase{"129-0:1.8.0(0000012.0*kWh)", "129-0:1.8.0", "129.0.1.8.0.255", "", {{"0000012.0", "kWh", {}}}},
    LineCase{"1-0:1.8.300(000218.004*kWh)", "1-0:1.8.300", "", "300", {{"000218.004", "kWh", {}}}},
    LineCase{"1-0:2.8.2(000507", "1-0:2.8.2", "", "no closing", {}},
    LineCase{"1-0:2.8.2(000507.660*kWh) kWh", "1-0:2.8.2", "", "after the last value", {}},
    // Lines without a code pass through
    LineCase{"Meter (spare) cabinet 3", "", "", "", {}},
    LineCase{"  \t", "", "", "", {}},
    LineCase{"e.g.(this)", "", "", "", {}}));

TEST(ReadoutLineEnds, EveryFormEndsALineAndALastLineNeedsNone)
{
    const std::vector<TReadoutLine> lines = ReadReadout("a\nb\r\nc\rd", {});
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[i].Number, i + 1);
        EXPECT_EQ(lines[i].Text, QString(QChar(u'a' + i)));
    }
}

TEST(ReadoutMedia, GivesTheGroupsOfReducedCodes)
{
    const std::vector<TReadoutLine> lines = ReadReadout("3.8.0(000123*m3)\n7-1:3.8.0(000124*m3)", {7, 2});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(TOBISData::OBISCodeToOBISStr(*lines[0].Code), "7.2.3.8.0.255");
    EXPECT_EQ(TOBISData::OBISCodeToOBISStr(*lines[1].Code), "7.1.3.8.0.255");
}

TEST(Crc16Arc, HasTheCheckValueOfItsCatalogue)
{
    EXPECT_EQ(Crc16Arc("123456789"), 0xBB3D);
    EXPECT_EQ(Crc16Arc(""), 0);
}

QByteArray WithCrc(const QByteArray& telegram)
{
    return telegram + QByteArray::number(Crc16Arc(telegram), 16).toUpper().rightJustified(4, '0') + "\r\n";
}

const TCrcCheck& CrcOfLastLine(const std::vector<TReadoutLine>& lines)
{
    const auto crcLine = std::find_if(lines.rbegin(), lines.rend(), [](const auto& l) { return l.Crc; });
    if (crcLine == lines.rend())
        throw std::runtime_error("no CRC line");
    return *crcLine->Crc;
}

TEST(ReadoutCrc, HoldsOverTheTelegramFromItsSlashToItsMark)
{
    const QByteArray telegram = "/KES5 test\r\n\r\n1-0:1.8.1(000001.000*kWh)\r\n!";
    const std::vector<TReadoutLine> lines = ReadReadout("text before it\r\n" + WithCrc(telegram), {});
    const TCrcCheck& crc = CrcOfLastLine(lines);
    EXPECT_TRUE(crc.Holds);
    EXPECT_EQ(crc.Written, Crc16Arc(telegram));
    EXPECT_FALSE(crc.WithCrLf);
}

TEST(ReadoutCrc, DoesNotHoldWhenAValueChanged)
{
    QByteArray readout = WithCrc("/KES5 test\r\n\r\n1-0:1.8.1(000001.000*kWh)\r\n!");
    readout.replace("000001.000", "000001.001");
    const TCrcCheck& crc = CrcOfLastLine(ReadReadout(readout, {}));
    EXPECT_FALSE(crc.Holds);
    EXPECT_NE(crc.Computed, crc.Written);
}

TEST(ReadoutCrc, HoldsOnATelegramPastedWithLineFeedsAlone)
{
    QByteArray pasted = WithCrc("/KES5 test\r\n\r\n1-0:1.8.1(000001.000*kWh)\r\n!");
    pasted.replace("\r\n", "\n");
    const TCrcCheck& crc = CrcOfLastLine(ReadReadout(pasted, {}));
    EXPECT_TRUE(crc.Holds);
    EXPECT_TRUE(crc.WithCrLf);
}

TEST(ReadoutCrc, ChecksEachTelegramOfSeveral)
{
    const QByteArray first = WithCrc("/KES5 one\r\n\r\n1-0:1.8.1(000001.000*kWh)\r\n!");
    QByteArray second = WithCrc("/KES5 two\r\n\r\n1-0:1.8.1(000002.000*kWh)\r\n!");
    second.replace("000002.000", "000002.500");
    std::vector<bool> holds;
    for (const TReadoutLine& line : ReadReadout(first + second, {}))
        if (line.Crc)
            holds.push_back(line.Crc->Holds);
    EXPECT_EQ(holds, (std::vector<bool>{true, false}));
}

TEST(ReadoutCrc, IsNoneWithoutFourHexadecimalDigits)
{
    for (const char* end : {"!", "!12", "!12345", "!XYZW"})
        EXPECT_FALSE(ReadReadout(end, {})[0].Crc.has_value()) << end;
}

// The sample readouts of each format: every line with a code reads it, and the P1 CRCs hold.
class SampleReadouts : public testing::TestWithParam<const char*> {};

TEST_P(SampleReadouts, ReadEveryCodeTheyCarry)
{
    QFile file(QDir(QStringLiteral(KESTRUNE_READOUTS)).filePath(QString::fromUtf8(GetParam())));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << GetParam();
    int codes = 0;
    for (const TReadoutLine& line : ReadReadout(file.readAll(), {})) {
        EXPECT_EQ(line.Error, QString()) << GetParam() << ':' << line.Number;
        EXPECT_TRUE(!line.Crc || line.Crc->Holds) << GetParam() << ':' << line.Number;
        codes += line.Code ? 1 : 0;
    }
    EXPECT_GT(codes, 2) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Readout, SampleReadouts, testing::Values(
    "p1-dsmr5.txt", "p1-dsmr22.txt", "p1-belgium.txt", "p1-luxembourg.txt",
    "iec-mode-c.txt", "sml-text.txt", "sml-hex.txt"));

} // namespace
