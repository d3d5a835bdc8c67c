#pragma once

#include "support/Exception.h"

#include <QString>
#include <array>

// Token kinds, in this order (the ordinal is part of the contract).
enum class TLexicalToken : quint8 {
    toUnknown,
    toIdentifier,
    toEndOfBuffer,
    toSemicolon,
    toPoint,
    toBraOpen,
    toBraClose,
    toAssigment,
    toPlusEqual,
    toMinusEqual,
    toParOpen,
    toParClose,
    toComma,
    toColon,
    toPlus,
    toMinus,
    toRange,
    toEndOfLine,
    toStrConst,
    toGreaterOrEqual,
    toGreater,
    toLesserOrEqual,
    toLesser,
    toDifferent,
    toEqual,
    toSpaces,
    toStar,
    toNotYetKnown,
    toSlash,
    toIntConst,
    toArobase,
    toCaret,
    toCurlOpen,
    toCurlClose,
    toComment,
    toSharp,
    toAlias,
    toPerCent,
    toVerticalBar,
    toEllipsis,
    toAmpersAnd,
};

// The text a token kind is shown with in messages ("Identifier", ":=", ...; empty for
// toUnknown and toNotYetKnown).
QString TokenDisplayText(TLexicalToken token);

enum class TLexError : quint8 { LexNoErr, LexQuoteExp, LexIllChar };

// An error of the analyser, positioned at a 1-based column (PosX) and line (PosY).
class ELexError : public Exception
{
public:
    // aPosX and aPosY are 0-based; the message becomes "(%d:%d) %s" with both plus one.
    static ELexError CreateWithPos(const QString& message, int aPosX, int aPosY);

    int PosX;
    int PosY;

private:
    ELexError(const QString& message, int posX, int posY);
};

// Cuts a text into tokens for the small languages of the definition data.
class TLexicalAnalyser
{
public:
    TLexicalAnalyser() = default;
    virtual ~TLexicalAnalyser() = default;

    // Sets the text (shared, not copied) and makes its first token current. The text ends at
    // its end or at its first NUL character.
    void SetText(const QString& text);
    const QString& Text() const { return FText; }

    // Makes the following token current; white space and comments are skipped. A character
    // above code 126 sets LexError to LexIllChar and leaves the analyser as it was.
    virtual void Next();

    TLexicalToken Token() const { return FToken; }
    const QString& Identifier() const { return FIdentifier; }
    qint32 TokenIntValue() const { return FTokenIntValue; }
    qint32 IntConst() const { return FTokenIntValue; }
    const QString& StrConst() const { return FStrConst; }
    int TokenIdx() const { return FTokenIdx; }
    int TokenLen() const { return FTokenLen; }
    int LineNr() const { return FLineNr; }
    bool FirstTokenOnLine() const { return FFirstTokenOnLine; }
    int NextIdx() const { return FNextIdx; }
    // Moves the read position; it is kept within the text (0 up to the end of buffer).
    void SetNextIdx(int index);

    // The 0-based column of the current token within its line.
    int GetTokenIndexInLine() const;
    // The Raise/Expect operations throw ELexError positioned at the current token.
    [[noreturn]] void RaiseLexError(const QString& message) const;
    void Expect(TLexicalToken token);
    int ExpectInt(int low, int high);
    [[noreturn]] void UnexpectedToken() const;

    // A stack of at most 20 saved states for backtracking. Pushing onto a full stack or
    // popping an empty one is a programming error and stops the program.
    void Push();
    void Pop(bool restoreValues);

    TLexError LexError = TLexError::LexNoErr;

private:
    static constexpr int StackSize = 20;

    // Everything that describes the current token and the read position; Push saves it and
    // Pop(true) brings it back, and a Next that meets an illegal character returns to it.
    struct TSavedState
    {
        TLexicalToken Token = TLexicalToken::toUnknown;
        int TokenIdx = 0;
        int TokenLen = 0;
        int NextIdx = 0;
        int LineNr = 0;
        bool FirstTokenOnLine = false;
        qint32 TokenIntValue = 0;
        QString StrConst;
        QString Identifier;
    };

    TSavedState SavedState() const;
    void RestoreState(const TSavedState& state);

    // The character at index, or 0 at and beyond the end of buffer (and before the text).
    char16_t CharAt(int index) const;
    bool ConsumeIf(char16_t expected);
    void CountLineFeed();
    void SkipWhiteSpace();
    void ScanToken(char16_t first);
    void ScanIdentifier();
    void ScanInteger();
    void ScanString(char16_t quote);
    void ScanOperator(char16_t first);
    void ScanLineComment();
    void ScanBlockComment();

    QString FText;
    int FLength = 0; // index of the end of buffer: the text's first NUL or its end
    TLexicalToken FToken = TLexicalToken::toUnknown;
    int FTokenLen = 0;
    qint32 FTokenIntValue = 0;
    int FTokenIdx = 0;
    int FNextIdx = 0;
    int FLineNr = 0;
    bool FFirstTokenOnLine = false;
    QString FStrConst;
    QString FIdentifier;
    int StackIndex = 0;
    std::array<TSavedState, StackSize> Stack;
};
