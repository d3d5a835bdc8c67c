#include "tests/QtPrinters.h"
#include "frontend/CodeNotation.h"
#include "obisdata/Model.h"
#include "support/Exception.h"

#include <gtest/gtest.h>

namespace {

struct AcceptedCase
{
    const char* Text;
    const char* Code;
    TMediaGroups Media = {};
};

class AcceptedNotations : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedNotations, GiveTheSixGroups)
{
    const AcceptedCase& c = GetParam();
    EXPECT_EQ(TOBISData::OBISCodeToOBISStr(ReadCodeNotation(QString::fromLatin1(c.Text), c.Media)),
        QString::fromLatin1(c.Code))
        << c.Text;
}

INSTANTIATE_TEST_SUITE_P(Forms, AcceptedNotations,
    testing::Values(
        // the six dotted groups, leading zeros and blanks around allowed
        AcceptedCase{"1.0.1.8.0.255", "1.0.1.8.0.255"}, AcceptedCase{"  001.000.001.008.000.255 ", "1.0.1.8.0.255"},
        // A-B:C.D.E with F after "*", "&" or "."
        AcceptedCase{"1-0:1.8.1*255", "1.0.1.8.1.255"}, AcceptedCase{"1-0:1.8.1&255", "1.0.1.8.1.255"},
        AcceptedCase{"1-0:1.8.1.255", "1.0.1.8.1.255"}, AcceptedCase{"1-1:1.8.0*12", "1.1.1.8.0.12"},
        AcceptedCase{"1-0:1.8.0*FF", "1.0.1.8.0.255"}, AcceptedCase{"1-0:1.8.0&0A", "1.0.1.8.0.10"},
        AcceptedCase{"1-0:1.8.0*10", "1.0.1.8.0.10"},
        // reduced: F = 255, E = 0
        AcceptedCase{"1-0:1.8.1", "1.0.1.8.1.255"}, AcceptedCase{"0-1:24.2.1", "0.1.24.2.1.255"},
        AcceptedCase{"1-0:99.97", "1.0.99.97.0.255"},
        // without A-B: the media's groups, letters in C and D
        AcceptedCase{"1.8.0", "1.0.1.8.0.255"}, AcceptedCase{"32.7.0", "1.0.32.7.0.255"},
        AcceptedCase{"0.9.1", "1.0.0.9.1.255"}, AcceptedCase{"1.8.0*12", "1.0.1.8.0.12"},
        AcceptedCase{"1.8.0", "7.2.1.8.0.255", {7, 2}}, AcceptedCase{"C.1.0", "0.0.96.1.0.255"},
        AcceptedCase{"C.1.0", "0.3.96.1.0.255", {7, 3}}, AcceptedCase{"F.F", "0.0.97.97.0.255"},
        AcceptedCase{"L.1", "0.0.98.1.0.255"}, AcceptedCase{"P.01", "0.0.99.1.0.255"},
        AcceptedCase{"1-0:C.1.0", "1.0.96.1.0.255"},
        // hexadecimal octets
        AcceptedCase{"0100010800FF", "1.0.1.8.0.255"}, AcceptedCase{"0100010800ff", "1.0.1.8.0.255"},
        AcceptedCase{"01 00 01 08 00 ff", "1.0.1.8.0.255"}, AcceptedCase{"01:00:01:08:00:FF", "1.0.1.8.0.255"},
        AcceptedCase{"0x0100010800FF", "1.0.1.8.0.255"}, AcceptedCase{"0x01 0x00 0x01 0x08 0x00 0xFF", "1.0.1.8.0.255"},
        AcceptedCase{"0000600103FF", "0.0.96.1.3.255"}));

struct RefusedCase
{
    const char* Text;
    const char* Message;
};

class RefusedNotations : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedNotations, SayWhatIsWrong)
{
    const RefusedCase& c = GetParam();
    try {
        ReadCodeNotation(QString::fromLatin1(c.Text));
        ADD_FAILURE() << c.Text << " was accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot read \"%1\" as an OBIS code: %2")
                                   .arg(QString::fromLatin1(c.Text), QString::fromLatin1(c.Message)));
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, RefusedNotations,
    testing::Values(RefusedCase{"", "the text is empty"},
        RefusedCase{"1.0.1.8.300.255", "group E is 300, more than 255"},
        RefusedCase{"1-0:1.8.0*256", "group F is 256, more than 255"},
        RefusedCase{"1.0.1.8.0", "5 groups, where A.B.C.D.E.F has 6 and a reduced code C.D or C.D.E"},
        RefusedCase{"1.0.1.8", "4 groups, where A.B.C.D.E.F has 6 and a reduced code C.D or C.D.E"},
        RefusedCase{"1.0.1.8.0.255.1", "7 groups, where A.B.C.D.E.F has 6 and a reduced code C.D or C.D.E"},
        RefusedCase{"1..1.8.0.255", "group B is empty"},
        RefusedCase{"1.0.x.8.0.255", "group C is \"x\", not a number"},
        RefusedCase{"1.0.1.8.0.-1", "group F is \"-1\", not a number"},
        RefusedCase{"C.1.0.255.1", "5 groups, where A.B.C.D.E.F has 6 and a reduced code C.D or C.D.E"},
        RefusedCase{"1.C.1.0.0.255", "group B is \"C\", not a number"},
        RefusedCase{"1-0:1", "1 groups after \"A-B:\" or in a reduced code, where C.D, C.D.E or C.D.E*F are read"},
        RefusedCase{"1-0:1.8.0.1*255", "5 groups after \"A-B:\" or in a reduced code, where C.D, C.D.E or C.D.E*F are read"},
        RefusedCase{"1:1.8.0", "\"1\" before the \":\" is not A-B"},
        RefusedCase{"1-0:1.8.0*2*3", "more than one \"*\" or \"&\""},
        RefusedCase{"0100010800", "10 hexadecimal digits, where a code has 12"},
        RefusedCase{"0100010800FF0", "13 hexadecimal digits, where a code has 12"},
        RefusedCase{"kWh", "neither groups separated by \".\" nor 12 hexadecimal digits"}));

TEST(MediaGroups, ReadAOrAB)
{
    EXPECT_EQ(ReadMediaGroups(QStringLiteral("7")).A, 7);
    EXPECT_EQ(ReadMediaGroups(QStringLiteral("7")).B, 0);
    EXPECT_EQ(ReadMediaGroups(QStringLiteral("0-1")).B, 1);
    for (const char* bad : {"", "x", "256", "1-2-3", "1-", "-1"})
        EXPECT_THROW(ReadMediaGroups(QString::fromLatin1(bad)), Exception) << bad;
}

} // namespace
