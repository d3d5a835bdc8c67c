#include "ui/ResultView.h"

#include <Qsci/qscilexer.h>

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QStringEncoder>

#include <algorithm>

namespace {

constexpr qreal ResultFontPixels = 13;

// The editor takes font sizes in points only: 13 pixels on the screen's resolution.
QFont WithResultSize(QFont font)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dotsPerInch = screen ? screen->logicalDotsPerInchY() : 96;
    font.setPointSizeF(ResultFontPixels * 72 / dotsPerInch);
    return font;
}

} // namespace

TResultView::TResultView(QWidget* Parent)
    : QsciScintilla(Parent)
    , FViewFont(ResultFont())
{
    setUtf8(true);
    setEolMode(EolUnix);
    setFont(FViewFont);
    setColor(palette().color(QPalette::Text));
    setPaper(palette().color(QPalette::Base));
    for (int margin = 0; margin < margins(); ++margin)
        setMarginWidth(margin, 0);
    setReadOnly(true);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    // Nothing here listens to the editor's change notifications, and for each change they
    // would turn the whole inserted or deleted text back into a QString (for the
    // accessibility events), which costs a search result of 100,000 definitions a third of
    // its time.
    SendScintilla(SCI_SETMODEVENTMASK, 0UL);
}

// The display blocks are aligned with blanks, so only a family whose glyphs really have one
// width will do; fontconfig's "fixed" flag is not trusted (it calls some monospaced families
// proportional). Dina first; then DejaVu Sans Mono, which the setup script installs; then the
// family the system names as fixed; then any installed family that measures as one width.
QFont TResultView::ResultFont()
{
    QStringList candidates {QStringLiteral("Dina"), QStringLiteral("DejaVu Sans Mono"),
        QFontDatabase::systemFont(QFontDatabase::FixedFont).family()};
    candidates += QFontDatabase::families();
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : candidates) {
        if (!installed.contains(family))
            continue;
        const QFont font = WithResultSize(QFont(family));
        if (HasOneWidth(font))
            return font;
    }
    QFont monospace = WithResultSize(QFont(QStringLiteral("monospace")));
    monospace.setStyleHint(QFont::TypeWriter);
    return monospace;
}

bool TResultView::HasOneWidth(const QFont& Font)
{
    const QFontMetrics metrics(Font);
    const int width = metrics.horizontalAdvance(u'0');
    static const QString sample = QStringLiteral(" .,|&{}=[]-$;:iIlmMwW0123456789ABCDEFabcdef");
    return width > 0 && QFontInfo(Font).family() == Font.family()
        && std::all_of(sample.begin(), sample.end(), [&](QChar c) { return metrics.horizontalAdvance(c) == width; });
}

void TResultView::SetHighlighter(QsciLexer* HighLighter)
{
    HighLighter->setDefaultFont(FViewFont);
    HighLighter->setDefaultColor(palette().color(QPalette::Text));
    HighLighter->setDefaultPaper(palette().color(QPalette::Base));
    setLexer(HighLighter);
}

void TResultView::Clear()
{
    clear();
    FLineCount = 0;
}

void TResultView::AppendLine(const QString& Line)
{
    AppendLines({Line});
}

// The lines go to the editor as one UTF-8 text, encoded straight from the list: a search
// result of 100,000 definitions is some 40 MB of text, which is not joined into one string
// and then converted again.
void TResultView::AppendLines(const QStringList& Lines)
{
    if (Lines.isEmpty())
        return;
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    qsizetype characters = 0;
    for (const QString& line : Lines)
        characters += line.size() + 1;
    QByteArray text(toUtf8.requiredSpace(characters), Qt::Uninitialized);
    char* end = text.data();
    if (FLineCount > 0)
        *end++ = '\n';
    for (const QString& line : Lines) {
        end = toUtf8.appendToBuffer(end, line);
        *end++ = '\n';
    }
    --end; // no line break after the last line
    text.truncate(end - text.constData());
    SendScintilla(SCI_SETREADONLY, 0UL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.constData());
    SendScintilla(SCI_SETREADONLY, 1UL);
    FLineCount += Lines.size();
}

QStringList TResultView::Lines() const
{
    return FLineCount == 0 ? QStringList() : text().split(u'\n');
}

QSize TResultView::sizeHint() const
{
    constexpr int visibleLines = 15;
    constexpr int visibleColumns = 100;
    const int lineHeight = static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, 0UL));
    const int frame = 2 * frameWidth();
    return {QFontMetrics(FViewFont).horizontalAdvance(u'0') * visibleColumns + frame,
        lineHeight * visibleLines + frame + horizontalScrollBar()->sizeHint().height()};
}

void TResultView::RepaintNow()
{
    viewport()->repaint();
}

void TResultView::contextMenuEvent(QContextMenuEvent* Event)
{
    if (FContextMenu)
        FContextMenu->popup(Event->globalPos());
}
