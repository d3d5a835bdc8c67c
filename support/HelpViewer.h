#pragma once

#include <QString>

#include <functional>
#include <memory>

class QProcess;

// Opens a local page in the desktop's web browser; false when it could not.
using TPageOpener = std::function<bool(const QString& PageFileName)>;

// The viewer of the program's help. The compiled help file (.chm) is shown by an external
// viewer looked up on the PATH once, when the program starts (xchm, kchmviewer or chmsee, the
// first one found); where there is no such viewer, or no help file, the HTML pages of the help
// are opened in the desktop's browser instead. Without either the program runs as usual and
// the help command does nothing.
//
// One THelpViewer exists while the program runs, created before the main window.
class THelpViewer
{
public:
    // HelpPagesFolder holds index.html, the first page of the help; OpenPage shows a page.
    THelpViewer(QString HelpPagesFolder, TPageOpener OpenPage);
    ~THelpViewer();
    THelpViewer(const THelpViewer&) = delete;
    THelpViewer& operator=(const THelpViewer&) = delete;

private:
    friend bool HtmlHelpAvailable();
    friend qint64 CallHtmlHelp(const QString& HelpFile);

    QString FViewer;
    QString FIndexPage;
    TPageOpener FOpenPage;
    // The viewer started last; while it runs, a further call reuses it.
    std::unique_ptr<QProcess> FViewerProcess;
};

// Whether the help can be shown: a viewer of the help file was found at start-up, or the help
// pages exist.
bool HtmlHelpAvailable();

// Shows the help at its table of contents: the help file in its viewer when both exist (the
// viewer still running from an earlier call is reused), else the first help page in the
// browser. The viewer's process id, 1 when the browser took the page, or 0 when nothing could
// be shown.
qint64 CallHtmlHelp(const QString& HelpFile);
