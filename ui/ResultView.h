#pragma once

#include <Qsci/qsciscintilla.h>

#include <QStringList>

class QMenu;

// The result view of the main window: a read-only list of lines in a fixed-pitch font, without
// gutter, that the user can select in and copy from. Lines are appended one by one (the log
// of an import) or many at once (a search result); the view can repaint itself at once so that
// a log line shows before the caller goes on.
class TResultView : public QsciScintilla
{
public:
    explicit TResultView(QWidget* Parent = nullptr);

    // 13 pixels high, of the first installed family of Dina, DejaVu Sans Mono, the system's
    // fixed font and any other family whose glyphs all have one width.
    static QFont ResultFont();
    // Whether the font's family is installed and its digits, letters and signs of a result
    // line all have one width.
    static bool HasOneWidth(const QFont& Font);
    const QFont& ViewFont() const { return FViewFont; }

    // The menu shown on a right click (not owned).
    void SetContextMenu(QMenu* Menu) { FContextMenu = Menu; }
    // Colours the lines with the highlighter, on the view's font and colours (not owned).
    void SetHighlighter(QsciLexer* HighLighter);

    void Clear();
    void AppendLine(const QString& Line);
    void AppendLines(const QStringList& Lines);
    QStringList Lines() const;
    // Room for the lines a view shows at least: 15 lines of 100 characters.
    QSize sizeHint() const override;
    // Paints the view now, not when the event loop next runs.
    void RepaintNow();

protected:
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    QFont FViewFont;
    QMenu* FContextMenu = nullptr;
    qsizetype FLineCount = 0;
};
