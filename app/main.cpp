// Kestrune, the desktop window: start-up, event loop, shut-down.
#include "obisdata/Model.h"
#include "support/AppPaths.h"
#include "support/HelpViewer.h"
#include "ui/FormMain.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);

    // The modules, in this order; they are finalised in reverse order once the main window is
    // gone, so the settings file outlives the window's last profile write.
    CurrentOBISData();
    const TAppPaths appPaths(QCoreApplication::applicationFilePath());
    const THelpViewer helpViewer(HelpPagesFolder(),
        [](const QString& page) { return QDesktopServices::openUrl(QUrl::fromLocalFile(page)); });

    QApplication::setApplicationName(QStringLiteral("Kestrune"));
    TFormMain formMain;
    formMain.show();
    return QApplication::exec();
}
