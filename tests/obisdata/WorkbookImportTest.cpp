#include "obisdata/Model.h"
#include "support/Exception.h"
#include "FakeWorkbook.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

QStringList Import(TOBISData& database, TFakeWorkSheets& worksheets)
{
    QStringList log;
    database.LoadFromExcelDocument([&log](const QString& line) { log.append(line); }, worksheets);
    return log;
}

QString FirstLine(const TOBISData& database, int media)
{
    const auto& list = database.AllMediaData[static_cast<std::size_t>(media)];
    return list && !list->Items.empty() ? list->Items.front()->ToString() : QString();
}

TEST(WorkbookImport, ReadsTheWorksheetsFromLastToFirst)
{
    TFakeWorkSheets worksheets;
    worksheets.Add("Abstract", {"com,abstract", ",&,0,1,0,0,255,,Clock,,,,8,,"})
        .Add("Electricity (AC)", {",1,0,1,8,0,255,,Active energy,,,,3,,"})
        .Add("Water", {",8-9,0,1,0,0,255,,Volume,,,,3,,"})
        .Add("Notes", {",1,0,99,8,0,255,,never read,,,,,,"});
    TOBISData database;
    EXPECT_EQ(Import(database, worksheets),
        Lines({"  Water (cold) done.", "  Water (hot) done.", "  Electricity (AC) done.", "  Abstract done."}));
    EXPECT_EQ(FirstLine(database, 9), QStringLiteral("1|{A=9, B=0, C=1, D=0, E=0, F=255}|Volume|IC=3 "));
    for (const int media : {1, 8, 9})
        EXPECT_EQ(database.AllMediaData[static_cast<std::size_t>(media)]->Items.back()->ToString(),
            QStringLiteral("&2|{A=%1, B=0, C=1, D=0, E=0, F=255}|Clock|IC=8 ").arg(media));
    EXPECT_EQ(database.AllMediaData[1]->Items.size(), 2U);
    EXPECT_EQ(database.AllMediaData[3], nullptr);
}

TEST(WorkbookImport, MatchesNamesWithoutRegardToAsciiCase)
{
    TFakeWorkSheets worksheets;
    worksheets.Add("gas", {",7,0,3,0,0,255,,Volume,,,,,,"})
        .Add("Gas ", {",7,0,4,0,0,255,,not this one,,,,,,"})
        .Add("ABSTRACT", {",0,0,1,0,0,255,,Clock,,,,,,"})
        .Add("thermal", {",5,0,1,0,0,255,,Cooling,,,,,,", ",6,0,1,0,0,255,,Heat,,,,,,"});
    TOBISData database;
    EXPECT_EQ(Import(database, worksheets),
        Lines({"  Thermal (cool) done.", "  Thermal (hot) done.", "  Abstract done.", "  Gas done."}));
    EXPECT_EQ(database.AllMediaData[7]->Items.size(), 1U);
    EXPECT_EQ(FirstLine(database, 5), QStringLiteral("1|{A=5, B=0, C=1, D=0, E=0, F=255}|Cooling"));
    EXPECT_EQ(FirstLine(database, 6), QStringLiteral("2|{A=6, B=0, C=1, D=0, E=0, F=255}|Heat"));
}

TEST(WorkbookImport, ASingleCellWorksheetLeavesItsMediaEmptyAndSilent)
{
    TFakeWorkSheets worksheets;
    worksheets.Add("HCA", {"com"});
    TOBISData database;
    AddLines(database, 4, {",4,0,1,0,0,255,,old,,,,,,"});
    EXPECT_TRUE(Import(database, worksheets).isEmpty());
    ASSERT_NE(database.AllMediaData[4], nullptr);
    EXPECT_TRUE(database.AllMediaData[4]->Items.empty());
}

TEST(WorkbookImport, PassesOverRowsWithoutKindAndFieldA)
{
    TFakeWorkSheets worksheets;
    worksheets.Add("Electricity (AC)",
        {",,0,1,8,0,255,,ignored although it holds text,,,,,,", ",&,0,1,8,0,255,,ampersand,,,,,,", "x", ""});
    TOBISData database;
    EXPECT_THROW(Import(database, worksheets), Exception);

    TFakeWorkSheets narrow;
    narrow.Add("Electricity (AC)", {"x", "y"});
    EXPECT_EQ(Import(database, narrow), Lines({"  Electricity (AC) done."}));
}

TEST(WorkbookImport, NamesTheMediaOfAnErrorAndKeepsWhatWasRead)
{
    TFakeWorkSheets worksheets;
    worksheets.Add("Electricity (AC)", {",1,0,1,8,0,255,,never read,,,,,,"})
        .Add("Thermal", {",5-6,0,1,0,0,255,,kept,,,,,,", ",6,0,VOLT,0,0,255,,,,,,,,"})
        .Add("Gas", {"N1C,,,3,,,,,Volume", ",7,0,3,0,0,255,,$1,,,,,,"});
    TOBISData database;
    QStringList log;
    try {
        database.LoadFromExcelDocument([&log](const QString& line) { log.append(line); }, worksheets);
        FAIL() << "no error";
    } catch (const Exception& e) {
        // Code fields are read before field A decides the media, so the first reading fails.
        EXPECT_EQ(e.Message(), QStringLiteral("MediaNr=5, LineNr=2, \"Variable VOLT not found\" line 2 in media Thermal (cool)"));
    }
    EXPECT_EQ(log, Lines({"  Gas done."}));
    // No table expansion ran: the reference is still there.
    EXPECT_EQ(database.AllMediaData[7]->Items.front()->Texts[1], QStringLiteral("$1"));
    EXPECT_EQ(database.AllMediaData[5]->Items.size(), 1U);
    EXPECT_EQ(database.AllMediaData[6], nullptr);
    EXPECT_EQ(database.AllMediaData[1], nullptr);
}

TEST(WorkbookImport, ExpandsTheTablesAtTheEnd)
{
    TFakeWorkSheets worksheets;
    worksheets.Add("Gas", {"N1C,,,3,,,,,Volume", ",7,0,3,0,0,255,,$1,,,,,,"});
    TOBISData database;
    Import(database, worksheets);
    EXPECT_EQ(FirstLine(database, 7), QStringLiteral("*2|{A=7, B=0, C=3, D=0, E=0, F=255}|Volume"));
}

} // namespace
