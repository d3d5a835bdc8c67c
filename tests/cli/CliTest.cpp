#include "RunCli.h"
#include "tests/QtPrinters.h"
#include "tests/XlsxFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(KestruneCli, DescribesSeveralCodesOneLineEachNamingTheFullCode)
{
    const TRun run = Cli(WithCsv({"describe", "1.0.2.8.3.255", "1-0:32.7.0*255", "0000600103FF", "1.0.50.1.1.1", "7-0:1.0"}));
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out,
        QStringLiteral("1.0.2.8.3.255: Active power- Time integral 1 Rate 3\n1.0.32.7.0.255: Voltage L1 Instantaneous value\n"
                       "0.0.96.1.3.255: Device ID 4\n1.0.50.1.1.1: Any electricity quantity\n7.0.1.0.0.255: Clock\n"));
    EXPECT_EQ(run.Err, QString());
}

TEST(KestruneCli, DescribesOneCodeByItsDescriptionAlone)
{
    const TRun dotted = Cli(WithCsv({"describe", "0.0.1.0.0.255"}));
    EXPECT_EQ(dotted.Out, QStringLiteral("Clock\n"));
    EXPECT_EQ(dotted.Err, QString());

    // Written otherwise, the code that was looked up is named on stderr.
    const TRun reduced = Cli(WithCsv({"describe", "32.7.0"}));
    EXPECT_EQ(reduced.Out, QStringLiteral("Voltage L1 Instantaneous value\n"));
    EXPECT_EQ(reduced.Err, QStringLiteral("\"32.7.0\" is 1.0.32.7.0.255\n"));

    const TRun media = Cli(WithCsv({"describe", "--media", "7", "1.0.0"}));
    EXPECT_EQ(media.Out, QStringLiteral("Clock\n"));
}

TEST(KestruneCli, SearchShowsTheDisplayBlocksAndCountsTheItems)
{
    const TRun run = Cli(WithCsv({"search", "-A", "1", "-C", "1", "-E", "$2"}));
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("*7     {A=1, B=0, C=1, D=8, E=2, F=255}\n"
                                      "         Active power+; Time integral 1; Rate 2\n"
                                      "         IC=3 Types=6 \n"));
    EXPECT_EQ(run.Err, QStringLiteral("1 item\n"));

    const TRun ranges = Cli(WithCsv({"search", "-C", "50", "-D", "9"}));
    EXPECT_EQ(ranges.Out, QStringLiteral("9      {A=1, B=0, C=50, D=9, E=[0-255], F=[0-255]}\n"
                                         "         Any electricity quantity\n"));
    EXPECT_EQ(ranges.Err, QStringLiteral("1 item\n"));
}

TEST(KestruneCli, SearchByWordsAndRawLines)
{
    const TRun run = Cli(WithCsv({"search", "--text", "\"power\" -active", "--raw"}));
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, QString());
    EXPECT_EQ(run.Err, QStringLiteral("0 items\n"));

    const TRun clock = Cli(WithCsv({"search", "--code", "7.0.1.0.0.255", "--raw"}));
    EXPECT_EQ(clock.Out, QStringLiteral("&2|{A=7, B=0, C=1, D=0, E=0, F=255}|Clock|IC=8 \n"));
    EXPECT_EQ(clock.Err, QStringLiteral("1 item\n"));

    const TRun hex = Cli(WithCsv({"search", "--hex", "-A", "01", "-C", "20", "--text", "voltage", "--raw"}));
    EXPECT_EQ(hex.Out, QStringLiteral("*8|{A=1, B=0, C=32, D=7, E=0, F=255}|Voltage L1; Instantaneous value|IC=3 Types=18 \n"));
}

TEST(KestruneCli, ListsTheWords)
{
    const TRun run = Cli(WithCsv({"words"}));
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out.split(u'\n', Qt::SkipEmptyParts).join(u' '),
        QStringLiteral("1 Active Any Clock Device E electricity Forward ID Index Instantaneous integral L1 meter power "
                       "quantity Rate Time value Voltage volume"));
    EXPECT_EQ(run.Err, QStringLiteral("21 items\n"));
}

TEST(KestruneCli, WritesTheProgressWithV)
{
    const TRun run = Cli({"-v", "--csv", CsvDirectory, "describe", "0.0.1.0.0.255"});
    EXPECT_EQ(run.Err, QStringLiteral("Processing file : %1/7.csv\nProcessing file : %1/1.csv\nProcessing file : %1/0.csv\n")
                           .arg(CsvDirectory));
}

struct UsageCase
{
    QStringList Arguments;
    const char* Problem;
};

class UsageErrors : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, ExitWithStatus2AndAHint)
{
    const TRun run = Cli(GetParam().Arguments);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, QStringLiteral("kestrune-cli: %1\nTry 'kestrune-cli --help' for more information.\n")
                           .arg(QString::fromUtf8(GetParam().Problem)));
    EXPECT_EQ(run.Out, QString());
}

INSTANTIATE_TEST_SUITE_P(Commands, UsageErrors,
    testing::Values(UsageCase{{}, "no command given"}, UsageCase{{"frobnicate"}, "unknown command \"frobnicate\""},
        UsageCase{{"search", "-C", "256"}, "field C: \"256\" is not a value from 0 to 255 (decimal, or $ and hexadecimal digits)"},
        UsageCase{{"search", "--hex", "-F", "$FF"}, "field F: \"$FF\" is not a value from 0 to 255 (hexadecimal digits)"},
        UsageCase{{"search", "--code", "1.0.1.8"},
            "Cannot read \"1.0.1.8\" as an OBIS code: 4 groups, where A.B.C.D.E.F has 6 and a reduced code C.D or C.D.E"},
        UsageCase{{"search", "-B"}, "search: Missing value after '-B'."},
        UsageCase{{"search", "--words"}, "search: Unknown option 'words'."},
        UsageCase{{"search", "extra"}, "unexpected \"extra\""},
        UsageCase{{"describe", "--media", "1-300", "1.8.0"}, "--media \"1-300\": A or A-B expected, values from 0 to 255"},
        UsageCase{{"annotate", "--crc"}, "annotate: Unknown option 'crc'."},
        UsageCase{{"--frobnicate", "words"}, "Unknown option 'frobnicate'."},
        UsageCase{{"--help", "words"}, "unexpected \"words\""},
        UsageCase{{"describe"}, "describe needs at least one code"}, UsageCase{{"save"}, "save needs a file name"},
        UsageCase{{"--csv", "a", "--db", "b", "words"}, "name at most one source"},
        UsageCase{{"save", "a", "b"}, "unexpected \"b\""},
        UsageCase{{"words", "extra"}, "unexpected \"extra\""}));

TEST(KestruneCli, LookupErrorsExitWithStatus1AndTheMessage)
{
    EXPECT_EQ(Cli(WithCsv({"describe", "12.0.1.8.0.255"})).Err, QStringLiteral("Code=12.0.1.8.0.255, illegal media 12\n"));
    const TRun missing = Cli(WithCsv({"describe", "3.0.1.8.0.255"}));
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.Err, QStringLiteral("Code=3.0.1.8.0.255, no data available for media 3\n"));
    // The codes after one that fails are still described.
    const TRun bad = Cli(WithCsv({"describe", "x", "12-0:1.8.0", "0.0.1.0.0.255"}));
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_EQ(bad.Out, QStringLiteral("0.0.1.0.0.255: Clock\n"));
    EXPECT_EQ(bad.Err, QStringLiteral("Cannot read \"x\" as an OBIS code: neither groups separated by \".\" nor 12 hexadecimal digits\n"
                                      "Code=12.0.1.8.0.255, illegal media 12\n"));
}

TEST(KestruneCli, LoadErrorsExitWithStatus1AndTheMessage)
{
    QTemporaryDir directory;
    QFile file(directory.filePath(QStringLiteral("2.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("com\n,2,0,VOLT,8,0,255,,,,,,,,\n");
    file.close();
    const TRun run = Cli({"--csv", directory.path(), "words"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, QStringLiteral("MediaNr=2, LineNr=2, \"Variable VOLT not found\" line 2\n"));

    const TRun noFile = Cli({"--db", directory.filePath(QStringLiteral("none.db")), "words"});
    EXPECT_EQ(noFile.ExitCode, 1);
    EXPECT_TRUE(noFile.Err.startsWith(QStringLiteral("Cannot open \""))) << noFile.Err.toStdString();
}

QByteArray FileContent(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(KestruneCli, SavedDatabasesReadBackByteForByte)
{
    QTemporaryDir directory;
    const QString ciphered = directory.filePath(QStringLiteral("k.db"));
    const QString again = directory.filePath(QStringLiteral("again.db"));
    const QString plain = directory.filePath(QStringLiteral("k.plain"));
    const QString plainAgain = directory.filePath(QStringLiteral("again.plain"));
    ASSERT_EQ(Cli(WithCsv({"save", ciphered})).ExitCode, 0);
    ASSERT_EQ(Cli({"--db", ciphered, "save", again}).ExitCode, 0);
    EXPECT_EQ(FileContent(again), FileContent(ciphered));
    EXPECT_EQ(FileContent(ciphered).size() % 8, 0);

    ASSERT_EQ(Cli({"--db", ciphered, "save", plain, "--plain"}).ExitCode, 0);
    ASSERT_EQ(Cli({"--plain-db", plain, "save", "--plain", plainAgain}).ExitCode, 0);
    EXPECT_EQ(FileContent(plainAgain), FileContent(plain));
    EXPECT_EQ(Cli({"--plain-db", plain, "describe", "1.0.1.8.0.255"}).Out, QStringLiteral("Active power+ Time integral 1 Rate 0\n"));
}

TEST(KestruneCli, AFailedSaveLeavesNoFile)
{
    QTemporaryDir directory;
    const QString target = directory.filePath(QStringLiteral("missing/k.db"));
    const TRun run = Cli(WithCsv({"save", target}));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("Cannot create \""))) << run.Err.toStdString();
    EXPECT_FALSE(QFile::exists(target));

    QFile damaged(directory.filePath(QStringLiteral("damaged.db")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(12, 'x'));
    damaged.close();
    const TRun read = Cli({"--db", damaged.fileName(), "words"});
    EXPECT_EQ(read.ExitCode, 1);
    EXPECT_TRUE(read.Err.startsWith(QStringLiteral("Damaged database container"))) << read.Err.toStdString();
}

TEST(KestruneCli, UsesTheBuiltInDatabaseWithoutASource)
{
    const TRun describe = Cli({"describe", "1.0.1.8.0.255"});
    EXPECT_EQ(describe.ExitCode, 0) << describe.Err.toStdString();
    EXPECT_TRUE(describe.Out.contains(QStringLiteral("Active power+"))) << describe.Out.toStdString();

    const TRun search = Cli({"search", "-C", "1"});
    EXPECT_EQ(search.ExitCode, 0);
    EXPECT_TRUE(search.Err.endsWith(QStringLiteral(" items\n")));

    QTemporaryDir directory;
    const QString first = directory.filePath(QStringLiteral("first.db"));
    const QString second = directory.filePath(QStringLiteral("second.db"));
    ASSERT_EQ(Cli({"save", first}).ExitCode, 0);
    ASSERT_EQ(Cli({"--db", first, "save", second}).ExitCode, 0);
    EXPECT_EQ(FileContent(first), FileContent(second));
}

TEST(KestruneCli, ImportsAWorkbookAsTheWindowDoes)
{
    QTemporaryDir directory;
    const QString fileName = directory.filePath(QStringLiteral("objects.xlsx"));
    WriteXlsx(fileName, {{QStringLiteral("Abstract"), {Cells("com,objects of every media"), Cells(",&,0,1,0,0,255,,Clock,,,,8,,9")}},
                            {QStringLiteral("Electricity (AC)"), {Cells("N1C,,,1,,,,,Active energy"),
                                                                    Cells(",1,0,1,8,0-1,255,,$1,Rate $E,,,3,,6")}}});
    const TRun search = Cli({"--workbook", fileName, "search", "--text", "rate", "--raw"});
    EXPECT_EQ(search.ExitCode, 0) << search.Err.toStdString();
    EXPECT_EQ(search.Out, QStringLiteral("*2|{A=1, B=0, C=1, D=8, E=[0-1], F=255}|Active energy; Rate $E|IC=3 Types=6 \n"));
    EXPECT_EQ(search.Err, QStringLiteral("1 item\n"));

    const TRun verbose = Cli({"-v", "--workbook", fileName, "describe", "1.0.1.0.0.255"});
    EXPECT_EQ(verbose.Out, QStringLiteral("Clock\n"));
    EXPECT_EQ(verbose.Err, QStringLiteral("Processing file %1\n  Electricity (AC) done.\n  Abstract done.\n\n"
                                          "Click the 'Search' button to display all the available OBIS codes\n")
                               .arg(fileName));
}

TEST(KestruneCli, AWorkbookThatCannotBeOpenedGivesTheStarLines)
{
    QTemporaryDir directory;
    const QString fileName = directory.filePath(QStringLiteral("broken.xlsx"));
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04 but nothing more");
    file.close();
    const TRun run = Cli({"--workbook", fileName, "words"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, QStringLiteral("*** Microsoft Excel could not be found on this system, or\n"
                                      "*** A document named %1 is already open, please close it before running Kestrune\n"
                                      "*** Cannot read workbook \"%1\": the file is not a valid ZIP archive (Not a zip archive)\n")
                           .arg(fileName));
    EXPECT_EQ(Cli({"--workbook", directory.filePath(QStringLiteral("none.xlsx")), "words"}).Err,
        QStringLiteral("File \"%1\" not found\n").arg(directory.filePath(QStringLiteral("none.xlsx"))));
}

TEST(KestruneCli, HelpAndVersion)
{
    EXPECT_TRUE(Cli({"--help"}).Out.startsWith(QStringLiteral("Usage: kestrune-cli [SOURCE] COMMAND [ARGS]\n")));
    EXPECT_EQ(Cli({"--version"}).Out, QStringLiteral("kestrune-cli 5.0\n"));
}

} // namespace
