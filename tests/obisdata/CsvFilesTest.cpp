#include "obisdata/CsvFiles.h"
#include "obisdata/Model.h"
#include "support/Exception.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct SplitCase
{
    const char* Name;
    const char* Line;
    QStringList Fields;
};

class CsvSplitting : public testing::TestWithParam<SplitCase> {};

TEST_P(CsvSplitting, FollowsTheQuotingRules)
{
    EXPECT_EQ(SplitCsvLine(QString::fromUtf8(GetParam().Line)), GetParam().Fields);
}

INSTANTIATE_TEST_SUITE_P(Lines, CsvSplitting,
    testing::Values(SplitCase{"plain", "a,b", Lines({"a", "b"})},
        SplitCase{"nothingTrimmed", " a , b ", Lines({" a ", " b "})},
        SplitCase{"trailingComma", "a,", Lines({"a", ""})},
        SplitCase{"onlyCommas", ",,", Lines({"", "", ""})},
        SplitCase{"leadingComma", ",x", Lines({"", "x"})},
        SplitCase{"quotedComma", "\"a,b\",c", Lines({"a,b", "c"})},
        SplitCase{"doubledQuote", "\"say \"\"hi\"\"\",x", Lines({"say \"hi\"", "x"})},
        SplitCase{"textAfterClosingQuote", "\"ab\"cd,x", Lines({"ab", "cd", "x"})},
        SplitCase{"quotedThenTrailingComma", "\"ab\",", Lines({"ab", ""})},
        SplitCase{"unclosedQuote", "x,\"open, still", Lines({"x", "open, still"})},
        SplitCase{"quoteInsideUnquoted", "a\"b,c", Lines({"a\"b", "c"})},
        SplitCase{"emptyQuoted", "\"\",x", Lines({"", "x"})},
        SplitCase{"empty", "", {}}),
    CaseName());

// A directory of CSV definition files written for one test.
class CsvDirectory : public testing::Test
{
protected:
    void Write(const QString& name, const QByteArray& content)
    {
        QFile file(Directory.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString Path() const { return Directory.path() + QDir::separator(); }

    QStringList Load(TOBISData& database, const QString& directory)
    {
        QStringList log;
        database.LoadFromCSVFiles([&log](const QString& line) { log.append(line); }, directory);
        return log;
    }

    QString LoadError(TOBISData& database)
    {
        try {
            Load(database, Path());
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("(no error)");
    }

    QTemporaryDir Directory;
};

TEST_F(CsvDirectory, ReplacesOnlyTheMediaOfThePresentFilesAndExpandsTables)
{
    TOBISData database;
    AddLines(database, 1, {",1,0,1,8,0,255,,kept,,,,,,"});
    AddLines(database, 3, {",3,0,1,8,0,255,,replaced,,,,,,"});
    Write(QStringLiteral("3.csv"), "N1E,,,,,0,,,,,zero\n,3,0,1,8,0,255,,$1,,,,,,\n");

    EXPECT_EQ(Load(database, Path()), QStringList{QStringLiteral("Processing file : ") + Path() + QStringLiteral("3.csv")});
    EXPECT_EQ(database.AllMediaData[1]->Items.front()->Texts[1], QStringLiteral("kept"));
    ASSERT_EQ(database.AllMediaData[3]->Items.size(), 1U);
    EXPECT_EQ(database.AllMediaData[3]->Items.front()->ToString(), QStringLiteral("*2|{A=3, B=0, C=1, D=8, E=0, F=255}|zero"));
}

TEST_F(CsvDirectory, ReadsMedia0LastAndAddsTheDigitWithoutASeparator)
{
    Write(QStringLiteral("defs7.csv"), ",7,0,3,0,0,255,,Gas volume,,,,,,\n");
    Write(QStringLiteral("defs0.csv"), ",&,0,1,0,0,255,,Clock,,,,,,\n");
    TOBISData database;
    const QString prefix = Directory.filePath(QStringLiteral("defs"));
    const QString processing = QStringLiteral("Processing file : ") + prefix;
    EXPECT_EQ(Load(database, prefix), QStringList({processing + QStringLiteral("7.csv"), processing + QStringLiteral("0.csv")}));
    EXPECT_EQ(database.AllMediaData[7]->Items.back()->ToString(), QStringLiteral("&1|{A=7, B=0, C=1, D=0, E=0, F=255}|Clock"));
}

TEST_F(CsvDirectory, SkipsShortLinesAndLinesWithoutKindAndFieldAButCountsThem)
{
    Write(QStringLiteral("1.csv"), ",\r\n,,\r\n,,x\rx\ncom,anything\n\n,1,0,1,8,0,255,,seventh line,,,,,,");
    TOBISData database;
    Load(database, Path());
    ASSERT_EQ(database.AllMediaData[1]->Items.size(), 1U);
    EXPECT_EQ(database.AllMediaData[1]->Items.front()->LineNr, 7);
}

TEST_F(CsvDirectory, ALineOfACommaAndATextIsAnItemLine)
{
    Write(QStringLiteral("1.csv"), "com\n,x\n");
    TOBISData database;
    EXPECT_EQ(LoadError(database), QStringLiteral("MediaNr=1, LineNr=2, \"Field B missing\" line 2"));
}

TEST_F(CsvDirectory, AnErrorStopsTheLoadAndKeepsWhatWasRead)
{
    Write(QStringLiteral("2.csv"), ",2,0,1,8,0,255,,one,,,,,,\n");
    Write(QStringLiteral("5.csv"), "def,ALL = *\n,5,0,1,8,0,255,,two,,,,,,\ncom\n,5,0,VOLT,8,0,255,,,,,,,,\n");
    TOBISData database;
    EXPECT_EQ(LoadError(database), QStringLiteral("MediaNr=5, LineNr=4, \"Variable VOLT not found\" line 4"));
    EXPECT_EQ(database.AllMediaData[5]->Items.size(), 1U);
    EXPECT_EQ(database.AllMediaData[2], nullptr);
}

TEST_F(CsvDirectory, AFileThatCannotBeReadStopsTheLoadNamingIt)
{
    ASSERT_TRUE(QDir(Directory.path()).mkdir(QStringLiteral("4.csv")));
    TOBISData database;
    const QString message = LoadError(database);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot "))) << message.toStdString();
    EXPECT_TRUE(message.contains(Path() + QStringLiteral("4.csv"))) << message.toStdString();
}

TEST_F(CsvDirectory, DecodesTheSystemCodePage)
{
    Write(QStringLiteral("1.csv"), ",1,0,1,8,0,255,,\xC3\x89nergie \xE2\x80\x93 total,,,,,,\n");
    TOBISData database;
    Load(database, Path());
    EXPECT_EQ(database.AllMediaData[1]->Items.front()->Texts[1], QStringLiteral("Énergie – total"));
}

TEST(LoadCSVFile, RejectsAMediaNumberOutOfRange)
{
    TOBISData database;
    EXPECT_THROW(database.LoadCSVFile(10, QStringLiteral("10.csv")), Exception);
}

} // namespace
