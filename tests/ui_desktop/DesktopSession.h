#pragma once

// An X server (Xvfb) with a window manager (openbox) for the tests of the real window, started
// by the test itself; a test skips, saying why, where those programs are missing.
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

inline constexpr int TimeoutMs = 15000;

inline bool WaitFor(const std::function<bool()>& Condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!Condition()) {
        if (timer.elapsed() > TimeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

// An X server with a window manager, and a settings folder of its own, for one test.
class DesktopSession : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* program : {"Xvfb", "openbox", "wmctrl"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
                GTEST_SKIP() << program << " is not installed (scripts/setup.sh installs Xvfb, openbox and wmctrl)";
        }
        Server.start(QStringLiteral("Xvfb"),
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        ASSERT_TRUE(Server.waitForReadyRead(TimeoutMs)) << "Xvfb did not start";
        Environment.insert(QStringLiteral("DISPLAY"), u':' + QString::fromLatin1(Server.readLine().trimmed()));
        Environment.insert(QStringLiteral("HOME"), Home.path());
        Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Home.filePath(QStringLiteral(".config")));
        Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        WindowManager.setProcessEnvironment(Environment);
        WindowManager.start(QStringLiteral("openbox"), {});
        ASSERT_TRUE(WaitFor([this] { return Run(QStringLiteral("wmctrl"), {QStringLiteral("-m")}).has_value(); }))
            << "openbox did not come up";
    }

    void TearDown() override
    {
        for (QProcess* process : {&WindowManager, &Server}) {
            process->terminate();
            process->waitForFinished(TimeoutMs);
        }
    }

    // The standard output of a program run to its end in the session, or nothing on failure.
    std::optional<QString> Run(const QString& Program, const QStringList& Arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(Environment);
        process.start(Program, Arguments);
        if (!process.waitForFinished(TimeoutMs) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0)
            return std::nullopt;
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }

    QTemporaryDir Home;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    QProcess Server;
    QProcess WindowManager;
};
