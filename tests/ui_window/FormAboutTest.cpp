#include "ui/FormAbout.h"

#include "WindowTest.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

using FormAboutTest = WindowTest;

TEST_F(FormAboutTest, NamesTheProgramItsVersionAndWordSize)
{
    TFormAbout about(nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Kestrune"));
    const QStringList lines = about.LBLText->text().split(u'\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Kestrune"));
    EXPECT_EQ(lines[1],
        sizeof(void*) == 8 ? QStringLiteral("Version 5.0 (64 bits)") : QStringLiteral("Version 5.0"));
    EXPECT_FALSE(lines[2].isEmpty());
    EXPECT_TRUE(lines[3].isEmpty());
    EXPECT_EQ(about.Button1->text(), QStringLiteral("&Ok"));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
}

TEST_F(FormAboutTest, RenamingTheExecutableRenamesTheBox)
{
    Paths.reset();
    Paths.emplace(QStringLiteral("/opt/tools/Tool"));
    const TFormAbout about(nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Tool"));
    EXPECT_TRUE(about.LBLText->text().startsWith(QStringLiteral("Tool\n")));
}

TEST_F(FormAboutTest, OkAndEscCloseItWithTheCancelResult)
{
    TFormAbout about(nullptr);
    WhenModalShown([&about](QWidget* modal) {
        EXPECT_EQ(modal, &about);
        about.Button1->click();
    });
    EXPECT_EQ(about.exec(), QDialog::Rejected);

    WhenModalShown([](QWidget* modal) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(modal, &escape);
    });
    EXPECT_EQ(about.exec(), QDialog::Rejected);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
