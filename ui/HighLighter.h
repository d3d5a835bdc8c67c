#pragma once

#include <Qsci/qscilexercustom.h>

#include <QColor>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

// The range state kept between lines: what a line starts in.
enum class TRangeState : int {
    rsUnKnown, // ordinary text
    rsPasStyleComment, // inside a "(*" comment
    rsString, // the last string of the line was not closed
    rsDSlashComment, // after "{": the rest of the line is a comment
};

enum class TtkTokenKind {
    tkComment,
    tkIdentifier,
    tkKey1,
    tkKey2,
    tkKey3,
    tkNull,
    tkSpace,
    tkString,
    tkUnknown,
};

// One of tkKey1..tkKey3.
using TKeyWordsKind = TtkTokenKind;

// How one kind of token is painted; Style is its style number in the result view.
struct THighlighterAttribute
{
    QString Name;
    QString FriendlyName;
    bool Bold = false;
    std::optional<QColor> Foreground;
    int Style = 0;
};

// Colours the lines of the result view: strings in single or double quotes, "(*" .. "*)"
// comments that may span lines, comments from "{" to the end of the line, blanks,
// identifiers, keywords of three classes, and single other characters.
//
// The scanner works one line at a time: SetLine, then Next until GetEol, asking for each
// token's kind and attribute. The range state carries a "(*" comment or a "{" at the very end
// of a line over to the next line; in the result view it is kept per line as the line state.
class THighLighter : public QsciLexerCustom
{
public:
    explicit THighLighter(QObject* Owner = nullptr);

    // The line to scan (without its line break); the scan starts at its first character.
    void SetLine(const QString& Line);
    // Scans one token. After the last character comes one empty tkNull token for the line end.
    void Next();
    // Whether the line end's token has been scanned.
    bool GetEol() const;

    TRangeState GetRange() const { return FRange; }
    void SetRange(TRangeState Range) { FRange = Range; }
    void ResetRange() { FRange = TRangeState::rsUnKnown; }

    TtkTokenKind GetTokenKind() const { return FTokenID; }
    qsizetype GetTokenPos() const { return FTokenPos; }
    QString GetToken() const;
    // The attribute of the token just scanned; none for tkNull.
    const THighlighterAttribute* GetTokenAttribute() const;
    // The fixed default slots: 0 comment, 1 identifier, 2 keyword, 3 string, 4 white space.
    const THighlighterAttribute* GetDefaultAttribute(int Index) const;
    const std::vector<THighlighterAttribute>& Attributes() const { return FAttributes; }

    // "0".."9", "A".."Z", "_", "a".."z".
    static bool IsIdentChar(QChar AChar);

    // Adds the words of L as keywords of the class KeyWordsKind; letter case is ignored and a
    // keyword keeps the class it was first added with.
    void SetKeyWords(const QStringList& L, TKeyWordsKind KeyWordsKind);

    // The result view's side.
    const char* language() const override;
    QString description(int style) const override;
    using QsciLexer::defaultColor;
    QColor defaultColor(int style) const override;
    using QsciLexer::defaultFont;
    QFont defaultFont(int style) const override;
    void styleText(int start, int end) override;

private:
    enum TAttributeIndex { aiComment, aiIdentifier, aiKey1, aiKey2, aiKey3, aiSpace, aiString };

    QChar CharAt(qsizetype Position) const;
    bool IsLineEnd(qsizetype Position) const;
    bool LineEndProc();
    void SpaceProc();
    void StringProc();
    void RoundOpenProc();
    void IdentProc();
    void PasStyleCommentProc();
    void RestOfLineCommentProc();
    const THighlighterAttribute* Attribute(int Style) const;
    void StyleLine(int Line);

    QString FLine;
    qsizetype FLineLen = 0;
    qsizetype Run = 0;
    qsizetype FTokenPos = 0;
    TRangeState FRange = TRangeState::rsUnKnown;
    TtkTokenKind FTokenID = TtkTokenKind::tkNull;
    QChar FStringDelimiter;
    std::map<QString, TKeyWordsKind> KeyWords; // upper-case keyword -> its class
    std::vector<THighlighterAttribute> FAttributes;
};
