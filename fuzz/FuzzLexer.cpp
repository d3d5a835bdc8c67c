// The lexical analyser over arbitrary text: it comes to the end of every text, each token
// lies within the text, backtracking restores the analyser, and an illegal character leaves
// it where it stood.
#include "fuzz/FuzzCheck.h"
#include "lexer/LexicalAnalyser.h"

namespace {

struct TPosition
{
    TLexicalToken Token;
    int TokenIdx;
    int TokenLen;
    int NextIdx;
    int LineNr;

    bool operator==(const TPosition&) const = default;
};

TPosition PositionOf(const TLexicalAnalyser& L)
{
    return {L.Token(), L.TokenIdx(), L.TokenLen(), L.NextIdx(), L.LineNr()};
}

// The end of buffer: the first NUL or the end of the text.
int EndOfText(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return static_cast<int>(nul < 0 ? text.size() : nul);
}

void CheckToken(const TLexicalAnalyser& L, const QString& text, int end)
{
    FuzzRequire(L.TokenIdx() >= 0 && L.TokenLen() >= 0 && L.TokenIdx() + L.TokenLen() <= L.NextIdx(),
        "the token lies before the read position");
    FuzzRequire(L.NextIdx() <= end, "the read position stays within the text");
    FuzzRequire(L.LineNr() <= text.left(end).count(u'\n'), "lines are counted at line feeds only");
    const int column = L.GetTokenIndexInLine();
    FuzzRequire(column >= 0 && column <= L.TokenIdx(), "the column lies within the line");
    switch (L.Token()) {
    case TLexicalToken::toIdentifier:
        FuzzRequire(L.Identifier().size() == L.TokenLen() && L.Identifier() == L.Identifier().toUpper(),
            "an identifier is its characters upper-cased", L.Identifier());
        break;
    case TLexicalToken::toStrConst:
        FuzzRequire(L.StrConst().size() < L.TokenLen(), "a string constant is shorter than its token");
        break;
    case TLexicalToken::toIntConst:
        FuzzRequire(L.TokenLen() >= 1, "an integer has digits");
        break;
    default:
        break;
    }
}

// Expect and ExpectInt either accept the current token or raise a positioned error.
void CheckExpect(TLexicalAnalyser& L)
{
    const TLexError error = L.LexError;
    L.Push();
    try {
        L.ExpectInt(0, 255);
    } catch (const ELexError& e) {
        FuzzRequire(e.PosX >= 1 && e.PosY >= 1, "lexical errors are positioned from 1");
    }
    L.Pop(true);
    const TPosition before = PositionOf(L);
    L.Push();
    L.Expect(L.Token());
    L.Pop(true);
    FuzzRequire(PositionOf(L) == before, "Pop(true) restores the analyser");
    L.LexError = error;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QString text = FuzzText(data, size);
    const int end = EndOfText(text);
    TLexicalAnalyser L;
    L.SetText(text);
    for (int steps = 0; L.Token() != TLexicalToken::toEndOfBuffer || L.LexError != TLexError::LexNoErr; ++steps) {
        FuzzRequire(steps <= end + 1, "the analyser comes to the end of the text");
        if (L.LexError == TLexError::LexIllChar) {
            // The analyser stands before the illegal character: step over it.
            int at = L.NextIdx();
            while (at < end && text[at].unicode() <= 126)
                ++at;
            FuzzRequire(at < end, "an illegal character was met");
            L.LexError = TLexError::LexNoErr;
            L.SetNextIdx(at + 1);
            L.Next();
            continue;
        }
        CheckToken(L, text, end);
        CheckExpect(L);
        const TPosition before = PositionOf(L);
        L.Next();
        if (L.LexError == TLexError::LexIllChar)
            FuzzRequire(PositionOf(L) == before, "an illegal character leaves the analyser as it was");
        else
            FuzzRequire(L.NextIdx() > before.NextIdx || L.Token() == TLexicalToken::toEndOfBuffer,
                "every token moves the read position on");
    }
    return 0;
}
