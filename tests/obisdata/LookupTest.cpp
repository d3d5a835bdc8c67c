#include "obisdata/Limits.h"
#include "obisdata/Model.h"
#include "support/Exception.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

// A table entry line: marker N<t><c>, the index in the field's column, the text in its text.
QStringList TableLine(const char* marker, TColumn column, int index, const char* text)
{
    QStringList fields(15);
    fields[0] = QString::fromLatin1(marker);
    fields[static_cast<int>(column) + 1] = QString::number(index);
    fields[static_cast<int>(column) + 6] = QString::fromUtf8(text);
    return fields;
}

// An item line of media 1 covering every code 1.*.*.*.*.* with the given texts.
QStringList ItemLine(const std::vector<const char*>& texts)
{
    QStringList fields{QString(), QStringLiteral("1")};
    for (int i = 0; i < 5; ++i)
        fields.append(QStringLiteral("ALL"));
    for (const char* text : texts)
        fields.append(QString::fromUtf8(text));
    while (fields.size() < 15)
        fields.append(QString());
    return fields;
}

class Lookup : public testing::Test
{
protected:
    void SetUp() override
    {
        EnsureMedia(Database, 1);
        Database.ProcessLine(1, 1, {QStringLiteral("def"), QStringLiteral("ALL = *")});
        Database.ProcessLine(1, 2, TableLine("N2C", TColumn::C, 1, "Active power+"));
        Database.ProcessLine(1, 3, TableLine("N2C", TColumn::C, 3, "Reactive power+"));
        Database.ProcessLine(1, 4, TableLine("N4D", TColumn::D, 8, "rate $E"));
    }

    QString Describe(const std::vector<const char*>& texts, const char* code)
    {
        Database.AllMediaData[1]->Items.clear();
        Database.ProcessLine(1, 42, ItemLine(texts));
        return Database.GetOBISText(Code(code));
    }

    TOBISData Database;
};

struct DescriptionCase
{
    const char* Name;
    std::vector<const char*> Texts;
    const char* Code;
    const char* Expected;
};

class Descriptions : public Lookup, public testing::WithParamInterface<DescriptionCase> {};

TEST_P(Descriptions, ResolveThePlaceholders)
{
    EXPECT_EQ(Describe(GetParam().Texts, GetParam().Code), QString::fromUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, Descriptions,
    testing::Values(DescriptionCase{"offsetAndField", {"", "Energy $(D-8)", "$E"}, "1.0.1.8.0.255", "Energy 0 0"},
        DescriptionCase{"aboveAByte", {"$(B+1)"}, "1.255.1.8.0.255", "256"},
        DescriptionCase{"negative", {"$(D-9)"}, "1.0.1.8.0.255", "-1"},
        DescriptionCase{"lowerCaseLetter", {"$(d+1)"}, "1.0.1.8.0.255", "9"},
        DescriptionCase{"withoutOffset", {"x$(B)yz"}, "1.7.1.8.0.255", "x7yz"},
        DescriptionCase{"blanksInside", {"$( F + 2 )!"}, "1.0.1.8.0.3", "5)!"},
        DescriptionCase{"offsetClosedByAnyCharacter", {"$(B+1]z"}, "1.1.1.8.0.255", "2z"},
        DescriptionCase{"offsetAtTheEnd", {"$(B+1"}, "1.1.1.8.0.255", "2"},
        DescriptionCase{"hexOffset", {"$(A+0x10)"}, "1.1.1.8.0.255", "17"},
        DescriptionCase{"table", {"$2 total"}, "1.0.3.8.0.255", "Reactive power+ total"},
        DescriptionCase{"tableTextWithPlaceholders", {"$4"}, "1.0.3.8.5.255", "rate 5"},
        DescriptionCase{"emptyTextsSkipped", {"", "a", "", "b", ""}, "1.0.1.8.0.255", "a b"},
        DescriptionCase{"noTexts", {}, "1.0.1.8.0.255", ""},
        DescriptionCase{"dollarLast", {"cost $"}, "1.0.1.8.0.255", "cost $"},
        DescriptionCase{"dollarBeforeOther", {"$0 $x $ $$A"}, "1.0.1.8.0.255", "$0 $x $ $1"}),
    CaseName());

struct ErrorCase
{
    const char* Name;
    const char* Text;
    const char* Code;
    int Error;
};

class LookupErrors : public Lookup, public testing::WithParamInterface<ErrorCase> {};

TEST_P(LookupErrors, NameTheErrorAndTheLine)
{
    try {
        Describe({GetParam().Text}, GetParam().Code);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Error %1 on line 42").arg(GetParam().Error));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, LookupErrors,
    testing::Values(ErrorCase{"missingTable", "$3", "1.0.1.8.0.255", 1},
        ErrorCase{"emptyEntry", "$2", "1.0.2.8.0.255", 2}, ErrorCase{"beyondTheTable", "$2", "1.0.200.8.0.255", 2},
        ErrorCase{"longIdentifier", "$(BC+1)", "1.0.1.8.0.255", 3}, ErrorCase{"noIdentifier", "$(1)", "1.0.1.8.0.255", 3},
        ErrorCase{"openAtTheEnd", "$(", "1.0.1.8.0.255", 3}, ErrorCase{"illegalCharacter", "$(é+1)", "1.0.1.8.0.255", 3},
        ErrorCase{"notAField", "$(G+1)", "1.0.1.8.0.255", 4}, ErrorCase{"badOperator", "$(B*2)", "1.0.1.8.0.255", 5},
        ErrorCase{"noClose", "$(B", "1.0.1.8.0.255", 5}, ErrorCase{"noNumber", "$(B+)", "1.0.1.8.0.255", 6},
        ErrorCase{"illegalNumber", "$(B+é)", "1.0.1.8.0.255", 6}),
    CaseName());

TEST_F(Lookup, AReplacementThatBringsItselfBackEnds)
{
    Database.ProcessLine(1, 5, TableLine("N5C", TColumn::C, 1, "$5$5"));
    try {
        Describe({"$5"}, "1.0.1.8.0.255");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("The placeholders on line 42 do not come to an end"));
    }
}

TEST_F(Lookup, TheFirstMatchingDefinitionWins)
{
    Database.ProcessLine(1, 50, ItemLine({"first"}));
    Database.ProcessLine(1, 51, ItemLine({"second"}));
    EXPECT_EQ(Database.GetOBISText(Code("1.0.1.8.0.255")), QStringLiteral("first"));
}

TEST_F(Lookup, ACodeWithoutDefinitionIsNotFound)
{
    Database.AllMediaData[1]->Items.clear();
    EXPECT_EQ(Database.GetOBISText(Code("1.0.1.8.0.255")), QStringLiteral("Not found 1.0.1.8.0.255"));
}

TEST_F(Lookup, TheMediaMustExist)
{
    const auto messageFor = [this](const char* code) {
        try {
            Database.GetOBISText(Code(code));
        } catch (const Exception& e) {
            return e.Message();
        }
        return QString();
    };
    EXPECT_EQ(messageFor("12.0.1.8.0.255"), QStringLiteral("Code=12.0.1.8.0.255, illegal media 12"));
    EXPECT_EQ(messageFor("3.0.1.8.0.255"), QStringLiteral("Code=3.0.1.8.0.255, no data available for media 3"));
}

} // namespace
