#include "ui/EventHandlers.h"

#include "support/Exception.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {

void ShowMessageBox(QWidget* window, const QString& message)
{
    QMessageBox::critical(window, QApplication::applicationName(), message);
}

TExceptionReporter& CurrentReporter()
{
    static TExceptionReporter reporter = ShowMessageBox;
    return reporter;
}

} // namespace

void RunHandler(QWidget* Window, const std::function<void()>& Handler)
{
    try {
        Handler();
    } catch (const ESilentAbort&) {
    } catch (const Exception& e) {
        CurrentReporter()(Window, e.Message());
    } catch (const std::exception& e) {
        CurrentReporter()(Window, QString::fromLocal8Bit(e.what()));
    }
}

TExceptionReporter SetExceptionReporter(TExceptionReporter Reporter)
{
    return std::exchange(CurrentReporter(), std::move(Reporter));
}
