#include "support/Exception.h"
#include "tests/QtPrinters.h"
#include "tests/XlsxFile.h"
#include "frontend/WorkbookLoad.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A first worksheet of n rows whose rows 14.. carry "Label r" and "Value r".
TSheetRows TitleSheet(int rows, const QString& longLabel = {})
{
    TSheetRows title{QStringLiteral("Title"), {}};
    for (int r = 1; r <= rows; ++r)
        title.Rows.push_back({r == 14 && !longLabel.isEmpty() ? longLabel : QStringLiteral("Label %1").arg(r),
            QStringLiteral("Value %1").arg(r)});
    return title;
}

// A media worksheet with the column heads and one definition line.
TSheetRows MediaSheet(const QString& name, const char* line)
{
    return {name, {Cells("com,A,B,C,D,E,F,tB,tC,tD,tE,tF,IC,AltIC,Types"), Cells(line)}};
}

TSheetRows ElectricitySheet()
{
    return {QStringLiteral("Electricity (AC)"), {Cells("com,A,B,C,D,E,F,tB,tC,tD,tE,tF,IC,AltIC,Types"),
                                                     Cells(",1,0,1,8,0,255,,Active energy,,,,3,,6")}};
}

class LoadExcelFileTest : public testing::Test
{
protected:
    QString Write(const std::vector<TSheetRows>& sheets)
    {
        const QString fileName = Directory.filePath(QStringLiteral("objects.xlsx"));
        WriteXlsx(fileName, sheets);
        return fileName;
    }

    void Load(const QString& fileName)
    {
        LoadExcelFile(Database, fileName, [this](const QString& line) { Log.append(line); }, [this] { Log.clear(); });
    }

    QTemporaryDir Directory;
    TOBISData Database;
    QStringList Log{QStringLiteral("old line")};
};

TEST_F(LoadExcelFileTest, LogsTheHeaderRowsTheMediaAndTheHint)
{
    const QString fileName = Write({TitleSheet(25), ElectricitySheet()});
    Load(fileName);
    QStringList expected{QStringLiteral("Processing file ") + fileName};
    for (int r = 14; r <= 23; ++r)
        expected.append(QStringLiteral("  Label %1").arg(r).leftJustified(35) + QStringLiteral("Value %1").arg(r));
    expected << QStringLiteral("  Electricity (AC) done.") << QString()
             << QStringLiteral("Click the 'Search' button to display all the available OBIS codes");
    EXPECT_EQ(Log, expected);
    EXPECT_EQ(Database.GetOBISText(TOBISData::OBISStrToOBISCode(QStringLiteral("1.0.1.8.0.255"))),
        QStringLiteral("Active energy"));
}

TEST_F(LoadExcelFileTest, ALongHeaderLabelIsNotCut)
{
    const QString label = QString(40, u'x');
    Load(Write({TitleSheet(14, label), ElectricitySheet()}));
    EXPECT_EQ(Log[1], QStringLiteral("  ") + label + QStringLiteral("Value 14"));
}

TEST_F(LoadExcelFileTest, AShortFirstWorksheetHasNoHeader)
{
    Load(Write({TitleSheet(13), ElectricitySheet()}));
    EXPECT_EQ(Log.size(), 4);
    EXPECT_EQ(Log[1], QStringLiteral("  Electricity (AC) done."));
}

TEST_F(LoadExcelFileTest, AnEmptyNameOnlyClearsTheLog)
{
    Load(QString());
    EXPECT_TRUE(Log.isEmpty());
}

TEST_F(LoadExcelFileTest, AMissingFileIsAnError)
{
    const QString fileName = Directory.filePath(QStringLiteral("none.xlsx"));
    try {
        Load(fileName);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("File \"%1\" not found").arg(fileName));
    }
    EXPECT_TRUE(Log.isEmpty());
}

// The two lines users have always seen, then the reader's own account of the problem.
void ExpectSilentAbortWithTheStarLines(
    const QString& fileName, const QString& problem, const std::function<void()>& load, const QStringList& log)
{
    EXPECT_THROW(load(), ESilentAbort);
    EXPECT_EQ(log,
        QStringList({QStringLiteral("Processing file ") + fileName,
            QStringLiteral("*** Microsoft Excel could not be found on this system, or"),
            QStringLiteral("*** A document named %1 is already open, please close it before running Kestrune").arg(fileName),
            QStringLiteral("*** ") + problem}));
}

TEST_F(LoadExcelFileTest, AFileThatIsNoWorkbookEndsWithTheSilentAbort)
{
    const QString fileName = Directory.filePath(QStringLiteral("notes.xlsx"));
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("these are notes, not a workbook");
    file.close();
    ExpectSilentAbortWithTheStarLines(fileName,
        QStringLiteral("Cannot read workbook \"%1\": the file is neither an .xlsx nor an .xls workbook").arg(fileName),
        [&] { Load(fileName); }, Log);
    EXPECT_EQ(Database.AllMediaData[1], nullptr);
}

TEST_F(LoadExcelFileTest, AFirstWorksheetWithoutASecondColumnEndsWithTheSilentAbort)
{
    TSheetRows oneColumn{QStringLiteral("Title"), {}};
    for (int r = 1; r <= 14; ++r)
        oneColumn.Rows.push_back({QStringLiteral("row %1").arg(r)});
    const QString fileName = Write({oneColumn, ElectricitySheet()});
    ExpectSilentAbortWithTheStarLines(fileName, QStringLiteral("The first worksheet has no second column"), [&] { Load(fileName); }, Log);
}

TEST_F(LoadExcelFileTest, ADefinitionErrorReachesTheCallerWithoutTheClosingLines)
{
    TSheetRows bad = ElectricitySheet();
    bad.Rows.push_back(Cells(",1,0,VOLT,8,0,255,,,,,,,,"));
    const QString fileName = Write({TitleSheet(3), bad});
    try {
        Load(fileName);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral("MediaNr=1, LineNr=3, \"Variable VOLT not found\" line 3 in media Electricity (AC)"));
    }
    EXPECT_EQ(Log,
        QStringList({QStringLiteral("Processing file ") + fileName,
            QStringLiteral("*** MediaNr=1, LineNr=3, \"Variable VOLT not found\" line 3 in media Electricity (AC)"),
            QStringLiteral("*** The import failed: the definitions are those held before it")}));
}

// The media lists read before the failing worksheet (Water, read first as the last worksheet)
// do not reach the database either.
TEST_F(LoadExcelFileTest, AWorkbookThatFailsHalfWayLeavesTheDatabaseAsItWas)
{
    Load(Write({TitleSheet(3), ElectricitySheet()}));
    const QStringList before = Database.GetMatchingLines({}, {}, TOBISCode{}, {});
    TSheetRows bad = ElectricitySheet();
    bad.Rows.push_back(Cells(",1,0,VOLT,8,0,255,,,,,,,,"));
    const TSheetRows water = MediaSheet(QStringLiteral("Water"), ",8,0,1,0,0,255,,Water volume,,,,,,");
    EXPECT_THROW(Load(Write({TitleSheet(3), bad, water})), Exception);
    EXPECT_TRUE(Log.contains(QStringLiteral("  Water (cold) done.")));
    EXPECT_EQ(Database.GetMatchingLines({}, {}, TOBISCode{}, {}), before);
    EXPECT_EQ(Database.AllWords(), QStringList({QStringLiteral("Active"), QStringLiteral("energy")}));
}

// A second workbook replaces the lists it reads, and the word list follows the new content.
TEST_F(LoadExcelFileTest, AnotherWorkbookReplacesTheListsItReadsAndTheWords)
{
    const TSheetRows gas = MediaSheet(QStringLiteral("Gas"), ",7,0,1,0,0,255,,Gas volume,,,,,,");
    Load(Write({TitleSheet(3), ElectricitySheet(), gas}));
    EXPECT_EQ(Database.AllWords().size(), 4);
    const TSheetRows electricity
        = MediaSheet(QStringLiteral("Electricity (AC)"), ",1,0,2,8,0,255,,Reactive power,,,,,,");
    Load(Write({TitleSheet(3), electricity}));
    EXPECT_EQ(Database.AllWords(),
        QStringList({QStringLiteral("Gas"), QStringLiteral("power"), QStringLiteral("Reactive"), QStringLiteral("volume")}));
}

} // namespace
