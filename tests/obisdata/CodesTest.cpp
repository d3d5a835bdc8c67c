#include "obisdata/Codes.h"
#include "obisdata/Model.h"
#include "support/Exception.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

struct CodeTextCase
{
    const char* Text;
    std::array<quint8, 6> Expected;
};

class OBISStrToOBISCodeAccepts : public testing::TestWithParam<CodeTextCase> {};

TEST_P(OBISStrToOBISCodeAccepts, ReadsAllSixFields)
{
    const TOBISCode code = TOBISData::OBISStrToOBISCode(QString::fromLatin1(GetParam().Text));
    EXPECT_EQ(code.Items, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, OBISStrToOBISCodeAccepts,
    testing::Values(CodeTextCase{"1.0.1.8.0.255", {1, 0, 1, 8, 0, 255}},
        CodeTextCase{"1.0.1.8.0.255.", {1, 0, 1, 8, 0, 255}}, CodeTextCase{"1.$1F.1.8.0.255", {1, 31, 1, 8, 0, 255}},
        CodeTextCase{"0100010800ff", {1, 0, 1, 8, 0, 255}}, CodeTextCase{"0100010800FF", {1, 0, 1, 8, 0, 255}},
        CodeTextCase{"0100010800F", {1, 0, 1, 8, 0, 15}}, CodeTextCase{"0.0.96.1.0.255", {0, 0, 96, 1, 0, 255}}));

class OBISStrToOBISCodeRejects : public testing::TestWithParam<const char*> {};

TEST_P(OBISStrToOBISCodeRejects, NamesTheInput)
{
    const QString text = QString::fromLatin1(GetParam());
    try {
        TOBISData::OBISStrToOBISCode(text);
        FAIL() << "accepted " << GetParam();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unrecognized OBIS code \"%1\"").arg(text));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, OBISStrToOBISCodeRejects,
    testing::Values("1.0.1.8.0", "1.0.1.8.0.256", "1..1.8.0.255", "1.0.1.8.0.-1", "", "1.0.1.8.0.255..",
        "1.0.1.8.0.255.7", "0100010800FF0", "01000108", "0100010800", "01 0010800FF", "0x00010800FF",
        "1.0.1.8.0. 255", "1.0.1.8.0.x"));

TEST(OBISCodeToOBISStr, WritesDecimalFieldsThatReadBack)
{
    const TOBISCode code{{1, 0, 1, 8, 0, 255}};
    EXPECT_EQ(TOBISData::OBISCodeToOBISStr(code), QStringLiteral("1.0.1.8.0.255"));
    EXPECT_EQ(TOBISData::OBISStrToOBISCode(TOBISData::OBISCodeToOBISStr(code)), code);
}

struct PatternCase
{
    const char* Name;
    TValue Pattern;
    const char* Text;
    TValueKind Kind;
};

class PatternText : public testing::TestWithParam<PatternCase> {};

TEST_P(PatternText, HasKindAndText)
{
    EXPECT_EQ(GetParam().Pattern.Kind, GetParam().Kind);
    EXPECT_EQ(GetParam().Pattern.ToString(), QString::fromLatin1(GetParam().Text));
}

TValue Added(TValue value, std::initializer_list<std::pair<quint8, quint8>> ranges)
{
    for (const auto& [lo, hi] : ranges)
        value.AddRange(lo, hi);
    return value;
}

INSTANTIATE_TEST_SUITE_P(Patterns, PatternText,
    testing::Values(PatternCase{"none", TValue{}, "", TValueKind::vkNone},
        PatternCase{"single", Single(96), "96", TValueKind::vkSingle},
        PatternCase{"range", Range(0, 255), "[0-255]", TValueKind::vkRange},
        PatternCase{"emptyRange", Range(5, 3), "[5-3]", TValueKind::vkRange},
        PatternCase{"newPlusOneValue", Added({}, {{5, 5}}), "5", TValueKind::vkSingle},
        PatternCase{"newPlusRange", Added({}, {{1, 3}}), "[1-3]", TValueKind::vkRange},
        PatternCase{"rangePlusValue", Added(Range(1, 3), {{5, 5}}), "[1-3,5]", TValueKind::vkSet},
        PatternCase{"singlePlusSame", Added(Single(5), {{5, 5}}), "[5]", TValueKind::vkSet},
        PatternCase{"adjacentRanges", Added(Range(1, 2), {{3, 4}}), "[1-4]", TValueKind::vkSet},
        PatternCase{"runsOfTwo", Added({}, {{1, 3}, {5, 5}, {7, 8}}), "[1-3,5,7-8]", TValueKind::vkSet},
        PatternCase{"everything", Added({}, {{0, 0}, {1, 255}}), "[0-255]", TValueKind::vkSet},
        PatternCase{"ends", Added({}, {{0, 0}, {255, 255}}), "[0,255]", TValueKind::vkSet},
        PatternCase{"setPlusEmptyRange", Added(Single(5), {{9, 7}}), "[5]", TValueKind::vkSet}),
    CaseName());

TEST(TValue, AddRangeKeepsTheBytesOfTheFormerKind)
{
    TValue range = Range(1, 3);
    range.AddRange(5, 5);
    EXPECT_EQ(range.LoRange, 1);
    EXPECT_EQ(range.HiRange, 3);

    TValue single = Single(7);
    single.AddRange(9, 9);
    EXPECT_EQ(single.ByteValue, 7);
    EXPECT_EQ(TValue::Another(single)->ByteValue, 7);
}

TEST(TValue, HasElementCoversExactlyThePattern)
{
    TValue set;
    set.AddRange(1, 3);
    set.AddRange(200, 200);
    for (int b = 0; b < 256; ++b) {
        const auto value = static_cast<quint8>(b);
        EXPECT_FALSE(TValue{}.HasElement(value));
        EXPECT_EQ(Single(96).HasElement(value), b == 96);
        EXPECT_EQ(Range(10, 20).HasElement(value), b >= 10 && b <= 20);
        EXPECT_FALSE(Range(5, 3).HasElement(value));
        EXPECT_EQ(set.HasElement(value), (b >= 1 && b <= 3) || b == 200) << b;
    }
}

TEST(TValues, AnotherCopiesDeeplyAndSetValueReplaces)
{
    TValues values;
    for (const TColumn column : AllColumns)
        values.SetValue(column, std::make_unique<TValue>(Single(static_cast<quint8>(column))));
    TValues copy = TValues::Another(values);
    values.SetValue(TColumn::C, std::make_unique<TValue>(Range(1, 9)));
    EXPECT_EQ(values.GetValue(TColumn::C).ToString(), QStringLiteral("[1-9]"));
    EXPECT_EQ(copy.GetValue(TColumn::C).ToString(), QStringLiteral("2"));
    EXPECT_NE(&copy.GetValue(TColumn::A), &values.GetValue(TColumn::A));
}

TEST(Media, NamesAndLabels)
{
    EXPECT_EQ(MediaName(1), QStringLiteral("Electricity (AC)"));
    EXPECT_EQ(MediaName(6), QStringLiteral("Thermal (hot)"));
    EXPECT_EQ(MediaName(3), QString());
    EXPECT_EQ(MediaLabel(3), QStringLiteral("3"));
    EXPECT_EQ(MediaLabel(9), QStringLiteral("Water (hot)"));
}

} // namespace
