#include "support/HelpViewer.h"
#include "tests/QtPrinters.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The PATH holds only a temporary folder, into which a test may put a viewer.
class HelpViewerTest : public testing::Test
{
protected:
    void SetUp() override { qputenv("PATH", Directory.path().toUtf8()); }
    void TearDown() override { qputenv("PATH", SavedPath); }

    // A viewer that writes its argument into called.txt.
    void InstallViewer(const QString& name) const
    {
        QFile script(Directory.filePath(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\n").arg(Called()).toUtf8());
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }

    QString Called() const { return Directory.filePath(QStringLiteral("called.txt")); }

    // What the viewer was called with, once it has written it.
    QByteArray WaitForCall() const
    {
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            QFile file(Called());
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray content = file.readAll();
                if (content.endsWith('\n'))
                    return content;
            }
            QThread::msleep(10);
        }
        return {};
    }

    QByteArray SavedPath = qgetenv("PATH");
    QTemporaryDir Directory;
};

TEST_F(HelpViewerTest, WithoutAViewerTheHelpDoesNothing)
{
    EXPECT_FALSE(HtmlHelpAvailable());
    EXPECT_EQ(CallHtmlHelp(QStringLiteral("/opt/kestrune/Kestrune.chm")), 0);
    const THelpViewer viewer;
    EXPECT_FALSE(HtmlHelpAvailable());
    EXPECT_EQ(CallHtmlHelp(QStringLiteral("/opt/kestrune/Kestrune.chm")), 0);
}

TEST_F(HelpViewerTest, AViewerOnThePathIsStartedWithTheHelpFile)
{
    InstallViewer(QStringLiteral("kchmviewer"));
    const THelpViewer viewer;
    ASSERT_TRUE(HtmlHelpAvailable());
    EXPECT_NE(CallHtmlHelp(QStringLiteral("/opt/kestrune/Kestrune.chm")), 0);
    EXPECT_EQ(WaitForCall(), "/opt/kestrune/Kestrune.chm\n");
}

TEST_F(HelpViewerTest, TheViewerIsLookedForOnlyAtStartUp)
{
    const THelpViewer viewer;
    InstallViewer(QStringLiteral("xchm"));
    EXPECT_FALSE(HtmlHelpAvailable());
}

} // namespace
