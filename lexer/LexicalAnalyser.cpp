#include "lexer/LexicalAnalyser.h"

#include <QStringView>
#include <algorithm>
#include <cstddef>
#include <limits>
#include <string_view>

namespace {

using enum TLexicalToken;

constexpr char16_t HighestLegalChar = 126;

// Positions are ints and reported plus one: a longer text is cut here.
constexpr qsizetype MaxTextLength = std::numeric_limits<int>::max() - 1;

// The class of every legal character: the token it starts. toSpaces marks white space,
// toNotYetKnown the operator characters that the following character resolves.
using TCharClasses = std::array<TLexicalToken, HighestLegalChar + 1>;

constexpr TCharClasses MakeCharClasses()
{
    TCharClasses classes {};
    classes.fill(toUnknown);
    const auto assign = [&classes](std::u16string_view chars, TLexicalToken token) {
        for (const char16_t c : chars)
            classes[c] = token;
    };
    classes[0] = toEndOfBuffer;
    assign(u" \t\n\r", toSpaces);
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        classes[c] = toIdentifier;
    for (char16_t c = u'a'; c <= u'z'; ++c)
        classes[c] = toIdentifier;
    assign(u"_~", toIdentifier);
    for (char16_t c = u'0'; c <= u'9'; ++c)
        classes[c] = toIntConst;
    assign(u"\"'", toStrConst);
    assign(u"(+-./:<>", toNotYetKnown);
    classes[u';'] = toSemicolon;
    classes[u'['] = toBraOpen;
    classes[u']'] = toBraClose;
    classes[u')'] = toParClose;
    classes[u','] = toComma;
    classes[u'='] = toEqual;
    classes[u'*'] = toStar;
    classes[u'@'] = toArobase;
    classes[u'^'] = toCaret;
    classes[u'{'] = toCurlOpen;
    classes[u'}'] = toCurlClose;
    classes[u'#'] = toSharp;
    classes[u'%'] = toPerCent;
    classes[u'|'] = toVerticalBar;
    classes[u'&'] = toAmpersAnd;
    return classes;
}

constexpr TCharClasses CharClasses = MakeCharClasses();

// Display texts in the order of TLexicalToken.
constexpr std::array<QStringView, 41> DisplayTexts = {u"", u"Identifier", u"End of buffer", u";", u".", u"[",
    u"]", u":=", u"+=", u"-=", u"(", u")", u",", u":", u"+", u"-", u"..", u"End of line", u"String constant",
    u">=", u">", u"<=", u"<", u"<>", u"=", u" ", u"*", u"", u"/", u"Int constant", u"@", u"^", u"{", u"}",
    u"Comment", u"#", u"::", u"%", u"|", u"...", u"&"};
static_assert(DisplayTexts.size() == static_cast<std::size_t>(toAmpersAnd) + 1);

bool IsWhiteSpace(char16_t c)
{
    return c <= HighestLegalChar && CharClasses[c] == toSpaces;
}

char16_t AsciiUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool ContinuesIdentifier(char16_t upperChar)
{
    return (upperChar >= u'A' && upperChar <= u'Z') || (upperChar >= u'0' && upperChar <= u'9')
        || upperChar == u'_';
}

// The digit value of "0".."9" and "A".."F" (either case) in any base; -1 for other characters.
int DigitValue(char16_t c)
{
    const char16_t upper = AsciiUpper(c);
    if (upper >= u'0' && upper <= u'9')
        return upper - u'0';
    if (upper >= u'A' && upper <= u'F')
        return upper - u'A' + 10;
    return -1;
}

qsizetype EndOfBuffer(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return std::min(nul < 0 ? text.size() : nul, MaxTextLength);
}

void CheckStack(bool condition)
{
    if (!condition)
        qFatal("Assertion failure (LexicalAnalyser)");
}

} // namespace

QString TokenDisplayText(TLexicalToken token)
{
    const auto index = static_cast<std::size_t>(token);
    return index < DisplayTexts.size() ? DisplayTexts[index].toString() : QString();
}

ELexError::ELexError(const QString& message, int posX, int posY)
    : Exception(message)
    , PosX(posX)
    , PosY(posY)
{ }

ELexError ELexError::CreateWithPos(const QString& message, int aPosX, int aPosY)
{
    const int posX = aPosX + 1;
    const int posY = aPosY + 1;
    return ELexError(
        QStringLiteral("(%1:%2) %3").arg(QString::number(posX), QString::number(posY), message), posX, posY);
}

void TLexicalAnalyser::SetText(const QString& text)
{
    FText = text;
    FLength = static_cast<int>(EndOfBuffer(text));
    // No token of an earlier text survives, even when this one starts with an illegal character.
    FToken = toUnknown;
    FTokenIdx = 0;
    FTokenLen = 0;
    FNextIdx = 0;
    FLineNr = 0;
    Next();
    FFirstTokenOnLine = true;
}

void TLexicalAnalyser::SetNextIdx(int index)
{
    FNextIdx = std::clamp(index, 0, FLength);
}

void TLexicalAnalyser::Next()
{
    const TSavedState before = SavedState();
    FFirstTokenOnLine = false;
    do {
        SkipWhiteSpace();
        const char16_t first = CharAt(FNextIdx);
        if (first > HighestLegalChar) {
            RestoreState(before);
            LexError = TLexError::LexIllChar;
            return;
        }
        ScanToken(first);
    } while (FToken == toComment);
}

int TLexicalAnalyser::GetTokenIndexInLine() const
{
    for (int i = std::min(FTokenIdx, FLength) - 1; i >= 0; --i) {
        if (FText[i] == u'\n')
            return FTokenIdx - (i + 1);
    }
    return FTokenIdx;
}

void TLexicalAnalyser::RaiseLexError(const QString& message) const
{
    throw ELexError::CreateWithPos(message, GetTokenIndexInLine(), FLineNr);
}

void TLexicalAnalyser::Expect(TLexicalToken token)
{
    if (FToken != token)
        RaiseLexError(QStringLiteral("'%1' expected").arg(TokenDisplayText(token)));
    Next();
}

int TLexicalAnalyser::ExpectInt(int low, int high)
{
    if (FToken != toIntConst)
        RaiseLexError(QStringLiteral("Integer value [%1..%2] expected.").arg(low).arg(high));
    const int value = FTokenIntValue;
    if (value < low || value > high)
        RaiseLexError(QStringLiteral("Value out of range %1.").arg(value));
    Next();
    return value;
}

void TLexicalAnalyser::UnexpectedToken() const
{
    RaiseLexError(QStringLiteral("'%1' unexpected").arg(TokenDisplayText(FToken)));
}

void TLexicalAnalyser::Push()
{
    CheckStack(StackIndex < StackSize);
    Stack[static_cast<std::size_t>(StackIndex)] = SavedState();
    ++StackIndex;
}

void TLexicalAnalyser::Pop(bool restoreValues)
{
    CheckStack(StackIndex > 0);
    --StackIndex;
    if (restoreValues)
        RestoreState(Stack[static_cast<std::size_t>(StackIndex)]);
}

TLexicalAnalyser::TSavedState TLexicalAnalyser::SavedState() const
{
    return {FToken, FTokenIdx, FTokenLen, FNextIdx, FLineNr, FFirstTokenOnLine, FTokenIntValue, FStrConst,
        FIdentifier};
}

void TLexicalAnalyser::RestoreState(const TSavedState& state)
{
    FToken = state.Token;
    FTokenIdx = state.TokenIdx;
    FTokenLen = state.TokenLen;
    FNextIdx = state.NextIdx;
    FLineNr = state.LineNr;
    FFirstTokenOnLine = state.FirstTokenOnLine;
    FTokenIntValue = state.TokenIntValue;
    FStrConst = state.StrConst;
    FIdentifier = state.Identifier;
}

char16_t TLexicalAnalyser::CharAt(int index) const
{
    return index >= 0 && index < FLength ? FText[index].unicode() : u'\0';
}

bool TLexicalAnalyser::ConsumeIf(char16_t expected)
{
    if (CharAt(FNextIdx) != expected)
        return false;
    ++FNextIdx;
    return true;
}

void TLexicalAnalyser::CountLineFeed()
{
    ++FLineNr;
    FFirstTokenOnLine = true;
}

void TLexicalAnalyser::SkipWhiteSpace()
{
    for (char16_t c = CharAt(FNextIdx); IsWhiteSpace(c); c = CharAt(FNextIdx)) {
        ++FNextIdx;
        if (c == u'\n')
            CountLineFeed();
    }
}

void TLexicalAnalyser::ScanToken(char16_t first)
{
    FToken = CharClasses[first];
    FTokenIdx = FNextIdx;
    FTokenLen = 0;
    switch (FToken) {
    case toEndOfBuffer:
        break;
    case toIdentifier:
        ScanIdentifier();
        break;
    case toIntConst:
        ScanInteger();
        break;
    case toStrConst:
        ScanString(first);
        break;
    case toNotYetKnown:
        ScanOperator(first);
        break;
    default:
        ++FNextIdx;
        break;
    }
}

void TLexicalAnalyser::ScanIdentifier()
{
    FIdentifier = QChar(AsciiUpper(CharAt(FNextIdx)));
    ++FNextIdx;
    for (char16_t upper = AsciiUpper(CharAt(FNextIdx)); ContinuesIdentifier(upper);
         upper = AsciiUpper(CharAt(FNextIdx))) {
        FIdentifier += QChar(upper);
        ++FNextIdx;
    }
    FTokenLen = FNextIdx - FTokenIdx;
}

void TLexicalAnalyser::ScanInteger()
{
    // Unsigned arithmetic wraps around modulo 2^32; the bit pattern is the signed value.
    quint32 base = 10;
    if (ConsumeIf(u'0') && (ConsumeIf(u'x') || ConsumeIf(u'X')))
        base = 16;
    quint32 value = 0;
    for (int digit = DigitValue(CharAt(FNextIdx)); digit >= 0; digit = DigitValue(CharAt(FNextIdx))) {
        value = value * base + static_cast<quint32>(digit);
        ++FNextIdx;
    }
    FTokenIntValue = static_cast<qint32>(value);
    FTokenLen = FNextIdx - FTokenIdx;
}

void TLexicalAnalyser::ScanString(char16_t quote)
{
    ++FNextIdx;
    FStrConst.clear();
    // A carriage return or the end of buffer ends an unterminated constant without an error.
    for (char16_t c = CharAt(FNextIdx); c != u'\0' && c != u'\r'; c = CharAt(FNextIdx)) {
        ++FNextIdx;
        if (c == quote && !ConsumeIf(quote))
            break;
        FStrConst += QChar(c);
    }
    FTokenLen = FNextIdx - FTokenIdx;
}

void TLexicalAnalyser::ScanOperator(char16_t first)
{
    ++FNextIdx;
    switch (first) {
    case u'(':
        if (CharAt(FNextIdx) == u'*')
            ScanBlockComment();
        else
            FToken = toParOpen;
        break;
    case u'+':
        FToken = ConsumeIf(u'=') ? toPlusEqual : toPlus;
        break;
    case u'-':
        FToken = ConsumeIf(u'=') ? toMinusEqual : toMinus;
        break;
    case u'.':
        if (ConsumeIf(u'.'))
            FToken = ConsumeIf(u'.') ? toEllipsis : toRange;
        else
            FToken = toPoint;
        break;
    case u'/':
        if (ConsumeIf(u'/'))
            ScanLineComment();
        else
            FToken = toSlash;
        break;
    case u':':
        if (ConsumeIf(u'='))
            FToken = toAssigment;
        else
            FToken = ConsumeIf(u':') ? toAlias : toColon;
        break;
    case u'<':
        if (ConsumeIf(u'='))
            FToken = toLesserOrEqual;
        else
            FToken = ConsumeIf(u'>') ? toDifferent : toLesser;
        break;
    case u'>':
        FToken = ConsumeIf(u'=') ? toGreaterOrEqual : toGreater;
        break;
    default:
        break;
    }
}

void TLexicalAnalyser::ScanLineComment()
{
    for (char16_t c = CharAt(FNextIdx); c != u'\0'; c = CharAt(FNextIdx)) {
        ++FNextIdx;
        if (c == u'\n') {
            CountLineFeed();
            FToken = toComment;
            return;
        }
    }
    FToken = toEndOfBuffer;
}

void TLexicalAnalyser::ScanBlockComment()
{
    // The opening "*" is not remembered as a star, so "(*)" does not close itself. An
    // unclosed comment leaves the token toNotYetKnown with the read position at the end.
    ++FNextIdx;
    bool afterStar = false;
    for (char16_t c = CharAt(FNextIdx); c != u'\0'; c = CharAt(FNextIdx)) {
        ++FNextIdx;
        if (c == u'\n') {
            CountLineFeed();
            afterStar = false;
        } else if (c == u')' && afterStar) {
            FToken = toComment;
            return;
        } else {
            afterStar = c == u'*';
        }
    }
}
