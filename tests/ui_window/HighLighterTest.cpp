#include "ui/HighLighter.h"

#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

QString KindName(TtkTokenKind kind)
{
    switch (kind) {
    case TtkTokenKind::tkComment:
        return QStringLiteral("comment");
    case TtkTokenKind::tkIdentifier:
        return QStringLiteral("ident");
    case TtkTokenKind::tkKey1:
        return QStringLiteral("key1");
    case TtkTokenKind::tkKey2:
        return QStringLiteral("key2");
    case TtkTokenKind::tkKey3:
        return QStringLiteral("key3");
    case TtkTokenKind::tkNull:
        return QStringLiteral("null");
    case TtkTokenKind::tkSpace:
        return QStringLiteral("space");
    case TtkTokenKind::tkString:
        return QStringLiteral("string");
    case TtkTokenKind::tkUnknown:
        break;
    }
    return QStringLiteral("unknown");
}

// The tokens of each line as "kind:text" joined by "|", the lines scanned in order with the
// range carried from one line to the next; the empty token that ends each line is left out.
QStringList ScanLines(THighLighter& highLighter, const QStringList& lines)
{
    QStringList scanned;
    highLighter.ResetRange();
    for (const QString& line : lines) {
        highLighter.SetLine(line);
        QStringList tokens;
        while (!highLighter.GetEol()) {
            highLighter.Next();
            if (highLighter.GetTokenKind() != TtkTokenKind::tkNull)
                tokens.append(KindName(highLighter.GetTokenKind()) + u':' + highLighter.GetToken());
        }
        scanned.append(tokens.join(u'|'));
    }
    return scanned;
}

// The attribute of the first token of the line.
const THighlighterAttribute* FirstTokenAttribute(THighLighter& highLighter, const QString& line)
{
    highLighter.ResetRange();
    highLighter.SetLine(line);
    highLighter.Next();
    return highLighter.GetTokenAttribute();
}

struct ScanCase
{
    std::string Name;
    QStringList Lines;
    QStringList Tokens;
};

class HighLighterScanTest : public testing::TestWithParam<ScanCase>
{
};

TEST_P(HighLighterScanTest, TokensAndRangesAcrossLines)
{
    THighLighter highLighter;
    EXPECT_EQ(ScanLines(highLighter, GetParam().Lines), GetParam().Tokens);
}

INSTANTIATE_TEST_SUITE_P(Cases, HighLighterScanTest,
    testing::Values(ScanCase {"StringsKeepTheirQuotes", {QStringLiteral("'abc' \"d'e\"")},
                        {QStringLiteral("string:'abc'|space: |string:\"d'e\"")}},
        ScanCase {"AnUnclosedStringEndsWithItsLine", {QStringLiteral("x 'open"), QStringLiteral("y")},
            {QStringLiteral("ident:x|space: |string:'open"), QStringLiteral("ident:y")}},
        ScanCase {"ACommentSpansLinesEmptyOnesIncluded",
            {QStringLiteral("a (* b"), QString(), QStringLiteral("c *) d"), QStringLiteral("e")},
            {QStringLiteral("ident:a|space: |comment:(*|comment: b"), QString(),
                QStringLiteral("comment:c *)|space: |ident:d"), QStringLiteral("ident:e")}},
        ScanCase {"ALoneParenthesisIsIdentifierStyled", {QStringLiteral("( x)")},
            {QStringLiteral("ident:(|space: |ident:x|unknown:)")}},
        ScanCase {"ABraceCommentsTheRestOfItsLine", {QStringLiteral("a {b 'c'"), QStringLiteral("d")},
            {QStringLiteral("ident:a|space: |comment:{|comment:b 'c'"), QStringLiteral("ident:d")}},
        ScanCase {"ABraceEndingALineCommentsTheNextNonEmptyLine",
            {QStringLiteral("a {"), QString(), QStringLiteral("b c"), QStringLiteral("d")},
            {QStringLiteral("ident:a|space: |comment:{"), QString(), QStringLiteral("comment:b c"),
                QStringLiteral("ident:d")}},
        ScanCase {"ACodeIsARowOfSingleCharacters", {QStringLiteral("1.0.8")},
            {QStringLiteral("unknown:1|unknown:.|unknown:0|unknown:.|unknown:8")}},
        ScanCase {"IdentifiersStartWithALetterOrUnderscore", {QStringLiteral("A_1b _x 9a")},
            {QStringLiteral("ident:A_1b|space: |ident:_x|space: |unknown:9|ident:a")}},
        ScanCase {"ControlCharactersAndBlanksMakeOneSpace", {QStringLiteral("\t \u0001x")},
            {QStringLiteral("space:\t \u0001|ident:x")}},
        ScanCase {"LineBreaksInsideALineAreSpaces", {QStringLiteral("a\r\nb\nc\rd")},
            {QStringLiteral("ident:a|space:\r\n|ident:b|space:\n|ident:c|space:\r|ident:d")}},
        ScanCase {"CharactersBeyondTheLettersAreUnknown", {QStringLiteral("\u00E9|}~")},
            {QStringLiteral("unknown:\u00E9|unknown:||unknown:}|unknown:~")}}),
    [](const testing::TestParamInfo<ScanCase>& tested) { return tested.param.Name; });

TEST(HighLighter, EveryLineEndsWithOneEmptyNullToken)
{
    THighLighter highLighter;
    highLighter.SetLine(QStringLiteral("ab"));
    highLighter.Next();
    EXPECT_FALSE(highLighter.GetEol());
    highLighter.Next();
    EXPECT_EQ(highLighter.GetTokenKind(), TtkTokenKind::tkNull);
    EXPECT_EQ(highLighter.GetTokenPos(), 2);
    EXPECT_TRUE(highLighter.GetToken().isEmpty());
    EXPECT_EQ(highLighter.GetTokenAttribute(), nullptr);
    EXPECT_TRUE(highLighter.GetEol());
}

TEST(HighLighter, RangeStatesAreStoredWithTheLine)
{
    THighLighter highLighter;
    ScanLines(highLighter, {QStringLiteral("(* open")});
    EXPECT_EQ(highLighter.GetRange(), TRangeState::rsPasStyleComment);
    ScanLines(highLighter, {QStringLiteral("'open")});
    EXPECT_EQ(highLighter.GetRange(), TRangeState::rsString);
    ScanLines(highLighter, {QStringLiteral("x {")});
    EXPECT_EQ(highLighter.GetRange(), TRangeState::rsDSlashComment);
    ScanLines(highLighter, {QStringLiteral("{ all")});
    EXPECT_EQ(highLighter.GetRange(), TRangeState::rsUnKnown);
}

TEST(HighLighter, KeywordsIgnoreLetterCaseAndKeepTheirFirstClass)
{
    THighLighter highLighter;
    EXPECT_EQ(
        ScanLines(highLighter, {QStringLiteral("Energy")}), QStringList {QStringLiteral("ident:Energy")});
    highLighter.SetKeyWords({QStringLiteral("energy")}, TtkTokenKind::tkKey2);
    highLighter.SetKeyWords({QStringLiteral("ENERGY"), QStringLiteral("total")}, TtkTokenKind::tkKey1);
    EXPECT_EQ(ScanLines(highLighter, {QStringLiteral("Energy TOTAL energy1")}),
        QStringList {QStringLiteral("key2:Energy|space: |key1:TOTAL|space: |ident:energy1")});
    const THighlighterAttribute* attribute = FirstTokenAttribute(highLighter, QStringLiteral("Energy"));
    ASSERT_NE(attribute, nullptr);
    EXPECT_EQ(attribute->Name, QStringLiteral("AttrReservedWord2"));
    EXPECT_TRUE(attribute->Bold);
    EXPECT_EQ(attribute->Foreground, QColor(52, 175, 31));
}

TEST(HighLighter, AttributesAndTheirDefaultSlots)
{
    THighLighter highLighter;
    QStringList names;
    for (const THighlighterAttribute& attribute : highLighter.Attributes())
        names.append(attribute.Name + u'/' + attribute.FriendlyName);
    EXPECT_EQ(names,
        QStringList({QStringLiteral("AttrComment/FriendlyAttrComment"),
            QStringLiteral("AttrIdentifier/FriendlyAttrIdentifier"),
            QStringLiteral("AttrReservedWord1/FriendlyAttrReservedWord1"),
            QStringLiteral("AttrReservedWord2/FriendlyAttrReservedWord2"),
            QStringLiteral("AttrReservedWord3/FriendlyAttrReservedWord3"),
            QStringLiteral("AttrSpace/FriendlyAttrSpace"), QStringLiteral("AttrString/FriendlyAttrString")}));

    QStringList defaultSlots;
    for (int index = 0; index <= 5; ++index) {
        const THighlighterAttribute* attribute = highLighter.GetDefaultAttribute(index);
        defaultSlots.append(attribute ? attribute->Name : QStringLiteral("none"));
    }
    EXPECT_EQ(defaultSlots,
        QStringList({QStringLiteral("AttrComment"), QStringLiteral("AttrIdentifier"),
            QStringLiteral("AttrReservedWord1"), QStringLiteral("AttrString"), QStringLiteral("AttrSpace"),
            QStringLiteral("none")}));
    EXPECT_EQ(highLighter.GetDefaultAttribute(-1), nullptr);
}

TEST(HighLighter, PaintsCommentsBoldBlueAndStringsPurple)
{
    THighLighter highLighter;
    const THighlighterAttribute* comment = FirstTokenAttribute(highLighter, QStringLiteral("{c"));
    const THighlighterAttribute* string = FirstTokenAttribute(highLighter, QStringLiteral("'s'"));
    const THighlighterAttribute* unknown = FirstTokenAttribute(highLighter, QStringLiteral("9"));
    ASSERT_TRUE(comment && string && unknown);
    EXPECT_TRUE(comment->Bold);
    EXPECT_EQ(highLighter.defaultColor(comment->Style), QColor(0, 0, 255));
    EXPECT_TRUE(highLighter.defaultFont(comment->Style).bold());
    EXPECT_EQ(highLighter.defaultColor(string->Style), QColor(128, 0, 128));
    EXPECT_FALSE(highLighter.defaultFont(string->Style).bold());
    EXPECT_EQ(unknown->Name, QStringLiteral("AttrIdentifier"));
}

} // namespace
