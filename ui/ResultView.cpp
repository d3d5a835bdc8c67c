#include "ui/ResultView.h"

#include <Qsci/qscilexer.h>

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

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
}

QFont TResultView::ResultFont()
{
    QFont monospace(QStringLiteral("monospace"));
    monospace.setStyleHint(QFont::TypeWriter);
    for (const QFont& candidate :
        {QFont(QStringLiteral("Dina")), QFontDatabase::systemFont(QFontDatabase::FixedFont), monospace}) {
        const QFont font = WithResultSize(candidate);
        if (QFontInfo(font).fixedPitch())
            return font;
    }
    return WithResultSize(monospace);
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

void TResultView::AppendLines(const QStringList& Lines)
{
    if (Lines.isEmpty())
        return;
    const QString text = Lines.join(u'\n');
    if (FLineCount == 0)
        setText(text);
    else
        append(u'\n' + text);
    FLineCount += Lines.size();
}

QStringList TResultView::Lines() const
{
    return FLineCount == 0 ? QStringList() : text().split(u'\n');
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
