#include "lexer/LexicalAnalyser.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_view_literals;
using enum TLexicalToken;

// One token in a readable form: kind, value and length of identifiers, integers and strings;
// the display text of every other kind.
std::string Describe(const TLexicalAnalyser& L)
{
    const auto withLength = [&L](const QString& kind, const QString& value) {
        return QStringLiteral("%1 %2 len %3").arg(kind, value).arg(L.TokenLen()).toStdString();
    };
    switch (L.Token()) {
    case toIdentifier:
        return withLength(QStringLiteral("Identifier"), L.Identifier());
    case toIntConst:
        return withLength(QStringLiteral("Int"), QString::number(L.TokenIntValue()));
    case toStrConst:
        return withLength(QStringLiteral("Str"), L.StrConst());
    case toUnknown:
        return "Unknown";
    case toNotYetKnown:
        return "NotYetKnown";
    default:
        return TokenDisplayText(L.Token()).toStdString();
    }
}

QString TextOf(std::u16string_view text)
{
    return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

// A text in a form fit for a test name: letters and digits as they are, any other
// character as "_" and its hexadecimal code.
std::string NameOf(std::u16string_view text)
{
    if (text.empty())
        return "empty";
    std::string name;
    for (const char16_t c : text) {
        if (c < 128 && std::isalnum(c))
            name += static_cast<char>(c);
        else
            name += "_" + QString::number(c, 16).toStdString();
    }
    return name;
}

// The tokens of a text up to the end of buffer (excluded).
std::vector<std::string> Tokens(TLexicalAnalyser& L)
{
    std::vector<std::string> tokens;
    for (int guard = 0; guard < 100 && L.Token() != toEndOfBuffer; ++guard) {
        tokens.push_back(Describe(L));
        L.Next();
    }
    return tokens;
}

std::vector<std::string> Tokens(std::u16string_view text)
{
    TLexicalAnalyser L;
    L.SetText(TextOf(text));
    return Tokens(L);
}

// Every token kind that a text produces, with its display text.

struct TokenKindCase
{
    std::u16string_view Text;
    TLexicalToken Kind;
    const char* Display;
};

void PrintTo(const TokenKindCase& c, std::ostream* os)
{
    *os << NameOf(c.Text);
}

class LexTokenKindTest : public testing::TestWithParam<TokenKindCase>
{
};

TEST_P(LexTokenKindTest, TextGivesOneTokenOfItsKind)
{
    const TokenKindCase& c = GetParam();
    TLexicalAnalyser L;
    L.SetText(TextOf(c.Text));
    EXPECT_EQ(L.Token(), c.Kind);
    EXPECT_EQ(TokenDisplayText(c.Kind).toStdString(), c.Display);
    L.Next();
    EXPECT_EQ(L.Token(), toEndOfBuffer) << "the whole text is one token";
    EXPECT_EQ(L.LexError, TLexError::LexNoErr);
}

INSTANTIATE_TEST_SUITE_P(Produced, LexTokenKindTest,
    testing::Values(TokenKindCase {u"!", toUnknown, ""}, TokenKindCase {u"abc", toIdentifier, "Identifier"},
        TokenKindCase {u"", toEndOfBuffer, "End of buffer"}, TokenKindCase {u";", toSemicolon, ";"},
        TokenKindCase {u".", toPoint, "."}, TokenKindCase {u"[", toBraOpen, "["},
        TokenKindCase {u"]", toBraClose, "]"}, TokenKindCase {u":=", toAssigment, ":="},
        TokenKindCase {u"+=", toPlusEqual, "+="}, TokenKindCase {u"-=", toMinusEqual, "-="},
        TokenKindCase {u"(", toParOpen, "("}, TokenKindCase {u")", toParClose, ")"},
        TokenKindCase {u",", toComma, ","}, TokenKindCase {u":", toColon, ":"},
        TokenKindCase {u"+", toPlus, "+"}, TokenKindCase {u"-", toMinus, "-"},
        TokenKindCase {u"..", toRange, ".."}, TokenKindCase {u"'x'", toStrConst, "String constant"},
        TokenKindCase {u">=", toGreaterOrEqual, ">="}, TokenKindCase {u">", toGreater, ">"},
        TokenKindCase {u"<=", toLesserOrEqual, "<="}, TokenKindCase {u"<", toLesser, "<"},
        TokenKindCase {u"<>", toDifferent, "<>"}, TokenKindCase {u"=", toEqual, "="},
        TokenKindCase {u"*", toStar, "*"}, TokenKindCase {u"(*", toNotYetKnown, ""},
        TokenKindCase {u"/", toSlash, "/"}, TokenKindCase {u"42", toIntConst, "Int constant"},
        TokenKindCase {u"@", toArobase, "@"}, TokenKindCase {u"^", toCaret, "^"},
        TokenKindCase {u"{", toCurlOpen, "{"}, TokenKindCase {u"}", toCurlClose, "}"},
        TokenKindCase {u"#", toSharp, "#"}, TokenKindCase {u"::", toAlias, "::"},
        TokenKindCase {u"%", toPerCent, "%"}, TokenKindCase {u"|", toVerticalBar, "|"},
        TokenKindCase {u"...", toEllipsis, "..."}, TokenKindCase {u"&", toAmpersAnd, "&"}));

TEST(LexTokenDisplayTextTest, KindsNeverProducedStillHaveTheirTexts)
{
    EXPECT_EQ(TokenDisplayText(toEndOfLine), QStringLiteral("End of line"));
    EXPECT_EQ(TokenDisplayText(toSpaces), QStringLiteral(" "));
    EXPECT_EQ(TokenDisplayText(toComment), QStringLiteral("Comment"));
}

// Token sequences, including texts that end in the middle of a token.

struct ScanCase
{
    std::u16string_view Text;
    std::vector<std::string> Expected;
};

void PrintTo(const ScanCase& c, std::ostream* os)
{
    *os << NameOf(c.Text);
}

class LexScanTest : public testing::TestWithParam<ScanCase>
{
};

TEST_P(LexScanTest, TextGivesTokens)
{
    const ScanCase& c = GetParam();
    EXPECT_EQ(Tokens(c.Text), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Identifiers, LexScanTest,
    testing::Values(ScanCase {u"abc_1 x", {"Identifier ABC_1 len 5", "Identifier X len 1"}},
        ScanCase {u"~ab", {"Identifier ~AB len 3"}},
        ScanCase {u"a~b", {"Identifier A len 1", "Identifier ~B len 2"}},
        ScanCase {u"_9zZ;", {"Identifier _9ZZ len 4", ";"}},
        ScanCase {u"~~", {"Identifier ~ len 1", "Identifier ~ len 1"}}));

INSTANTIATE_TEST_SUITE_P(Integers, LexScanTest,
    testing::Values(ScanCase {u"0x1F", {"Int 31 len 4"}}, ScanCase {u"0X", {"Int 0 len 2"}},
        ScanCase {u"0x", {"Int 0 len 2"}}, ScanCase {u"007", {"Int 7 len 3"}},
        ScanCase {u"0", {"Int 0 len 1"}}, ScanCase {u"1A", {"Int 20 len 2"}},
        ScanCase {u"1a", {"Int 20 len 2"}}, ScanCase {u"0xg", {"Int 0 len 2", "Identifier G len 1"}},
        ScanCase {u"0xfFg", {"Int 255 len 4", "Identifier G len 1"}},
        ScanCase {u"12-0x0A", {"Int 12 len 2", "-", "Int 10 len 4"}},
        ScanCase {u"2147483647", {"Int 2147483647 len 10"}},
        ScanCase {u"2147483648", {"Int -2147483648 len 10"}}, ScanCase {u"4294967295", {"Int -1 len 10"}},
        ScanCase {u"4294967296", {"Int 0 len 10"}}, ScanCase {u"12345678901", {"Int -539222987 len 11"}},
        ScanCase {u"99999999999999999999", {"Int 1661992959 len 20"}},
        ScanCase {u"0xFFFFFFFF", {"Int -1 len 10"}}, ScanCase {u"0x100000005", {"Int 5 len 11"}}));

INSTANTIATE_TEST_SUITE_P(Strings, LexScanTest,
    testing::Values(ScanCase {u"'it''s'", {"Str it's len 7"}}, ScanCase {u"\"a'b\"", {"Str a'b len 5"}},
        ScanCase {u"'a\"b'", {"Str a\"b len 5"}}, ScanCase {u"''", {"Str  len 2"}},
        ScanCase {u"''''", {"Str ' len 4"}}, ScanCase {u"'abc", {"Str abc len 4"}},
        ScanCase {u"'", {"Str  len 1"}}, ScanCase {u"'ab''", {"Str ab' len 5"}},
        ScanCase {u"'a\rb'", {"Str a len 2", "Identifier B len 1", "Str  len 1"}},
        ScanCase {u"'a\nb' c", {"Str a\nb len 5", "Identifier C len 1"}},
        ScanCase {u"'\u00e9' x", {"Str \xc3\xa9 len 3", "Identifier X len 1"}}));

INSTANTIATE_TEST_SUITE_P(Operators, LexScanTest,
    testing::Values(ScanCase {u"...", {"..."}}, ScanCase {u"..", {".."}}, ScanCase {u".", {"."}},
        ScanCase {u"....", {"...", "."}}, ScanCase {u"1..5", {"Int 1 len 1", "..", "Int 5 len 1"}},
        ScanCase {u"<>", {"<>"}}, ScanCase {u"<>=", {"<>", "="}}, ScanCase {u"::", {"::"}},
        ScanCase {u":=", {":="}}, ScanCase {u":::=", {"::", ":="}}, ScanCase {u"=>", {"=", ">"}},
        ScanCase {u"+-", {"+", "-"}}, ScanCase {u"(x)", {"(", "Identifier X len 1", ")"}},
        ScanCase {u"/ /", {"/", "/"}},
        ScanCase {u"!$?\\`\x01", {"Unknown", "Unknown", "Unknown", "Unknown", "Unknown", "Unknown"}}));

INSTANTIATE_TEST_SUITE_P(Comments, LexScanTest,
    testing::Values(ScanCase {u"a // note\nb", {"Identifier A len 1", "Identifier B len 1"}},
        ScanCase {u"a // note", {"Identifier A len 1"}}, ScanCase {u"//", {}},
        ScanCase {u"(* x *)5", {"Int 5 len 1"}}, ScanCase {u"(**)5", {"Int 5 len 1"}},
        ScanCase {u"(* a ** b *)(* *)c", {"Identifier C len 1"}}, ScanCase {u"(*)", {"NotYetKnown"}},
        ScanCase {u"(* x *", {"NotYetKnown"}}, ScanCase {u"(* x *\n) y", {"NotYetKnown"}},
        ScanCase {u"( *x", {"(", "*", "Identifier X len 1"}},
        ScanCase {u"(* \u00e9 *) // \u00e9\nx", {"Identifier X len 1"}}));

// Texts that end before a token is complete, with a character behind the end of the text
// that would change the token if it were read.

struct CutTextCase
{
    std::u16string_view Buffer;
    qsizetype TextLength;
    std::vector<std::string> Expected;
};

void PrintTo(const CutTextCase& c, std::ostream* os)
{
    *os << NameOf(c.Buffer.substr(0, static_cast<std::size_t>(c.TextLength)));
}

class LexCutTextTest : public testing::TestWithParam<CutTextCase>
{
};

TEST_P(LexCutTextTest, ScanStopsAtTheEndOfTheText)
{
    const CutTextCase& c = GetParam();
    TLexicalAnalyser L;
    L.SetText(QString::fromRawData(reinterpret_cast<const QChar*>(c.Buffer.data()), c.TextLength));
    EXPECT_EQ(Tokens(L), c.Expected);
    EXPECT_EQ(L.NextIdx(), c.TextLength);
}

INSTANTIATE_TEST_SUITE_P(Cases, LexCutTextTest,
    testing::Values(CutTextCase {u"abcd", 3, {"Identifier ABC len 3"}},
        CutTextCase {u"123", 2, {"Int 12 len 2"}}, CutTextCase {u"0x1", 2, {"Int 0 len 2"}},
        CutTextCase {u"0x", 1, {"Int 0 len 1"}}, CutTextCase {u"'ab'", 3, {"Str ab len 3"}},
        CutTextCase {u"'a''", 3, {"Str a len 3"}}, CutTextCase {u"...", 2, {".."}},
        CutTextCase {u"..", 1, {"."}}, CutTextCase {u":=", 1, {":"}}, CutTextCase {u"<>", 1, {"<"}},
        CutTextCase {u"(*", 1, {"("}}, CutTextCase {u"(* x *)", 6, {"NotYetKnown"}},
        CutTextCase {u"// x\ny", 4, {}}));

TEST(LexEndOfBufferTest, TextEndsAtItsFirstNul)
{
    TLexicalAnalyser L;
    L.SetText(TextOf(u"ab\0cd"sv));
    EXPECT_EQ(Tokens(L), std::vector<std::string> {"Identifier AB len 2"});
    EXPECT_EQ(L.TokenIdx(), 2);
    L.SetNextIdx(4);
    L.Next();
    EXPECT_EQ(L.Token(), toEndOfBuffer);
    EXPECT_EQ(L.NextIdx(), 2) << "the read position stays within the text";
}

TEST(LexEndOfBufferTest, EmptyTextGivesEndOfBufferForEver)
{
    TLexicalAnalyser L;
    L.SetText(QString());
    EXPECT_EQ(L.Token(), toEndOfBuffer);
    EXPECT_TRUE(L.FirstTokenOnLine());
    for (int i = 0; i < 3; ++i) {
        L.Next();
        EXPECT_EQ(L.Token(), toEndOfBuffer);
        EXPECT_EQ(L.NextIdx(), 0);
        EXPECT_EQ(L.TokenIdx(), 0);
    }
}

TEST(LexEndOfBufferTest, UnclosedCommentIsFollowedByEndOfBuffer)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("x (*)"));
    L.Next();
    EXPECT_EQ(L.Token(), toNotYetKnown);
    EXPECT_EQ(L.TokenIdx(), 2);
    EXPECT_EQ(L.NextIdx(), 5);
    L.Next();
    EXPECT_EQ(L.Token(), toEndOfBuffer);
    EXPECT_EQ(L.TokenIdx(), 5);
}

// Positions of the tokens of one text.

struct PositionCase
{
    std::string Token;
    int TokenIdx;
    int LineNr;
    bool FirstOnLine;
    int Column;
};

TEST(LexPositionTest, TokensKnowIndexLineAndColumn)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("  a bc\n\tde (* x\n y *) f // c\r\n\n g ;"));
    const std::vector<PositionCase> expected = {
        {"Identifier A len 1", 2, 0, true, 2},
        {"Identifier BC len 2", 4, 0, false, 4},
        {"Identifier DE len 2", 8, 1, true, 1},
        {"Identifier F len 1", 22, 2, true, 6},
        {"Identifier G len 1", 32, 4, true, 1},
        {";", 34, 4, false, 3},
        {"End of buffer", 35, 4, false, 4},
    };
    for (const PositionCase& c : expected) {
        SCOPED_TRACE(c.Token);
        EXPECT_EQ(Describe(L), c.Token);
        EXPECT_EQ(L.TokenIdx(), c.TokenIdx);
        EXPECT_EQ(L.LineNr(), c.LineNr);
        EXPECT_EQ(L.FirstTokenOnLine(), c.FirstOnLine);
        EXPECT_EQ(L.GetTokenIndexInLine(), c.Column);
        L.Next();
    }
}

TEST(LexPositionTest, NewTextStartsAtTheFirstLineAgain)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("a\nb\nc"));
    L.Next();
    L.Next();
    ASSERT_EQ(L.LineNr(), 2);
    L.SetText(QStringLiteral("x y"));
    EXPECT_EQ(Describe(L), "Identifier X len 1");
    EXPECT_EQ(L.LineNr(), 0);
    EXPECT_EQ(L.TokenIdx(), 0);
    EXPECT_TRUE(L.FirstTokenOnLine());
}

TEST(LexPositionTest, CallerMayMoveTheReadPosition)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("abc def"));
    L.SetNextIdx(4);
    L.Next();
    EXPECT_EQ(Describe(L), "Identifier DEF len 3");
    L.SetNextIdx(-5);
    L.Next();
    EXPECT_EQ(Describe(L), "Identifier ABC len 3");
    L.SetNextIdx(1000);
    L.Next();
    EXPECT_EQ(L.Token(), toEndOfBuffer);
    EXPECT_EQ(L.TokenIdx(), 7);
}

// Errors raised by the analyser, with their position prefix.

struct ErrorCase
{
    const char* Name;
    std::u16string_view Text;
    std::function<void(TLexicalAnalyser&)> Action;
    const char* Message;
    int PosX;
    int PosY;
};

void PrintTo(const ErrorCase& c, std::ostream* os)
{
    *os << c.Name;
}

class LexErrorTest : public testing::TestWithParam<ErrorCase>
{
};

TEST_P(LexErrorTest, RaisesPositionedMessage)
{
    const ErrorCase& c = GetParam();
    TLexicalAnalyser L;
    L.SetText(TextOf(c.Text));
    try {
        c.Action(L);
        FAIL() << "no ELexError raised";
    } catch (const ELexError& e) {
        EXPECT_EQ(e.Message().toStdString(), c.Message);
        EXPECT_EQ(e.PosX, c.PosX);
        EXPECT_EQ(e.PosY, c.PosY);
    }
}

const auto ExpectSemicolon = [](TLexicalAnalyser& L) { L.Expect(toSemicolon); };
const auto ExpectByte = [](TLexicalAnalyser& L) { L.ExpectInt(0, 255); };
const auto Unexpected = [](TLexicalAnalyser& L) { L.UnexpectedToken(); };
const auto SkipAndUnexpected = [](TLexicalAnalyser& L) {
    L.Next();
    L.UnexpectedToken();
};

INSTANTIATE_TEST_SUITE_P(Cases, LexErrorTest,
    testing::Values(ErrorCase {"Expect", u"x", ExpectSemicolon, "(1:1) ';' expected", 1, 1},
        ErrorCase {"ExpectPercent", u"x", [](TLexicalAnalyser& L) { L.Expect(toPerCent); },
            "(1:1) '%' expected", 1, 1},
        ErrorCase {"ExpectAtEnd", u"ab",
            [](TLexicalAnalyser& L) {
                L.Expect(toIdentifier);
                L.Expect(toComma);
            },
            "(3:1) ',' expected", 3, 1},
        ErrorCase {"ExpectIntTooBig", u"300", ExpectByte, "(1:1) Value out of range 300.", 1, 1},
        ErrorCase {"ExpectIntWrapped", u"4294967295", ExpectByte, "(1:1) Value out of range -1.", 1, 1},
        ErrorCase {"ExpectIntNoInt", u"x", ExpectByte, "(1:1) Integer value [0..255] expected.", 1, 1},
        ErrorCase {"ExpectIntNegativeRange", u"'7'", [](TLexicalAnalyser& L) { L.ExpectInt(-3, -1); },
            "(1:1) Integer value [-3..-1] expected.", 1, 1},
        ErrorCase {"UnexpectedUnknown", u"!", Unexpected, "(1:1) '' unexpected", 1, 1},
        ErrorCase {"UnexpectedDollar", u"$", Unexpected, "(1:1) '' unexpected", 1, 1},
        ErrorCase {"UnexpectedRange", u"..", Unexpected, "(1:1) '..' unexpected", 1, 1},
        ErrorCase {"UnexpectedEnd", u"", Unexpected, "(1:1) 'End of buffer' unexpected", 1, 1},
        ErrorCase {"SecondLine", u"\nab",
            [](TLexicalAnalyser& L) { L.RaiseLexError(QStringLiteral("Boom")); }, "(1:2) Boom", 1, 2},
        ErrorCase {"IndexFive", u"abcd ef", SkipAndUnexpected, "(6:1) 'Identifier' unexpected", 6, 1},
        ErrorCase {
            "AfterComments", u"a\n  (* c *) b", SkipAndUnexpected, "(11:2) 'Identifier' unexpected", 11, 2},
        ErrorCase {"AfterLineComment", u"a // c\n\n   ;", SkipAndUnexpected, "(4:3) ';' unexpected", 4, 3}));

TEST(LexErrorTest, CreateWithPosCountsFromOne)
{
    const ELexError e = ELexError::CreateWithPos(QStringLiteral("50% done"), 0, 9);
    EXPECT_EQ(e.Message(), QStringLiteral("(1:10) 50% done"));
    EXPECT_EQ(e.PosX, 1);
    EXPECT_EQ(e.PosY, 10);
}

TEST(LexExpectTest, MatchingTokensAreConsumed)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("x := 0xFF;"));
    L.Expect(toIdentifier);
    L.Expect(toAssigment);
    EXPECT_EQ(L.ExpectInt(0, 255), 255);
    EXPECT_EQ(L.Token(), toSemicolon);
}

// Characters above code 126.

class LexIllegalCharTest : public testing::TestWithParam<char16_t>
{
};

TEST_P(LexIllegalCharTest, LeavesTheAnalyserAsItWas)
{
    // The failing Next passes white space, a line feed and a comment before it meets the
    // character: none of that may show.
    QString text = QStringLiteral("ab \n (* c\n *) ");
    text += QChar(GetParam());
    text += QStringLiteral("x");
    TLexicalAnalyser L;
    L.SetText(text);
    ASSERT_EQ(L.LexError, TLexError::LexNoErr);
    for (int attempt = 0; attempt < 2; ++attempt) {
        L.Next();
        EXPECT_EQ(L.LexError, TLexError::LexIllChar);
        EXPECT_EQ(Describe(L), "Identifier AB len 2");
        EXPECT_EQ(L.TokenIdx(), 0);
        EXPECT_EQ(L.NextIdx(), 2);
        EXPECT_EQ(L.LineNr(), 0);
        EXPECT_TRUE(L.FirstTokenOnLine());
    }
    L.SetNextIdx(static_cast<int>(text.size()) - 1);
    L.Next();
    EXPECT_EQ(Describe(L), "Identifier X len 1") << "the caller can step over the character";
}

INSTANTIATE_TEST_SUITE_P(
    Chars, LexIllegalCharTest, testing::Values(u'\x7f', u'\u00a0', u'\u00e9', u'\u20ac'));

TEST(LexIllegalCharStateTest, RightAfterATokenTheReadPositionStays)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("7\u00e9"));
    L.Next();
    EXPECT_EQ(L.LexError, TLexError::LexIllChar);
    EXPECT_EQ(Describe(L), "Int 7 len 1");
    EXPECT_EQ(L.NextIdx(), 1);
}

TEST(LexIllegalCharStateTest, NoTokenOfAnEarlierTextSurvives)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("a\nbcd"));
    L.Next();
    L.SetText(QStringLiteral("\u00e9"));
    EXPECT_EQ(L.LexError, TLexError::LexIllChar);
    EXPECT_EQ(L.Token(), toUnknown);
    EXPECT_EQ(L.TokenIdx(), 0);
    EXPECT_EQ(L.NextIdx(), 0);
    EXPECT_EQ(L.LineNr(), 0);
}

// The stack of saved states.

TEST(LexStackTest, PopWithRestoreGoesBackToThePushedToken)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("abc 12\n'x' d"));
    L.Next();
    L.Push();
    L.Next();
    L.Next();
    ASSERT_EQ(Describe(L), "Identifier D len 1");
    L.Pop(true);
    EXPECT_EQ(Describe(L), "Int 12 len 2");
    EXPECT_EQ(L.NextIdx(), 6);
    EXPECT_EQ(L.TokenIdx(), 4);
    EXPECT_EQ(L.LineNr(), 0);
    EXPECT_EQ(L.Identifier(), QStringLiteral("ABC"));
    L.Next();
    EXPECT_EQ(Describe(L), "Str x len 3");
    EXPECT_EQ(L.LineNr(), 1) << "the line feed is counted once";
}

TEST(LexStackTest, PopWithoutRestoreOnlyDropsTheEntry)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("a b c"));
    L.Push();
    L.Next();
    L.Push();
    L.Next();
    L.Pop(false);
    EXPECT_EQ(Describe(L), "Identifier C len 1");
    L.Pop(true);
    EXPECT_EQ(Describe(L), "Identifier A len 1");
}

TEST(LexStackTest, HoldsTwentyEntries)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("a b c d e f g h i j k l m n o p q r s t u"));
    for (int i = 0; i < 20; ++i) {
        L.Push();
        L.Next();
    }
    EXPECT_EQ(Describe(L), "Identifier U len 1");
    for (int i = 0; i < 20; ++i)
        L.Pop(true);
    EXPECT_EQ(Describe(L), "Identifier A len 1");
}

using LexStackDeathTest = testing::Test;

TEST_F(LexStackDeathTest, TwentyFirstPushStops)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("a"));
    for (int i = 0; i < 20; ++i)
        L.Push();
    EXPECT_DEATH(L.Push(), "Assertion failure \\(LexicalAnalyser\\)");
}

TEST_F(LexStackDeathTest, PopOfEmptyStackStops)
{
    TLexicalAnalyser L;
    L.SetText(QStringLiteral("a"));
    L.Push();
    L.Pop(false);
    EXPECT_DEATH(L.Pop(true), "Assertion failure \\(LexicalAnalyser\\)");
}

} // namespace
