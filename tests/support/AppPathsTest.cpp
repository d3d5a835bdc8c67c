#include "support/AppPaths.h"
#include "support/Exception.h"
#include "tests/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

// The per-user configuration folder is a temporary one, not yet created.
class AppPathsTest : public testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", ConfigHome.toUtf8()); }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    QTemporaryDir Directory;
    const QString ConfigHome = Directory.filePath(QStringLiteral("config"));
};

struct PathCase
{
    std::string Name;
    QString Executable;
    QString ProgramName;
    QString HelpFileName;
};

class AppPathsNamesTest : public AppPathsTest, public testing::WithParamInterface<PathCase>
{
};

TEST_P(AppPathsNamesTest, FollowTheExecutablesName)
{
    const PathCase& c = GetParam();
    const TAppPaths paths(c.Executable);
    EXPECT_EQ(ProgramName(), c.ProgramName);
    EXPECT_EQ(HelpFileName(), c.HelpFileName);
    EXPECT_EQ(SettingsFolder(), ConfigHome + u'/' + c.ProgramName + u'/');
    EXPECT_EQ(SettingsFileName(), SettingsFolder() + c.ProgramName + QStringLiteral(".ini"));
    EXPECT_EQ(SettingsFile().FileName(), SettingsFileName());
}

INSTANTIATE_TEST_SUITE_P(Cases, AppPathsNamesTest,
    testing::Values(PathCase {"Plain", QStringLiteral("/opt/kestrune/Tool"), QStringLiteral("Tool"),
                        QStringLiteral("/opt/kestrune/Tool.chm")},
        PathCase {"DotInName", QStringLiteral("/opt/kestrune/A.B"), QStringLiteral("A.B"),
            QStringLiteral("/opt/kestrune/A.B.chm")},
        PathCase {"WindowsBuild", QStringLiteral("/opt/kestrune/A.B.exe"), QStringLiteral("A.B"),
            QStringLiteral("/opt/kestrune/A.B.chm")}),
    [](const testing::TestParamInfo<PathCase>& tested) { return tested.param.Name; });

TEST_F(AppPathsTest, AFirstStartCreatesTheSettingsFolderButNotTheFile)
{
    const TAppPaths paths(QStringLiteral("/opt/kestrune/Kestrune"));
    EXPECT_TRUE(QFileInfo(SettingsFolder()).isDir());
    EXPECT_FALSE(QFileInfo::exists(SettingsFileName()));
    SettingsFile().WriteBool(QStringLiteral("FormMain"), QStringLiteral("CHKHex"), true);
    EXPECT_TRUE(QFileInfo::exists(SettingsFileName()));
}

// An installed layout in the temporary folder: bin/Kestrune and share/kestrune/.
class AppPathsHelpTest : public AppPathsTest
{
protected:
    void Create(const QString& path) const
    {
        QDir().mkpath(QFileInfo(Root(path)).path());
        QFile file(Root(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QString Root(const QString& path) const { return Directory.filePath(path); }
};

TEST_F(AppPathsHelpTest, IsLookedForNextToTheExecutableThenInTheDataFolder)
{
    {
        const TAppPaths paths(Root(QStringLiteral("bin/Kestrune")));
        EXPECT_EQ(HelpFileName(), Root(QStringLiteral("bin/Kestrune.chm")));
        EXPECT_EQ(HelpPagesFolder(), Root(QStringLiteral("bin/help/")));
        EXPECT_EQ(HomePageFileName(), Root(QStringLiteral("bin/help/home.html")));
    }
    Create(QStringLiteral("share/kestrune/Kestrune.chm"));
    Create(QStringLiteral("share/kestrune/help/index.html"));
    {
        const TAppPaths paths(Root(QStringLiteral("bin/Kestrune")));
        EXPECT_EQ(HelpFileName(), Root(QStringLiteral("share/kestrune/Kestrune.chm")));
        EXPECT_EQ(HelpPagesFolder(), Root(QStringLiteral("share/kestrune/help/")));
    }
    Create(QStringLiteral("bin/Kestrune.chm"));
    Create(QStringLiteral("bin/help/index.html"));
    const TAppPaths paths(Root(QStringLiteral("bin/Kestrune")));
    EXPECT_EQ(HelpFileName(), Root(QStringLiteral("bin/Kestrune.chm")));
    EXPECT_EQ(HelpPagesFolder(), Root(QStringLiteral("bin/help/")));
}

TEST_F(AppPathsTest, NothingIsSetBeforeStartOrAfterShutDown)
{
    {
        const TAppPaths paths(QStringLiteral("/opt/kestrune/Kestrune"));
        EXPECT_EQ(ProgramName(), QStringLiteral("Kestrune"));
    }
    EXPECT_TRUE(ProgramName().isEmpty());
    EXPECT_TRUE(SettingsFileName().isEmpty());
    EXPECT_THROW(SettingsFile(), Exception);
}

} // namespace
