// The layout checks of the window tests (no caption cut, 15 result lines at the first start,
// FFFFFFFF in a field box, group titles in line with the controls) once more on a real X
// server, with the whole window scaled to 150% and 200%.
#include "DesktopSession.h"

namespace {

class ScaledLayout : public DesktopSession, public testing::WithParamInterface<const char*>
{ };

TEST_P(ScaledLayout, LeavesRoomForEveryCaptionAndFifteenLines)
{
    QProcessEnvironment environment = Environment;
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(GetParam()));
    QProcess tests;
    tests.setProcessEnvironment(environment);
    tests.setProcessChannelMode(QProcess::MergedChannels);
    tests.start(QStringLiteral(KESTRUNE_WINDOW_TESTS),
        {QStringLiteral("--gtest_filter=FormMainTest.LayoutLeavesRoomForEveryCaptionAndFifteenLines")});
    ASSERT_TRUE(tests.waitForFinished(TimeoutMs)) << "the window tests did not end";
    const QString output = QString::fromLocal8Bit(tests.readAll());
    EXPECT_EQ(tests.exitCode(), 0) << output.toStdString();
    // It ran on the X server, and was not skipped.
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledLayout, testing::Values("1.5", "2"));

} // namespace
