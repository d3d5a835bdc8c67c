#include "support/IntegerText.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

struct IntegerCase
{
    const char16_t* Text;
    std::optional<qint32> Expected;
};

class IntegerTextTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTextTest, ConvertsLikeTheOrdinaryConversion)
{
    const IntegerCase& c = GetParam();
    EXPECT_EQ(TryStrToInt(QStringView(c.Text)), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerTextTest,
    testing::Values(IntegerCase{u"200", 200}, IntegerCase{u"$C8", 200}, IntegerCase{u"$c8", 200},
        IntegerCase{u"$1F", 31}, IntegerCase{u"-1", -1}, IntegerCase{u"+7", 7},
        IntegerCase{u"2147483647", INT32_MAX}, IntegerCase{u"-2147483648", INT32_MIN},
        IntegerCase{u"$FFFFFFFF", -1}, IntegerCase{u"2147483648", std::nullopt},
        IntegerCase{u"4294967296", std::nullopt}, IntegerCase{u"$100000000", std::nullopt},
        IntegerCase{u"", std::nullopt}, IntegerCase{u"$", std::nullopt}, IntegerCase{u"-", std::nullopt},
        IntegerCase{u"FF", std::nullopt}, IntegerCase{u" 1", std::nullopt}, IntegerCase{u"1 ", std::nullopt},
        IntegerCase{u"0x10", std::nullopt}, IntegerCase{u"1.5", std::nullopt}));

} // namespace
