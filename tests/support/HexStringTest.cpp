#include "support/HexString.h"
#include "support/Exception.h"
#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

QString Bytes(std::initializer_list<int> values)
{
    QString bytes;
    for (const int value : values)
        bytes.append(QChar(value));
    return bytes;
}

// The message HexStrToByteStr raises, or the empty string with the bytes it returns.
std::pair<QString, QString> Convert(const QString& text)
{
    try {
        return {HexStrToByteStr(text), QString()};
    } catch (const Exception& e) {
        return {QString(), e.Message()};
    }
}

struct HexCase
{
    std::string Name;
    QString Text;
    QString Expected;
    QString Error;
};

class HexStrToByteStrTest : public testing::TestWithParam<HexCase>
{
};

TEST_P(HexStrToByteStrTest, ConvertsOrRaises)
{
    const HexCase& c = GetParam();
    const auto [bytes, error] = Convert(c.Text);
    EXPECT_EQ(bytes, c.Expected);
    if (c.Error.isEmpty())
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    else
        EXPECT_TRUE(error.startsWith(c.Error)) << error.toStdString();
}

const QString Illegal = QStringLiteral("Illegal hex-character");
const QString Missing = QStringLiteral("HexStrToByteStr: Hex-character missing");
const QString TrailingBlanks = QStringLiteral("HexStrToByteStr:");

INSTANTIATE_TEST_SUITE_P(Cases, HexStrToByteStrTest,
    testing::Values(HexCase {"Empty", QString(), QString(), QString()},
        HexCase {"Pairs", QStringLiteral("4142"), QStringLiteral("AB"), QString()},
        HexCase {"BlanksBetweenPairs", QStringLiteral("41 42"), QStringLiteral("AB"), QString()},
        HexCase {"BlankInsideAPair", QStringLiteral("4 1"), QStringLiteral("A"), QString()},
        HexCase {"LeadingBlank", QStringLiteral(" 4142"), QStringLiteral("AB"), QString()},
        HexCase {"EitherLetterCase", QStringLiteral("0a0B"), Bytes({0x0A, 0x0B}), QString()},
        HexCase {"SixBytes", QStringLiteral("0102030405FF"), Bytes({1, 2, 3, 4, 5, 0xFF}), QString()},
        HexCase {"OddLastDigit", QStringLiteral("123"), QString(), Missing},
        HexCase {"OddLastDigitIsNotTested", QStringLiteral("12G"), QString(), Missing},
        HexCase {"IllegalFirstPair", QStringLiteral("G123"), QString(), Illegal},
        HexCase {"TabIsNoBlank", QStringLiteral("41\t42"), QString(), Illegal},
        HexCase {"NonAscii", QStringLiteral("4\u00E9"), QString(), Illegal},
        HexCase {"TrailingBlank", QStringLiteral("4142 "), QString(), TrailingBlanks},
        HexCase {"OnlyBlanks", QStringLiteral("  "), QString(), TrailingBlanks}),
    [](const testing::TestParamInfo<HexCase>& tested) { return tested.param.Name; });

TEST(HexCharToValue, CoversTheHexDigitsOnly)
{
    EXPECT_EQ(HexCharToValue(u'0'), 0);
    EXPECT_EQ(HexCharToValue(u'9'), 9);
    EXPECT_EQ(HexCharToValue(u'A'), 10);
    EXPECT_EQ(HexCharToValue(u'f'), 15);
    for (const char16_t c : {u'G', u'g', u' ', u'/', u':', u'@', u'`', u'\u0660'})
        EXPECT_THROW(HexCharToValue(c), Exception) << static_cast<int>(c);
}

TEST(HexCharsToByte, ChecksTheHighDigitFirst)
{
    EXPECT_EQ(HexCharsToByte(u'F', u'e'), 0xFE);
    EXPECT_EQ(HexCharsToByte(u'0', u'0'), 0);
    EXPECT_THROW(HexCharsToByte(u'0', u'x'), Exception);
    EXPECT_THROW(HexCharsToByte(u'x', u'y'), Exception);
}

} // namespace
