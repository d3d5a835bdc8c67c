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

    // "Dina", 13 pixels high; where it is missing, the first fixed-pitch stand-in.
    static QFont ResultFont();
    const QFont& ViewFont() const { return FViewFont; }

    // The menu shown on a right click (not owned).
    void SetContextMenu(QMenu* Menu) { FContextMenu = Menu; }
    // Colours the lines with the highlighter, on the view's font and colours (not owned).
    void SetHighlighter(QsciLexer* HighLighter);

    void Clear();
    void AppendLine(const QString& Line);
    void AppendLines(const QStringList& Lines);
    QStringList Lines() const;
    // Paints the view now, not when the event loop next runs.
    void RepaintNow();

protected:
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    QFont FViewFont;
    QMenu* FContextMenu = nullptr;
    qsizetype FLineCount = 0;
};
