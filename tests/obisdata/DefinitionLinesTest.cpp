#include "obisdata/Model.h"
#include "support/Exception.h"
#include "TestDatabase.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

namespace {

// An item line: kind "", field A, B..F, then the texts and classes given.
QStringList Item(const char* a, std::array<const char*, 5> codes, std::initializer_list<const char*> rest = {})
{
    QStringList fields{QString(), QString::fromUtf8(a)};
    for (const char* code : codes)
        fields.append(QString::fromUtf8(code));
    for (const char* field : rest)
        fields.append(QString::fromUtf8(field));
    while (fields.size() < 15)
        fields.append(QString());
    return fields;
}

QStringList Fields(std::initializer_list<const char*> fields)
{
    return Lines(fields);
}

QString ErrorOf(TOBISData& database, int media, int lineNr, const QStringList& fields)
{
    EnsureMedia(database, media);
    try {
        database.ProcessLine(media, lineNr, fields);
    } catch (const Exception& e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

QString LineError(int media, int lineNr, const QString& text)
{
    return QStringLiteral("MediaNr=%1, LineNr=%2, \"%3\"").arg(media).arg(lineNr).arg(text);
}

QString ItemError(int lineNr, const QString& message)
{
    return QStringLiteral("%1 line %2").arg(message).arg(lineNr);
}

struct MessageCase
{
    const char* Name;
    QStringList Fields;
    QString Expected;
};

class DefinitionLineErrors : public testing::TestWithParam<MessageCase> {};

TEST_P(DefinitionLineErrors, CarryTheirMessage)
{
    TOBISData database;
    AddLines(database, 1, {"def,ALL = *"});
    EXPECT_EQ(ErrorOf(database, 1, 12, GetParam().Fields), GetParam().Expected);
    // A failing line appends no item.
    EXPECT_TRUE(database.AllMediaData[1]->Items.empty());
}

const std::array<const char*, 5> Codes{"0", "1", "8", "0", "255"};

INSTANTIATE_TEST_SUITE_P(Lines, DefinitionLineErrors,
    testing::Values(MessageCase{"emptyLine", {}, LineError(1, 12, "Empty line")},
        MessageCase{"upperCaseCom", Fields({"COM", "x"}), LineError(1, 12, "Illegal line")},
        MessageCase{"mixedCaseCom", Fields({"Com"}), LineError(1, 12, "Illegal line")},
        MessageCase{"otherKind", Fields({"x"}), LineError(1, 12, "Illegal line")},
        MessageCase{"markerAlone", Fields({"N"}), "Range check error"},
        MessageCase{"markerWithoutColumn", Fields({"N3"}), "Range check error"},
        MessageCase{"markerBadDigit", Fields({"NXC"}), "Range check error"},
        MessageCase{"markerBadColumn", Fields({"N3G", "1"}), "Range check error"},
        MessageCase{"markerLowerColumn", Fields({"N3c", "1"}), "Range check error"},
        MessageCase{"tableIndexNotInteger", Fields({"N1C", "", "", "abc"}), "'abc' is not a valid integer value"},
        MessageCase{"tableIndexNegative", Fields({"N1C", "", "", "-1", "", "", "", "", "x"}), "Argument out of range"},
        MessageCase{"tableIndexBeyondAByte", Fields({"N1C", "", "", "256", "", "", "", "", "x"}), "Argument out of range"},
        MessageCase{"tableWithoutIndexField", Fields({"N1C", "", ""}), "List index out of bounds (3)"},
        MessageCase{"tableWithoutTextField", Fields({"N1C", "", "", "2"}), "List index out of bounds (8)"},
        MessageCase{"variableWithoutField", Fields({"def"}), "List index out of bounds (1)"},
        MessageCase{"variableWithoutEqual", Fields({"def", "X 1-4"}), LineError(1, 12, "Illegal syntax")},
        MessageCase{"variableBadPattern", Fields({"def", "X = 1-"}), LineError(1, 12, "Illegal syntax")},
        MessageCase{"variableIllegalCharacter", Fields({"def", "é = 1"}), LineError(1, 12, "Illegal syntax")},
        MessageCase{"fieldBMissing", Fields({"", "1"}), ItemError(12, LineError(1, 12, "Field B missing"))},
        MessageCase{"fieldFMissing", Fields({"", "1", "0", "1", "8", "0"}), ItemError(12, LineError(1, 12, "Field F missing"))},
        MessageCase{"twelveFields", Item("1", Codes).mid(0, 12), ItemError(12, "List index out of bounds (12)")},
        MessageCase{"nineFields", Item("1", Codes).mid(0, 9), ItemError(12, "List index out of bounds (9)")},
        MessageCase{"emptyFieldA", Item("", Codes), ItemError(12, LineError(1, 12, "Field \"A\" unknown"))},
        MessageCase{"spacesFieldA", Item("  ", Codes), ItemError(12, LineError(1, 12, "Field \"A\" unknown"))},
        MessageCase{"ampersAndOutsideMedia0", Item("&", Codes), ItemError(12, "Syntax error in cell containing \"&\"")},
        MessageCase{"fieldAAboveAByte", Item("256", Codes), ItemError(12, "Range check error")},
        MessageCase{"fieldAWrappedNegative", Item("4294967295", Codes), ItemError(12, "Range check error")},
        MessageCase{"fieldASigned", Item("-5", Codes), ItemError(12, "Syntax error in cell containing \"-5\"")},
        MessageCase{"fieldAIllegalCharacter", Item("1é", Codes), ItemError(12, "Syntax error in cell containing \"1é\"")},
        MessageCase{"undefinedVariable", Item("1", {"0", "VOLT", "8", "0", "255"}),
            ItemError(12, LineError(1, 12, "Variable VOLT not found"))},
        MessageCase{"lowerCaseUndefinedVariable", Item("1", {"0", "volt", "8", "0", "255"}),
            ItemError(12, LineError(1, 12, "Variable VOLT not found"))},
        MessageCase{"codeFieldDescending", Item("1", {"0", "5-3", "8", "0", "255"}),
            ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"codeFieldAboveAByte", Item("1", {"0", "300", "8", "0", "255"}),
            ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"codeFieldStar", Item("1", {"0", "*", "8", "0", "255"}), ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"codeFieldNumberThenStar", Item("1", {"0", "1*", "8", "0", "255"}),
            ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"codeFieldEmpty", Item("1", {"0", "", "8", "0", "255"}), ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"codeFieldNumberThenName", Item("1", {"0", "5 all", "8", "0", "255"}),
            ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"codeFieldAmpersAnd", Item("1", {"0", "&", "8", "0", "255"}),
            ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"codeFieldIllegalCharacter", Item("1", {"0", "5é", "8", "0", "255"}),
            ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"codeFieldOnlyIllegalCharacter", Item("1", {"0", "1", "8", "0", "\u00a0"}),
            ItemError(12, LineError(1, 12, "Illegal syntax"))},
        MessageCase{"interfaceClassAboveAByte", Item("1", Codes, {"", "", "", "", "", "300"}),
            ItemError(12, "Range check error")},
        MessageCase{"interfaceClassDescending", Item("1", Codes, {"", "", "", "", "", "3-1"}),
            ItemError(12, "Syntax error in cell containing \"3-1\"")},
        MessageCase{"valueTypesIllegalCharacter", Item("1", Codes, {"", "", "", "", "", "", "", "6é"}),
            ItemError(12, "Syntax error in cell containing \"6é\"")}),
    CaseName());

QString FirstLine(const TOBISData& database, int media)
{
    const auto& items = database.AllMediaData[static_cast<std::size_t>(media)]->Items;
    return items.empty() ? QString() : items.front()->ToString();
}

struct PatternCase
{
    const char* Field;
    const char* Text;
};

class CodeFieldPatterns : public testing::TestWithParam<PatternCase> {};

TEST_P(CodeFieldPatterns, ReadAsOnePatternOrVariable)
{
    TOBISData database;
    AddLines(database, 1, {"def,ALL = *", "def,Chan = 0-64"});
    database.ProcessLine(1, 3, Item("1", {"0", GetParam().Field, "8", "0", "255"}));
    EXPECT_EQ(database.AllMediaData[1]->Items.front()->Values.GetValue(TColumn::C).ToString(),
        QString::fromUtf8(GetParam().Text));
}

INSTANTIATE_TEST_SUITE_P(Fields, CodeFieldPatterns,
    testing::Values(PatternCase{"7", "7"}, PatternCase{"0-255", "[0-255]"}, PatternCase{"1,5,9", "[1,5,9]"},
        PatternCase{"1 2", "[1-2]"}, PatternCase{"1,,2", "[1-2]"}, PatternCase{"0x10", "16"},
        PatternCase{"all", "[0-255]"}, PatternCase{"CHAN", "[0-64]"}, PatternCase{"ALL 5", "5"}, PatternCase{" 1-2,7 ", "[1-2,7]"}));

TEST(ItemLine, FieldADecidesTheMediaList)
{
    TOBISData database;
    EXPECT_EQ(ErrorOf(database, 2, 1, Item("1", Codes)), QStringLiteral("(no error)"));
    EXPECT_TRUE(database.AllMediaData[2]->Items.empty());

    database.ProcessLine(2, 2, Item("1,2", Codes, {"text"}));
    EXPECT_EQ(FirstLine(database, 2), QStringLiteral("2|{A=2, B=0, C=1, D=8, E=0, F=255}|text"));

    for (int media : {0, 3, 9}) {
        EnsureMedia(database, media);
        database.ProcessLine(media, 3, Item("*", Codes));
        EXPECT_EQ(FirstLine(database, media), QStringLiteral("3|{A=%1, B=0, C=1, D=8, E=0, F=255}|").arg(media));
    }
}

TEST(ItemLine, AmpersAndOnMedia0CopiesIntoEveryExistingList)
{
    TOBISData database;
    for (int media : {0, 1, 4, 7})
        EnsureMedia(database, media);
    database.ProcessLine(0, 5, Item("& ignored", Codes, {"Clock"}));
    EXPECT_EQ(FirstLine(database, 0), QStringLiteral("5|{A=0, B=0, C=1, D=8, E=0, F=255}|Clock"));
    for (int media : {1, 4, 7}) {
        EXPECT_EQ(FirstLine(database, media), QStringLiteral("&5|{A=%1, B=0, C=1, D=8, E=0, F=255}|Clock").arg(media));
        EXPECT_TRUE(database.AllMediaData[static_cast<std::size_t>(media)]->Items.front()->IsAmpersAndExpansion);
    }
    EXPECT_EQ(database.AllMediaData[2], nullptr);
}

TEST(ItemLine, ReadsTextsAndClasses)
{
    TOBISData database;
    EnsureMedia(database, 1);
    database.ProcessLine(1, 7, Item("1", Codes, {"b", "", "d", "e", "f", "3,7", "  ", "*"}));
    const TOBISItemData& item = *database.AllMediaData[1]->Items.front();
    EXPECT_EQ(item.Texts, Lines({"b", "", "d", "e", "f"}));
    EXPECT_EQ(item.InterfaceClasses->ToString(), QStringLiteral("[3,7]"));
    ASSERT_NE(item.AltInterfaceClasses, nullptr);
    EXPECT_EQ(item.AltInterfaceClasses->Kind, TValueKind::vkNone);
    EXPECT_EQ(item.ValueTypes->ToString(), QStringLiteral("[0-255]"));
    EXPECT_EQ(item.LineNr, 7);

    database.ProcessLine(1, 8, Item("1", Codes));
    const TOBISItemData& plain = *database.AllMediaData[1]->Items.back();
    EXPECT_EQ(plain.InterfaceClasses, nullptr);
    EXPECT_EQ(plain.AltInterfaceClasses, nullptr);
    EXPECT_EQ(plain.ValueTypes, nullptr);
}

TEST(VariableLine, DefinesAndRedefinesWithoutRegardToCase)
{
    TOBISData database;
    AddLines(database, 1, {"def,X = 1-4", "def,x = 9", "def,Y =", "def,Z = 3 * junk ("});
    const TVariables& variables = database.AllMediaData[1]->Variables;
    ASSERT_EQ(variables.Entries().size(), 3U);
    EXPECT_EQ(variables.Find(QStringLiteral("X"))->ToString(), QStringLiteral("9"));
    EXPECT_EQ(variables.Find(QStringLiteral("Y"))->Kind, TValueKind::vkNone);
    EXPECT_EQ(variables.Find(QStringLiteral("Z"))->ToString(), QStringLiteral("[0-255]"));
}

TEST(VariableLine, BelongsToItsMediaOnly)
{
    TOBISData database;
    AddLines(database, 1, {"def,ALL = *"});
    EXPECT_EQ(ErrorOf(database, 2, 4, Item("2", {"ALL", "1", "8", "0", "255"})),
        ItemError(4, LineError(2, 4, "Variable ALL not found")));
}

TEST(TableLine, FillsGapsWithEmptyEntriesAndIgnoresTrailingMarkerCharacters)
{
    TOBISData database;
    AddLines(database, 1, {"N1C,,,3,,,,,three", "   N1Cxyz,,,1,,,,,one", "N2A,0,,,,,zero"});
    const TTable& table = *database.AllMediaData[1]->Tables[1];
    EXPECT_EQ(table.Column, TColumn::C);
    ASSERT_EQ(table.Entries.size(), 4U);
    EXPECT_EQ(table.Entries[0].Text, QString());
    EXPECT_EQ(table.Entries[1].Text, QStringLiteral("one"));
    EXPECT_EQ(table.Entries[2].Text, QString());
    EXPECT_EQ(table.Entries[3].Text, QStringLiteral("three"));
    EXPECT_EQ(database.AllMediaData[1]->Tables[2]->Entries.front().Text, QStringLiteral("zero"));
}

TEST(TableLine, ATableCreatedByAFailingLineStays)
{
    TOBISData database;
    EXPECT_EQ(ErrorOf(database, 1, 1, Fields({"N4D", "", "", "", "x"})), QStringLiteral("'x' is not a valid integer value"));
    ASSERT_NE(database.AllMediaData[1]->Tables[4], nullptr);
    EXPECT_TRUE(database.AllMediaData[1]->Tables[4]->Entries.empty());
}

QStringList TraceLines;

void CollectTrace(QtMsgType, const QMessageLogContext&, const QString& message)
{
    TraceLines.append(message);
}

TEST(TableLine, TracesEveryNewTable)
{
    QLoggingCategory::setFilterRules(QStringLiteral("kestrune.definitions.debug=true"));
    TraceLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectTrace);
    TOBISData database;
    AddLines(database, 6, {"N3E,,,,,0,,,,,x", "N3E,,,,,1,,,,,y"});
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    EXPECT_EQ(TraceLines, Lines({"Creating Table nr 3 (E) for 6"}));
}

TEST(CommentLine, IsNotLookedAt)
{
    TOBISData database;
    AddLines(database, 1, {"   com,anything", "com"});
    EXPECT_TRUE(database.AllMediaData[1]->Items.empty());
}

} // namespace
