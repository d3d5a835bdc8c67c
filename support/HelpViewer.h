#pragma once

#include <QString>

// The viewer of the compiled HTML help file (.chm): an external program looked up on the PATH
// once, when the program starts (xchm, kchmviewer or chmsee, the first one found). Without one
// the program runs as usual and the help command does nothing.
//
// One THelpViewer exists while the program runs, created before the main window.
class THelpViewer
{
public:
    THelpViewer();
    ~THelpViewer();
    THelpViewer(const THelpViewer&) = delete;
    THelpViewer& operator=(const THelpViewer&) = delete;

private:
    friend bool HtmlHelpAvailable();
    friend qint64 CallHtmlHelp(const QString& HelpFile);

    QString FViewer;
};

// Whether a viewer was found at start-up.
bool HtmlHelpAvailable();

// Starts the viewer on the help file, at its table of contents, and leaves it running on its
// own. The viewer's process id, or 0 when there is no viewer or it did not start.
qint64 CallHtmlHelp(const QString& HelpFile);
