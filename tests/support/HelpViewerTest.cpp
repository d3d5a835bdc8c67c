#include "support/HelpViewer.h"
#include "tests/QtPrinters.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The PATH holds only a temporary folder, into which a test may put a viewer; the help pages
// folder is pages/ in it, without pages until a test writes index.html.
class HelpViewerTest : public testing::Test
{
protected:
    void SetUp() override { qputenv("PATH", Directory.path().toUtf8()); }
    void TearDown() override { qputenv("PATH", SavedPath); }

    // A viewer that writes its argument into called.txt and stays open.
    void InstallViewer(const QString& name) const
    {
        QFile script(Directory.filePath(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\nexec sleep 30\n").arg(Called()).toUtf8());
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }

    // An empty file of that name in the temporary folder; its path.
    QString WriteFile(const QString& name) const
    {
        QDir(Directory.path()).mkpath(QFileInfo(Directory.filePath(name)).path());
        QFile file(Directory.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }

    THelpViewer Viewer()
    {
        return THelpViewer(Directory.filePath(QStringLiteral("pages/")), [this](const QString& page) {
            Opened.append(page);
            return true;
        });
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
    QStringList Opened;
};

TEST_F(HelpViewerTest, WithoutAViewerOrPagesTheHelpDoesNothing)
{
    const QString helpFile = WriteFile(QStringLiteral("Kestrune.chm"));
    EXPECT_FALSE(HtmlHelpAvailable());
    EXPECT_EQ(CallHtmlHelp(helpFile), 0);
    const THelpViewer viewer = Viewer();
    EXPECT_FALSE(HtmlHelpAvailable());
    EXPECT_EQ(CallHtmlHelp(helpFile), 0);
    EXPECT_TRUE(Opened.isEmpty());
}

TEST_F(HelpViewerTest, AViewerOnThePathShowsTheHelpFileAndIsReused)
{
    InstallViewer(QStringLiteral("kchmviewer"));
    const QString helpFile = WriteFile(QStringLiteral("Kestrune.chm"));
    const THelpViewer viewer = Viewer();
    ASSERT_TRUE(HtmlHelpAvailable());
    const qint64 first = CallHtmlHelp(helpFile);
    EXPECT_NE(first, 0);
    EXPECT_EQ(WaitForCall(), helpFile.toUtf8() + '\n');
    EXPECT_EQ(CallHtmlHelp(helpFile), first);
    EXPECT_TRUE(Opened.isEmpty());
}

// Without a viewer, or without the help file, the first page goes to the browser.
TEST_F(HelpViewerTest, OtherwiseThePagesOpenInTheBrowser)
{
    const QString index = WriteFile(QStringLiteral("pages/index.html"));
    const QString missingHelpFile = Directory.filePath(QStringLiteral("Kestrune.chm"));
    {
        const THelpViewer viewer = Viewer();
        ASSERT_TRUE(HtmlHelpAvailable());
        EXPECT_EQ(CallHtmlHelp(missingHelpFile), 1);
    }
    InstallViewer(QStringLiteral("xchm"));
    const THelpViewer viewer = Viewer();
    EXPECT_EQ(CallHtmlHelp(missingHelpFile), 1);
    EXPECT_EQ(Opened, QStringList({index, index}));
}

TEST_F(HelpViewerTest, TheViewerIsLookedForOnlyAtStartUp)
{
    const QString helpFile = WriteFile(QStringLiteral("Kestrune.chm"));
    const THelpViewer viewer = Viewer();
    InstallViewer(QStringLiteral("xchm"));
    EXPECT_FALSE(HtmlHelpAvailable());
    EXPECT_EQ(CallHtmlHelp(helpFile), 0);
}

} // namespace
