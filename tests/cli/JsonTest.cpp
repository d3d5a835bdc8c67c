// The --json documents, parsed back.

#include "RunCli.h"
#include "tests/QtPrinters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QJsonDocument Parsed(const TRun& run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.Out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.Out.toStdString();
    return document;
}

QJsonObject Object(std::initializer_list<std::pair<QString, QJsonValue>> members)
{
    QJsonObject object;
    for (const auto& [name, value] : members)
        object.insert(name, value);
    return object;
}

TEST(JsonOutput, DescribeGivesInputCodeAndDescriptionOrError)
{
    const TRun run = Cli(WithCsv({"describe", "--json", "1-0:32.7.0", "1.0.0.0", "12.0.1.8.0.255"}));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(Parsed(run).array(),
        (QJsonArray{Object({{"input", "1-0:32.7.0"}, {"code", "1.0.32.7.0.255"}, {"description", "Voltage L1 Instantaneous value"}}),
            Object({{"input", "1.0.0.0"}, {"code", QJsonValue()},
                {"error", "Cannot read \"1.0.0.0\" as an OBIS code: 4 groups, where A.B.C.D.E.F has 6 and a reduced code C.D or C.D.E"}}),
            Object({{"input", "12.0.1.8.0.255"}, {"code", "12.0.1.8.0.255"}, {"error", "Code=12.0.1.8.0.255, illegal media 12"}})}));
    EXPECT_EQ(run.Err, QString());
}

TEST(JsonOutput, SearchGivesEveryDefinitionWithItsPatternsTextsAndClasses)
{
    const TRun run = Cli(WithCsv({"search", "--json", "-A", "1", "--text", "voltage"}));
    EXPECT_EQ(run.ExitCode, 0);
    const QJsonObject patterns = Object(
        {{"A", "1"}, {"B", "0"}, {"C", "32"}, {"D", "7"}, {"E", "0"}, {"F", "255"}});
    EXPECT_EQ(Parsed(run).object(),
        Object({{"count", 1},
            {"definitions", QJsonArray{Object({{"media", 1}, {"line", 8}, {"patterns", patterns},
                                {"texts", QJsonArray{"Voltage L1", "Instantaneous value"}}, {"ic", "3"}, {"altIc", QJsonValue()},
                                {"types", "18"}})}}}));
}

TEST(JsonOutput, WordsIsAnArrayOfTheWords)
{
    const QJsonArray words = Parsed(Cli(WithCsv({"words", "--json"}))).array();
    EXPECT_EQ(words.size(), 21);
    EXPECT_EQ(words.first(), QJsonValue("1"));
    EXPECT_TRUE(words.contains(QJsonValue("Clock")));
}

} // namespace
