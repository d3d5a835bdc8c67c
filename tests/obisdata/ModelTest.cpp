#include "obisdata/Limits.h"
#include "obisdata/Model.h"
#include "support/Exception.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

const std::array<TValue, 6> Row17{Single(1), Single(0), Single(1), Single(8), Range(0, 4), Single(255)};

TEST(ResultLine, FollowsTheSevenSteps)
{
    auto item = MakeItem(17, Row17, {"Active energy", "Total", "", "", ""});
    item->InterfaceClasses = std::make_unique<TValue>(Single(3));
    item->ValueTypes = std::make_unique<TValue>(Single(6));
    EXPECT_EQ(item->ToString(), QStringLiteral("17|{A=1, B=0, C=1, D=8, E=[0-4], F=255}|Active energy; Total|IC=3 Types=6 "));

    item->IsTableExpansion = true;
    EXPECT_EQ(item->ToString(), QStringLiteral("*17|{A=1, B=0, C=1, D=8, E=[0-4], F=255}|Active energy; Total|IC=3 Types=6 "));
    item->IsAmpersAndExpansion = true;
    EXPECT_TRUE(item->ToString().startsWith(QStringLiteral("&*17|")));
}

TEST(ResultLine, EndsAfterThePatternsWithoutTextsOrClasses)
{
    EXPECT_EQ(MakeItem(17, Row17, {"", "", "", "", ""})->ToString(),
        QStringLiteral("17|{A=1, B=0, C=1, D=8, E=[0-4], F=255}|"));
}

TEST(ResultLine, HasTheClassSectionWhenOnlyAClassIsSet)
{
    auto item = MakeItem(3, Row17, {"", "", "", "", ""});
    item->InterfaceClasses = std::make_unique<TValue>(Single(8));
    EXPECT_TRUE(item->ToString().endsWith(QStringLiteral("}||IC=8 ")));

    // A present pattern of kind none counts as an empty text.
    item->InterfaceClasses = std::make_unique<TValue>();
    item->AltInterfaceClasses = std::make_unique<TValue>(Range(1, 2));
    EXPECT_TRUE(item->ToString().endsWith(QStringLiteral("}||AltIC=[1-2] ")));
}

TEST(ResultLine, SkipsEmptyTextsWithoutLeavingSeparators)
{
    EXPECT_TRUE(MakeItem(1, Row17, {"a", "", "b", "", "c"})->ToString().endsWith(QStringLiteral("}|a; b; c")));
}

TEST(TOBISItemData, CloneCopiesEverythingButTheFlags)
{
    auto item = MakeItem(17, Row17, {"x", "y", "", "", ""});
    item->AltInterfaceClasses = std::make_unique<TValue>(Single(4));
    item->IsTableExpansion = true;
    item->IsAmpersAndExpansion = true;
    const auto copy = item->Clone();
    EXPECT_FALSE(copy->IsTableExpansion);
    EXPECT_FALSE(copy->IsAmpersAndExpansion);
    EXPECT_EQ(QStringLiteral("&*") + copy->ToString(), item->ToString());
    EXPECT_NE(copy->AltInterfaceClasses.get(), item->AltInterfaceClasses.get());
    EXPECT_EQ(copy->InterfaceClasses, nullptr);
}

TEST(TOBISItemData, MatchTestsEveryField)
{
    const auto item = MakeItem(1, Row17);
    EXPECT_TRUE(item->Match(Code("1.0.1.8.4.255")));
    EXPECT_FALSE(item->Match(Code("1.0.1.8.5.255")));
    EXPECT_FALSE(item->Match(Code("2.0.1.8.0.255")));
}

TEST(TVariables, DefineReplacesInPlaceAndKeepsTheFirstName)
{
    TVariables variables;
    variables.Define(QStringLiteral("Volt"), std::make_unique<TValue>(Single(1)));
    variables.Define(QStringLiteral("ALL"), std::make_unique<TValue>(Range(0, 255)));
    variables.Define(QStringLiteral("VOLT"), std::make_unique<TValue>(Single(9)));
    ASSERT_EQ(variables.Entries().size(), 2U);
    EXPECT_EQ(variables.Entries()[0].Name, QStringLiteral("Volt"));
    EXPECT_EQ(variables.Find(QStringLiteral("volt"))->ToString(), QStringLiteral("9"));
    EXPECT_EQ(variables.Find(QStringLiteral("AMP")), nullptr);
}

// A media list with table 3 bound to field E.
class TableExpansion : public testing::Test
{
protected:
    void SetUp() override
    {
        auto table = std::make_unique<TTable>();
        table->Column = TColumn::E;
        for (const char* text : {"zero", "one", "two", "three"})
            table->Entries.push_back({QString::fromLatin1(text)});
        Media.Tables[3] = std::move(table);
    }

    void Add(qint32 lineNr, TValue e, const QStringList& texts)
    {
        Media.Items.push_back(MakeItem(lineNr, {Single(1), Single(0), Single(1), Single(8), e, Single(255)}, texts));
    }

    QStringList ResultLines() const
    {
        QStringList lines;
        for (const auto& item : Media.Items)
            lines.append(item->ToString());
        return lines;
    }

    TOBISMediaData Media;
};

TEST_F(TableExpansion, ReplacesTheDefinitionByOneCopyPerAllowedRow)
{
    Add(5, Range(1, 2), {"Energy", "$3 kWh", "", "", ""});
    Add(6, Single(0), {"plain", "", "", "", ""});
    Media.ExpandTables();
    EXPECT_EQ(ResultLines(),
        Lines({"6|{A=1, B=0, C=1, D=8, E=0, F=255}|plain", "*5|{A=1, B=0, C=1, D=8, E=1, F=255}|Energy; one",
            "*5|{A=1, B=0, C=1, D=8, E=2, F=255}|Energy; two"}));
}

TEST_F(TableExpansion, DropsADefinitionThatCoversNoRow)
{
    Add(5, Range(7, 9), {"$3", "", "", "", ""});
    Media.ExpandTables();
    EXPECT_TRUE(Media.Items.empty());
}

TEST_F(TableExpansion, ExpandsEveryReferenceIntoAllPairs)
{
    auto table = std::make_unique<TTable>();
    table->Column = TColumn::F;
    table->Entries = {{"f0"}, {"f1"}};
    Media.Tables[7] = std::move(table);
    Media.Items.push_back(
        MakeItem(9, {Single(1), Single(0), Single(1), Single(8), Range(2, 3), Range(0, 1)}, {"$3", "$7", "", "", ""}));
    Media.ExpandTables();
    EXPECT_EQ(ResultLines(),
        Lines({"*9|{A=1, B=0, C=1, D=8, E=2, F=0}|two; f0", "*9|{A=1, B=0, C=1, D=8, E=2, F=1}|two; f1",
            "*9|{A=1, B=0, C=1, D=8, E=3, F=0}|three; f0", "*9|{A=1, B=0, C=1, D=8, E=3, F=1}|three; f1"}));
}

TEST_F(TableExpansion, AnEmptyRowGivesAnEmptyText)
{
    Media.Tables[3]->Entries[1].Text.clear();
    Add(5, Single(1), {"A", "$3", "", "", ""});
    Media.ExpandTables();
    EXPECT_EQ(ResultLines(), Lines({"*5|{A=1, B=0, C=1, D=8, E=1, F=255}|A"}));
}

TEST_F(TableExpansion, AnAmpersAndCopyKeepsOnlyTheTableMark)
{
    Add(5, Single(2), {"$3", "", "", "", ""});
    Media.Items.back()->IsAmpersAndExpansion = true;
    Media.ExpandTables();
    EXPECT_TRUE(ResultLines().front().startsWith(QStringLiteral("*5|")));
}

TEST_F(TableExpansion, IgnoresRowsBeyondTheLastByteValue)
{
    Media.Tables[3]->Entries.resize(300, {QStringLiteral("far")});
    Add(5, Range(0, 255), {"$3", "", "", "", ""});
    Media.ExpandTables();
    EXPECT_EQ(Media.Items.size(), 256U);
}

TEST_F(TableExpansion, ReportsAMissingTableAndKeepsTheDefinitions)
{
    Add(4, Single(0), {"ok", "", "", "", ""});
    Add(12, Single(1), {"$5", "", "", "", ""});
    try {
        Media.ExpandTables();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Line 12 refers to table 5, which is not defined"));
    }
    EXPECT_EQ(Media.Items.size(), 2U);
}

TEST_F(TableExpansion, StopsARowThatLeadsBackToItsTable)
{
    Media.Tables[3]->Entries[1].Text = QStringLiteral("$3 again");
    Add(12, Single(1), {"$3", "", "", "", ""});
    try {
        Media.ExpandTables();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral("Table 3 on line 12 refers to tables more than %1 levels deep").arg(MaxTableExpansionDepth));
    }
}

TEST_F(TableExpansion, StopsAnExpansionThatWouldNotFitInMemory)
{
    // Five texts referring to tables bound to five fields: 256^5 combinations.
    for (int t = 4; t <= 8; ++t) {
        auto table = std::make_unique<TTable>();
        table->Column = static_cast<TColumn>(t - 3);
        table->Entries.resize(256, {QStringLiteral("x")});
        Media.Tables[static_cast<std::size_t>(t)] = std::move(table);
    }
    const TValue all = Range(0, 255);
    Media.Items.push_back(MakeItem(2, {Single(1), all, all, all, all, all}, {"$4", "$5", "$6", "$7", "$8"}));
    try {
        Media.ExpandTables();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("makes more than"))) << e.what();
    }
}

TEST(TOBISData, ExpandTablesNamesTheMediaOfAnError)
{
    TOBISData database;
    EnsureMedia(database, 7).Items.push_back(MakeItem(3, Row17, {"$2", "", "", "", ""}));
    try {
        database.ExpandTables();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Line 3 refers to table 2, which is not defined in media Gas"));
    }
}

TEST(TOBISMediaData, GetExistingTables)
{
    TOBISMediaData media;
    media.Tables[0] = std::make_unique<TTable>();
    media.Tables[7] = std::make_unique<TTable>();
    EXPECT_EQ(media.GetExistingTables(), TTableRangeSet(0b0010000001));
}

TEST(CurrentOBISData, StartsEmptyAndIsAlwaysTheSameDatabase)
{
    TOBISData& current = CurrentOBISData();
    EXPECT_EQ(&current, &CurrentOBISData());
    for (const auto& media : current.AllMediaData)
        EXPECT_EQ(media, nullptr);
}

} // namespace
