// The window's position over repeated starts of the real program, on an X server (Xvfb) with a
// window manager (openbox) that puts a frame around it, closed as a user closes it (wmctrl
// asks the window to close, so its close handler writes the profile).
#include "support/IniFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

QT_BEGIN_NAMESPACE
void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x' << rect.height();
}
QT_END_NAMESPACE

namespace {

constexpr int TimeoutMs = 15000;

bool WaitFor(const std::function<bool()>& Condition)
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

    // The id of the top-level window with that title, or an empty text.
    QString WindowId(const QString& Title) const
    {
        const QStringList lines = Run(QStringLiteral("wmctrl"), {QStringLiteral("-l")}).value_or(QString()).split(u'\n');
        for (const QString& line : lines) {
            if (line.endsWith(u' ' + Title))
                return line.section(u' ', 0, 0);
        }
        return {};
    }

    // Starts the window, waits until it is shown, and closes it as a user would.
    void StartAndClose()
    {
        QProcess window;
        window.setProcessEnvironment(Environment);
        window.start(QStringLiteral(KESTRUNE_WINDOW_EXECUTABLE), {});
        ASSERT_TRUE(window.waitForStarted(TimeoutMs));
        QString id;
        ASSERT_TRUE(WaitFor([&] { return !(id = WindowId(QStringLiteral("Kestrune 5.0"))).isEmpty(); }))
            << "the window did not appear";
        // Let the window manager frame and place it before the close request comes.
        QThread::msleep(500);
        ASSERT_TRUE(Run(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), id}).has_value());
        ASSERT_TRUE(window.waitForFinished(TimeoutMs)) << "the window did not close";
    }

    QRect StoredGeometry() const
    {
        const TIniFile settings(Home.filePath(QStringLiteral(".config/Kestrune/Kestrune.ini")));
        const QString section = QStringLiteral("FormMain");
        return {settings.ReadInteger(section, QStringLiteral("Left"), -1),
            settings.ReadInteger(section, QStringLiteral("Top"), -1),
            settings.ReadInteger(section, QStringLiteral("Width"), -1),
            settings.ReadInteger(section, QStringLiteral("Height"), -1)};
    }

    QTemporaryDir Home;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    QProcess Server;
    QProcess WindowManager;
};

TEST_F(DesktopSession, TheWindowKeepsItsPlaceOverRepeatedStarts)
{
    StartAndClose();
    const QRect first = StoredGeometry();
    // A first start places the window a quarter of the 1280 by 1024 screen from its edges.
    EXPECT_EQ(first.topLeft(), QPoint(320, 256));
    for (int restart = 1; restart <= 3; ++restart) {
        StartAndClose();
        EXPECT_EQ(StoredGeometry(), first) << "after restart " << restart;
    }
}

} // namespace
