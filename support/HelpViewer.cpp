#include "support/HelpViewer.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

namespace {

THelpViewer* Current = nullptr;

QString FindViewer()
{
    for (const QString& name :
        {QStringLiteral("xchm"), QStringLiteral("kchmviewer"), QStringLiteral("chmsee")}) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

} // namespace

THelpViewer::THelpViewer(QString HelpPagesFolder, TPageOpener OpenPage)
    : FViewer(FindViewer())
    , FIndexPage(std::move(HelpPagesFolder) + QStringLiteral("index.html"))
    , FOpenPage(std::move(OpenPage))
{
    Current = this;
}

// The help file's viewer closes with the program, as the help windows of a program do.
THelpViewer::~THelpViewer()
{
    if (FViewerProcess) {
        FViewerProcess->terminate();
        FViewerProcess->waitForFinished(1000);
    }
    Current = nullptr;
}

bool HtmlHelpAvailable()
{
    return Current && (!Current->FViewer.isEmpty() || QFileInfo::exists(Current->FIndexPage));
}

qint64 CallHtmlHelp(const QString& HelpFile)
{
    if (!HtmlHelpAvailable())
        return 0;
    THelpViewer& viewer = *Current;
    if (!viewer.FViewer.isEmpty() && QFileInfo::exists(HelpFile)) {
        if (!viewer.FViewerProcess || viewer.FViewerProcess->state() == QProcess::NotRunning) {
            viewer.FViewerProcess = std::make_unique<QProcess>();
            viewer.FViewerProcess->start(viewer.FViewer, {HelpFile});
            if (!viewer.FViewerProcess->waitForStarted())
                return 0;
        }
        return viewer.FViewerProcess->processId();
    }
    return QFileInfo::exists(viewer.FIndexPage) && viewer.FOpenPage(viewer.FIndexPage) ? 1 : 0;
}
