#include "obisdata/Model.h"
#include "obisdata/Search.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitWords, CutsAtTheThirteenDelimitersOnly)
{
    EXPECT_EQ(SplitWords(u"Active power (+P), L1/L2"), Lines({"Active", "power", "P", "L1", "L2"}));
    EXPECT_EQ(SplitWords(u"a;b:c"), Lines({"a;b:c"}));
    EXPECT_EQ(SplitWords(u" #$()*+,-./<=x=<"), Lines({"x"}));
    EXPECT_EQ(SplitWords(u"!?>&%'\"\t_[]|é"), Lines({"!?>&%'\"\t_[]|é"}));
    EXPECT_TRUE(SplitWords(u"").isEmpty());
    EXPECT_TRUE(SplitWords(u" - ").isEmpty());
}

// Media 0, 1 and 7 with a few definitions.
class Search : public testing::Test
{
protected:
    void SetUp() override
    {
        AddLines(Database, 1,
            {",1,0,1,8,0-4,255,,Active energy,Total,,,3,,6", ",1,0,2,8,0,255,,Reactive energy,,,,3,,",
                ",1,0,32,7,0,255,,Voltage L1,Energy,,,,,", ",1,0-64,1,8,0,255,,Channel $B,,,,,,"},
            10);
        AddLines(Database, 0, {",0,0,96,1,0,255,,Meter serial number,,,,1,,9"}, 20);
        AddLines(Database, 7, {",7,0,3,0,0,255,,Gas volume,,,,3,,"}, 30);
    }

    QStringList Find(const QStringList& plus, const QStringList& minus = {}, const char* code = "0.0.0.0.0.0",
        TOBISCodeFilter filter = {})
    {
        return Database.GetMatchingLines(plus, minus, Code(code), filter);
    }

    QStringList LineNumbers(const QStringList& lines)
    {
        QStringList numbers;
        for (const QString& line : lines)
            numbers.append(line.section(u'|', 0, 0));
        return numbers;
    }

    TOBISData Database;
};

TEST_F(Search, WithoutFilterAndWordsListsEveryDefinitionMediaByMedia)
{
    EXPECT_EQ(LineNumbers(Find({})), Lines({"20", "10", "11", "12", "13", "30"}));
    EXPECT_EQ(Find({}).first(), QStringLiteral("20|{A=0, B=0, C=96, D=1, E=0, F=255}|Meter serial number|IC=1 Types=9 "));
}

TEST_F(Search, FieldAChoosesTheMediaList)
{
    EXPECT_EQ(LineNumbers(Find({}, {}, "7.0.0.0.0.0", FilterOf({TColumn::A}))), Lines({"30"}));
    EXPECT_TRUE(Find({}, {}, "12.0.0.0.0.0", FilterOf({TColumn::A})).isEmpty());
    EXPECT_TRUE(Find({}, {}, "3.0.0.0.0.0", FilterOf({TColumn::A})).isEmpty());
}

TEST_F(Search, FilteredFieldsMustBeCoveredAndOthersAreIgnored)
{
    EXPECT_EQ(LineNumbers(Find({}, {}, "9.9.1.9.9.9", FilterOf({TColumn::C}))), Lines({"10", "13"}));
    EXPECT_EQ(LineNumbers(Find({}, {}, "1.64.1.8.0.255", FilterOf({TColumn::A, TColumn::B, TColumn::C}))),
        Lines({"13"}));
    EXPECT_EQ(LineNumbers(Find({}, {}, "1.0.1.8.4.0", FilterOf({TColumn::E}))), Lines({"10"}));
}

struct WordCase
{
    const char* Name;
    QStringList Plus;
    QStringList Minus;
    QStringList Expected;
};

class SearchWords : public Search, public testing::WithParamInterface<WordCase> {};

TEST_P(SearchWords, SelectsByWordsAndPhrases)
{
    EXPECT_EQ(LineNumbers(Find(GetParam().Plus, GetParam().Minus)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SearchWords,
    testing::Values(
        // "energy" ends the last text of 11 and 12 but the first of two texts of 10 ("energy;").
        WordCase{"plainWord", Lines({"ENERGY"}), {}, Lines({"11", "12"})},
        WordCase{"wordWithSemicolon", Lines({"energy;"}), {}, Lines({"10"})},
        WordCase{"phraseFindsBoth", Lines({"\"energy\""}), {}, Lines({"10", "11", "12"})},
        WordCase{"phraseInTheCodePart", Lines({"\"A=7\""}), {}, Lines({"30"})},
        WordCase{"phraseInTheClassSection", Lines({"\"types=9\""}), {}, Lines({"20"})},
        WordCase{"allPlusWords", Lines({"energy", "reactive"}), {}, Lines({"11"})},
        WordCase{"minusWord", Lines({"energy"}), Lines({"reactive"}), Lines({"12"})},
        WordCase{"minusWordWithSemicolonDoesNotCount", {}, Lines({"energy"}), Lines({"20", "10", "13", "30"})},
        WordCase{"minusPhrase", {}, Lines({"\"energy\""}), Lines({"20", "13", "30"})},
        WordCase{"emptyPhraseAsPlusRejectsAll", Lines({"\""}), {}, {}},
        WordCase{"emptyPhraseAsMinusRejectsNone", {}, Lines({"\"\""}), Lines({"20", "10", "11", "12", "13", "30"})},
        WordCase{"emptyEntriesAreIgnored", Lines({""}), Lines({""}), Lines({"20", "10", "11", "12", "13", "30"})},
        WordCase{"placeholderWord", Lines({"b"}), {}, Lines({"13"})},
        WordCase{"noMatch", Lines({"water"}), {}, {}}),
    CaseName());

TEST(SearchWordTest, NonAsciiLettersMatchOnlyInTheSameCase)
{
    TOBISData database;
    AddLines(database, 1, {",1,0,1,8,0,255,,Énergie,,,,,,"});
    const TOBISCode code{};
    EXPECT_EQ(database.GetMatchingLines(Lines({"Énergie"}), {}, code, {}).size(), 1);
    EXPECT_EQ(database.GetMatchingLines(Lines({"éNERGIE"}), {}, code, {}).size(), 0);
    EXPECT_EQ(database.GetMatchingLines(Lines({"énergie"}), {}, code, {}).size(), 0);
}

TEST(SearchWordTest, ABarInATextEndsTheTextsSectionForWords)
{
    TOBISData database;
    AddLines(database, 1, {",1,0,1,8,0,255,,left|right,,,,,,"});
    const TOBISCode code{};
    EXPECT_EQ(database.GetMatchingLines(Lines({"right"}), {}, code, {}).size(), 0);
    EXPECT_EQ(database.GetMatchingLines(Lines({"left"}), {}, code, {}).size(), 1);
    EXPECT_EQ(database.GetMatchingLines(Lines({"\"right\""}), {}, code, {}).size(), 1);
}

TEST(AllWords, SortedWithoutCaseEachOnceFirstFormKept)
{
    TOBISData database;
    AddLines(database, 2, {",2,0,1,8,0,255,,energy Beta,,,,,,"});
    AddLines(database, 1, {",1,0,1,8,0,255,,Energy,alpha,,,,,", ",1,0,1,8,1,255,,ENERGY (kWh),,,,,,"});
    EXPECT_EQ(database.AllWords(), Lines({"alpha", "Beta", "Energy", "kWh"}));
}

// Built once per content: lines processed one by one leave it as it is, media lists moved in
// by a load rebuild it.
TEST(AllWords, IsBuiltOncePerContent)
{
    TOBISData database;
    EXPECT_TRUE(database.AllWords().isEmpty());
    AddLines(database, 1, {",1,0,1,8,0,255,,Energy,,,,,,"});
    EXPECT_TRUE(database.AllWords().isEmpty());
    EXPECT_TRUE(database.GetMatchingLines({}, {}, TOBISCode{}, {}).size() == 1);

    TOBISData loaded;
    AddLines(loaded, 1, {",1,0,1,8,0,255,,Power,,,,,,"});
    database.TakeMediaLists(loaded);
    EXPECT_EQ(database.AllWords(), Lines({"Power"}));
}

} // namespace
