#include "support/HelpViewer.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

const THelpViewer* Current = nullptr;

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

THelpViewer::THelpViewer()
    : FViewer(FindViewer())
{
    Current = this;
}

THelpViewer::~THelpViewer()
{
    Current = nullptr;
}

bool HtmlHelpAvailable()
{
    return Current && !Current->FViewer.isEmpty();
}

qint64 CallHtmlHelp(const QString& HelpFile)
{
    if (!HtmlHelpAvailable())
        return 0;
    qint64 processId = 0;
    if (!QProcess::startDetached(Current->FViewer, {HelpFile}, QString(), &processId))
        return 0;
    return processId;
}
