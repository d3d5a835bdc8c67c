// annotate on readouts of every format, compared with golden files of what a user sees; the
// JSON document parsed back. KESTRUNE_UPDATE_GOLDEN=1 writes the golden files anew from the
// program's output (look at the difference before committing it).

#include "RunCli.h"
#include "tests/QtPrinters.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString Readouts = QStringLiteral(KESTRUNE_READOUTS);
const QString Golden = QStringLiteral(KESTRUNE_GOLDEN);

QByteArray FileBytes(const QString& fileName)
{
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
    return file.readAll();
}

struct GoldenCase
{
    const char* Name; // the readout <Name>.txt and its golden file <Name>.out
    int ExitCode;
};

class AnnotatedReadouts : public testing::TestWithParam<GoldenCase> {};

TEST_P(AnnotatedReadouts, MatchTheirGoldenFiles)
{
    const QString name = QString::fromLatin1(GetParam().Name);
    const TRun run = Cli({"annotate"}, FileBytes(Readouts + u'/' + name + QStringLiteral(".txt")));
    EXPECT_EQ(run.ExitCode, GetParam().ExitCode) << run.Err.toStdString();
    EXPECT_EQ(run.Err, QString());
    const QString goldenFile = Golden + u'/' + name + QStringLiteral(".out");
    if (qEnvironmentVariableIsSet("KESTRUNE_UPDATE_GOLDEN")) {
        QFile file(goldenFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(run.Out.toUtf8());
        return;
    }
    EXPECT_EQ(run.Out, QString::fromUtf8(FileBytes(goldenFile)));
}

INSTANTIATE_TEST_SUITE_P(Formats, AnnotatedReadouts,
    testing::Values(GoldenCase{"p1-dsmr5", 0}, GoldenCase{"p1-dsmr22", 0}, GoldenCase{"p1-belgium", 0},
        GoldenCase{"p1-luxembourg", 0}, GoldenCase{"p1-damaged", 1}, GoldenCase{"iec-mode-c", 0},
        GoldenCase{"sml-text", 0}, GoldenCase{"sml-hex", 0}),
    [](const testing::TestParamInfo<GoldenCase>& tested) {
        std::string name = tested.param.Name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

QJsonArray AnnotatedJson(const QByteArray& readout, const QStringList& options = {})
{
    const TRun run = Cli(QStringList{"annotate", "--json"} + options, readout);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.Out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.Out.toStdString();
    return document.array();
}

TEST(AnnotateJson, GivesOneObjectPerLineWithACodeOrACrc)
{
    const QByteArray telegram = "/KST5 test\r\n\r\n1-0:1.8.1(000123.456*kWh)\r\n0-1:24.2.1(261210120000W)(00012.345*m3)\r\n"
                                "garbage line\r\n12-0:1.8.0(1)\r\n1-0:1.8.300(1)\r\n!0000\r\n";
    const QJsonArray lines = AnnotatedJson(telegram);
    ASSERT_EQ(lines.size(), 5);

    const QJsonObject energy = lines[0].toObject();
    EXPECT_EQ(energy.value("line"), QJsonValue(3));
    EXPECT_EQ(energy.value("text"), QJsonValue("1-0:1.8.1(000123.456*kWh)"));
    EXPECT_EQ(energy.value("code"), QJsonValue("1.0.1.8.1.255"));
    EXPECT_TRUE(energy.value("description").toString().contains(QStringLiteral("Active power+")));
    EXPECT_EQ(energy.value("values"), (QJsonArray{QJsonObject{{"value", "000123.456"}, {"unit", "kWh"}}}));
    EXPECT_FALSE(energy.contains("error"));

    EXPECT_EQ(lines[1].toObject().value("values"),
        (QJsonArray{QJsonObject{{"value", "261210120000W"}, {"unit", QJsonValue()}},
            QJsonObject{{"value", "00012.345"}, {"unit", "m3"}}}));

    // A code with A above 9 is reported with the lookup's message, never dropped.
    const QJsonObject media = lines[2].toObject();
    EXPECT_EQ(media.value("code"), QJsonValue("12.0.1.8.0.255"));
    EXPECT_EQ(media.value("description"), QJsonValue());
    EXPECT_EQ(media.value("error"), QJsonValue("Code=12.0.1.8.0.255, illegal media 12"));

    const QJsonObject unreadable = lines[3].toObject();
    EXPECT_EQ(unreadable.value("code"), QJsonValue());
    EXPECT_TRUE(unreadable.value("error").toString().startsWith(QStringLiteral("Cannot read \"1-0:1.8.300\" as an OBIS code")));

    const QJsonObject crc = lines[4].toObject().value("crc").toObject();
    EXPECT_EQ(crc.value("written"), QJsonValue("0000"));
    EXPECT_EQ(crc.value("holds"), QJsonValue(false));
}

TEST(AnnotateJson, NamesTheFileOfEachLineWhenFilesAreGiven)
{
    const QJsonArray lines = AnnotatedJson({}, {Readouts + QStringLiteral("/iec-mode-c.txt"), Readouts + QStringLiteral("/sml-text.txt")});
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first().toObject().value("file"), QJsonValue(Readouts + QStringLiteral("/iec-mode-c.txt")));
    EXPECT_EQ(lines.last().toObject().value("file"), QJsonValue(Readouts + QStringLiteral("/sml-text.txt")));
}

TEST(Annotate, ReadsReducedCodesWithTheMediaGiven)
{
    const TRun run = Cli({"annotate", "--media", "7"}, "1.0.0(261210120000)\n");
    EXPECT_EQ(run.Out.section(u'\n', 1, 1).trimmed().section(u':', 0, 0), QStringLiteral("7.0.1.0.0.255"));
}

TEST(Annotate, AFileThatCannotBeOpenedIsALoadError)
{
    const TRun run = Cli({"annotate", QStringLiteral("/nonexistent/telegram.txt")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("Cannot open \"/nonexistent/telegram.txt\""))) << run.Err.toStdString();
}

} // namespace
