#pragma once

#include "support/AppPaths.h"
#include "tests/QtPrinters.h"
#include "ui/EventHandlers.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

// A fixture for windows: a temporary configuration folder, the program's paths as for the
// executable /opt/kestrune/Kestrune, and the messages of exceptions that leave a handler
// collected in Messages instead of shown in message boxes.
class WindowTest : public testing::Test
{
protected:
    WindowTest()
    {
        qputenv("XDG_CONFIG_HOME", ConfigHome.path().toUtf8());
        Paths.emplace(QStringLiteral("/opt/kestrune/Kestrune"));
        FormerReporter
            = SetExceptionReporter([this](QWidget*, const QString& message) { Messages.append(message); });
    }

    ~WindowTest() override { SetExceptionReporter(FormerReporter); }

    // Runs Action on the modal window that the next step opens, from inside its event loop.
    static void WhenModalShown(const std::function<void(QWidget* modal)>& Action)
    {
        QTimer::singleShot(0, [Action] {
            if (QWidget* modal = QApplication::activeModalWidget())
                Action(modal);
        });
    }

    QTemporaryDir ConfigHome;
    std::optional<TAppPaths> Paths;
    QStringList Messages;

private:
    TExceptionReporter FormerReporter;
};
