#include "ui/HighLighter.h"

#include <Qsci/qsciscintilla.h>

namespace {

constexpr char16_t Nul = u'\0';
constexpr char16_t Lf = u'\n';
constexpr char16_t Cr = u'\r';

THighlighterAttribute MakeAttribute(const char* name, bool bold, std::optional<QColor> foreground, int style)
{
    const QString text = QString::fromLatin1(name);
    return {QStringLiteral("Attr") + text, QStringLiteral("FriendlyAttr") + text, bold, foreground, style};
}

// The number of UTF-8 bytes of the text, as the result view counts positions.
int Utf8Length(QStringView text)
{
    int length = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            length += 1;
        else if (u < 0x800 || c.isSurrogate())
            length += 2; // a surrogate pair makes four
        else
            length += 3;
    }
    return length;
}

QStringView WithoutLineBreak(QStringView line)
{
    while (!line.isEmpty() && (line.back() == Lf || line.back() == Cr))
        line.chop(1);
    return line;
}

} // namespace

THighLighter::THighLighter(QObject* Owner)
    : QsciLexerCustom(Owner)
{
    FAttributes = {
        MakeAttribute("Comment", true, QColor(0, 0, 255), aiComment),
        MakeAttribute("Identifier", false, std::nullopt, aiIdentifier),
        MakeAttribute("ReservedWord1", true, std::nullopt, aiKey1),
        MakeAttribute("ReservedWord2", true, QColor(52, 175, 31), aiKey2),
        MakeAttribute("ReservedWord3", true, QColor(0, 0, 128), aiKey3),
        MakeAttribute("Space", false, std::nullopt, aiSpace),
        MakeAttribute("String", false, QColor(128, 0, 128), aiString),
    };
}

void THighLighter::SetLine(const QString& Line)
{
    FLine = Line;
    FLineLen = Line.size();
    Run = 0;
    FTokenPos = 0;
}

QChar THighLighter::CharAt(qsizetype Position) const
{
    return Position < FLineLen ? FLine[Position] : QChar(Nul);
}

bool THighLighter::IsLineEnd(qsizetype Position) const
{
    if (Position >= FLineLen)
        return true;
    const QChar c = FLine[Position];
    return c == Lf || c == Cr;
}

bool THighLighter::GetEol() const
{
    return Run > FLineLen;
}

QString THighLighter::GetToken() const
{
    return FLine.mid(FTokenPos, std::min(Run, FLineLen) - FTokenPos);
}

bool THighLighter::IsIdentChar(QChar AChar)
{
    const char16_t u = AChar.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || u == u'_' || (u >= u'a' && u <= u'z');
}

void THighLighter::Next()
{
    FTokenPos = Run;
    switch (FRange) {
    case TRangeState::rsPasStyleComment:
        PasStyleCommentProc();
        return;
    case TRangeState::rsDSlashComment:
        RestOfLineCommentProc();
        return;
    case TRangeState::rsUnKnown:
    case TRangeState::rsString:
        break;
    }
    if (LineEndProc())
        return;
    const char16_t c = CharAt(Run).unicode();
    if (c <= u' ') {
        SpaceProc();
    } else if (c == u'"' || c == u'\'') {
        StringProc();
    } else if (c == u'(') {
        RoundOpenProc();
    } else if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_') {
        IdentProc();
    } else if (c == u'{') {
        ++Run;
        FRange = TRangeState::rsDSlashComment;
        FTokenID = TtkTokenKind::tkComment;
    } else {
        ++Run;
        FTokenID = TtkTokenKind::tkUnknown;
    }
}

// The NUL that ends every line, LF, and CR (with an LF after it): tokens of their own.
bool THighLighter::LineEndProc()
{
    const QChar c = CharAt(Run);
    if (c == Nul) {
        FTokenID = TtkTokenKind::tkNull;
        ++Run;
    } else if (c == Lf) {
        FTokenID = TtkTokenKind::tkSpace;
        ++Run;
    } else if (c == Cr) {
        FTokenID = TtkTokenKind::tkSpace;
        ++Run;
        if (CharAt(Run) == Lf)
            ++Run;
    } else {
        return false;
    }
    return true;
}

void THighLighter::SpaceProc()
{
    FTokenID = TtkTokenKind::tkSpace;
    ++Run;
    while (CharAt(Run).unicode() <= u' ' && !IsLineEnd(Run))
        ++Run;
}

void THighLighter::StringProc()
{
    FStringDelimiter = CharAt(Run);
    ++Run;
    FRange = TRangeState::rsString;
    FTokenID = TtkTokenKind::tkString;
    do {
        if (CharAt(Run) == FStringDelimiter) {
            ++Run;
            FRange = TRangeState::rsUnKnown;
            return;
        }
        if (!IsLineEnd(Run))
            ++Run;
    } while (!IsLineEnd(Run));
}

void THighLighter::RoundOpenProc()
{
    ++Run;
    if (CharAt(Run) == u'*') {
        ++Run;
        FRange = TRangeState::rsPasStyleComment;
        FTokenID = TtkTokenKind::tkComment;
    } else {
        FTokenID = TtkTokenKind::tkIdentifier;
    }
}

void THighLighter::IdentProc()
{
    QString word;
    for (; IsIdentChar(CharAt(Run)); ++Run) {
        const char16_t c = CharAt(Run).unicode();
        word.append(c >= u'a' && c <= u'z' ? QChar(c - u'a' + u'A') : QChar(c));
    }
    const auto keyword = KeyWords.find(word);
    FTokenID = keyword == KeyWords.end() ? TtkTokenKind::tkIdentifier : keyword->second;
}

void THighLighter::PasStyleCommentProc()
{
    if (LineEndProc())
        return;
    FTokenID = TtkTokenKind::tkComment;
    do {
        if (CharAt(Run) == u'*' && CharAt(Run + 1) == u')') {
            Run += 2;
            FRange = TRangeState::rsUnKnown;
            return;
        }
        if (!IsLineEnd(Run))
            ++Run;
    } while (!IsLineEnd(Run));
}

void THighLighter::RestOfLineCommentProc()
{
    if (LineEndProc())
        return;
    FTokenID = TtkTokenKind::tkComment;
    while (!IsLineEnd(Run))
        ++Run;
    FRange = TRangeState::rsUnKnown;
}

const THighlighterAttribute* THighLighter::Attribute(int Style) const
{
    if (Style < 0 || static_cast<std::size_t>(Style) >= FAttributes.size())
        return nullptr;
    return &FAttributes[static_cast<std::size_t>(Style)];
}

const THighlighterAttribute* THighLighter::GetTokenAttribute() const
{
    switch (FTokenID) {
    case TtkTokenKind::tkComment:
        return Attribute(aiComment);
    case TtkTokenKind::tkIdentifier:
    case TtkTokenKind::tkUnknown:
        return Attribute(aiIdentifier);
    case TtkTokenKind::tkKey1:
        return Attribute(aiKey1);
    case TtkTokenKind::tkKey2:
        return Attribute(aiKey2);
    case TtkTokenKind::tkKey3:
        return Attribute(aiKey3);
    case TtkTokenKind::tkSpace:
        return Attribute(aiSpace);
    case TtkTokenKind::tkString:
        return Attribute(aiString);
    case TtkTokenKind::tkNull:
        break;
    }
    return nullptr;
}

const THighlighterAttribute* THighLighter::GetDefaultAttribute(int Index) const
{
    switch (Index) {
    case 0:
        return Attribute(aiComment);
    case 1:
        return Attribute(aiIdentifier);
    case 2:
        return Attribute(aiKey1);
    case 3:
        return Attribute(aiString);
    case 4:
        return Attribute(aiSpace);
    default:
        return nullptr;
    }
}

void THighLighter::SetKeyWords(const QStringList& L, TKeyWordsKind KeyWordsKind)
{
    for (const QString& keyword : L) {
        QString upper = keyword;
        for (QChar& c : upper) {
            if (c >= u'a' && c <= u'z')
                c = QChar(c.unicode() - u'a' + u'A');
        }
        KeyWords.try_emplace(upper, KeyWordsKind);
    }
}

const char* THighLighter::language() const
{
    return "Kestrune results";
}

QString THighLighter::description(int style) const
{
    const THighlighterAttribute* attribute = Attribute(style);
    return attribute ? attribute->FriendlyName : QString();
}

QColor THighLighter::defaultColor(int style) const
{
    const THighlighterAttribute* attribute = Attribute(style);
    return attribute && attribute->Foreground ? *attribute->Foreground : QsciLexer::defaultColor(style);
}

QFont THighLighter::defaultFont(int style) const
{
    QFont font = QsciLexer::defaultFont(style);
    if (const THighlighterAttribute* attribute = Attribute(style))
        font.setBold(attribute->Bold);
    return font;
}

void THighLighter::styleText(int start, int end)
{
    QsciScintilla* view = editor();
    if (!view)
        return;
    const int firstLine
        = static_cast<int>(view->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    const int lastLine = static_cast<int>(view->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, end));
    startStyling(start);
    for (int line = firstLine; line <= lastLine; ++line)
        StyleLine(line);
}

// Styles one line of the view, starting in the range stored with the line before it, and
// stores the range it ends in.
void THighLighter::StyleLine(int Line)
{
    QsciScintilla* view = editor();
    if (Line == 0)
        ResetRange();
    else
        SetRange(
            static_cast<TRangeState>(view->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, Line - 1)));
    const QString text = view->text(Line);
    const QStringView content = WithoutLineBreak(text);
    SetLine(content.toString());
    while (!GetEol()) {
        Next();
        const int length = Utf8Length(GetToken());
        if (const THighlighterAttribute* attribute = GetTokenAttribute(); attribute && length > 0)
            setStyling(length, attribute->Style);
    }
    const int lineBreak = Utf8Length(QStringView(text).mid(content.size()));
    if (lineBreak > 0)
        setStyling(lineBreak, aiSpace);
    view->SendScintilla(
        QsciScintillaBase::SCI_SETLINESTATE, static_cast<unsigned long>(Line), static_cast<long>(GetRange()));
}
