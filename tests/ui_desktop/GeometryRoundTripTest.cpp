// The window's position over repeated starts of the real program, on an X server (Xvfb) with a
// window manager (openbox) that puts a frame around it, closed as a user closes it (wmctrl
// asks the window to close, so its close handler writes the profile).
#include "DesktopSession.h"
#include "support/IniFile.h"

#include <QRect>

QT_BEGIN_NAMESPACE
void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x' << rect.height();
}
QT_END_NAMESPACE

namespace {

// Starts and closes the window in the session and reads where it was stored.
class WindowPlacement : public DesktopSession
{
protected:
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

    // Starts the window, waits until it is shown, runs WhileShown with the window's id, and
    // closes the window as a user would.
    void StartAndClose(const std::function<void(const QString& Id)>& WhileShown = [](const QString&) {})
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
        WhileShown(id);
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
};

TEST_F(WindowPlacement, TheWindowKeepsItsPlaceOverRepeatedStarts)
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

// Moved and resized through the window manager, as a user drags it, the window keeps its new
// place and size from then on.
TEST_F(WindowPlacement, AWindowMovedByTheUserKeepsItsNewPlace)
{
    StartAndClose([this](const QString& id) {
        ASSERT_TRUE(Run(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-r"), id, QStringLiteral("-e"),
                                                       QStringLiteral("0,100,150,900,600")})
                        .has_value());
        QThread::msleep(500);
    });
    const QRect moved = StoredGeometry();
    EXPECT_NE(moved.topLeft(), QPoint(320, 256));
    EXPECT_EQ(moved.size(), QSize(900, 600));
    for (int restart = 1; restart <= 2; ++restart) {
        StartAndClose();
        EXPECT_EQ(StoredGeometry(), moved) << "after restart " << restart;
    }
}

} // namespace
