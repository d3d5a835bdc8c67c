#include "support/IniFile.h"
#include "support/Exception.h"
#include "tests/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public testing::Test
{
protected:
    QString Path() const { return Directory.filePath(QStringLiteral("settings.ini")); }

    void Store(const QByteArray& content) const
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray Stored() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir Directory;
    TIniFile Ini {Path()};
};

TEST_F(IniFileTest, AMissingFileReadsAsDefaultsAndIsCreatedByTheFirstWrite)
{
    EXPECT_EQ(Ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("default")),
        QStringLiteral("default"));
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 7), 7);
    EXPECT_FALSE(QFile::exists(Path()));

    Ini.WriteString(
        QStringLiteral("FormMain"), QStringLiteral("EDITObjDefFile"), QStringLiteral("/data/a b.xlsx"));
    Ini.WriteInteger(QStringLiteral("FormMain"), QStringLiteral("Top"), -20);
    Ini.WriteBool(QStringLiteral("FormMain"), QStringLiteral("CHKHex"), true);
    Ini.WriteBool(QStringLiteral("Other"), QStringLiteral("StayOnTop"), false);
    EXPECT_EQ(Stored(),
        "[FormMain]\r\nEDITObjDefFile=/data/a b.xlsx\r\nTop=-20\r\nCHKHex=1\r\n\r\n[Other]\r\nStayOnTop=0\r\n");
}

TEST_F(IniFileTest, SectionsAndKeysIgnoreLetterCase)
{
    Store("[formmain]\r\n top = 12 \r\n");
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("FormMain"), QStringLiteral("TOP"), 0), 12);
    Ini.WriteInteger(QStringLiteral("FORMMAIN"), QStringLiteral("Top"), 13);
    EXPECT_EQ(Stored(), "[formmain]\r\nTop=13\r\n");
}

// A file keeps the line ends it had: LF stays LF, CR LF stays CR LF.
TEST_F(IniFileTest, KeepsTheLineEndsOfTheFile)
{
    for (const QByteArray& lineEnd : {QByteArray("\n"), QByteArray("\r\n")}) {
        Store("[A]" + lineEnd + "x=1" + lineEnd);
        Ini.WriteInteger(QStringLiteral("A"), QStringLiteral("y"), 2);
        Ini.WriteInteger(QStringLiteral("B"), QStringLiteral("z"), 3);
        EXPECT_EQ(Stored(), "[A]" + lineEnd + "x=1" + lineEnd + "y=2" + lineEnd + lineEnd + "[B]" + lineEnd + "z=3" + lineEnd);
    }
}

TEST_F(IniFileTest, WritesGoIntoTheirSectionAndKeepOtherLines)
{
    Store("; settings\n[A]\nx=1\n\n[B]\ny=2\n");
    Ini.WriteString(QStringLiteral("A"), QStringLiteral("z"), QStringLiteral("3"));
    Ini.WriteString(QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("4"));
    EXPECT_EQ(Stored(), "; settings\n[A]\nx=1\nz=3\n\n[B]\ny=4\n");
}

TEST_F(IniFileTest, EraseSectionRemovesItsKeysOnly)
{
    Store("[FormMain]\nTop=1\n[FormMain.List]\nc=2\n0=a\n1=b\n[Last]\nk=v\n");
    Ini.EraseSection(QStringLiteral("formmain.list"));
    EXPECT_EQ(Stored(), "[FormMain]\nTop=1\n[Last]\nk=v\n");
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("FormMain.List"), QStringLiteral("c"), -1), -1);
}

struct IntegerCase
{
    const char* Stored;
    int Expected;
};

class IniIntegerTest : public IniFileTest, public testing::WithParamInterface<IntegerCase>
{
};

TEST_P(IniIntegerTest, ReadsDecimalAndHexOrTheDefault)
{
    Store(QByteArray("[S]\nK=") + GetParam().Stored + "\n");
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), -99), GetParam().Expected)
        << GetParam().Stored;
}

INSTANTIATE_TEST_SUITE_P(Cases, IniIntegerTest,
    testing::Values(IntegerCase {"42", 42}, IntegerCase {"-7", -7}, IntegerCase {"0x2", 2},
        IntegerCase {"0X1f", 31}, IntegerCase {"$10", 16}, IntegerCase {"0x", -99}, IntegerCase {"abc", -99},
        IntegerCase {"", -99}, IntegerCase {"12abc", -99}, IntegerCase {"99999999999", -99}));

TEST_F(IniFileTest, BooleansAreIntegersAndAnyNonZeroValueIsTrue)
{
    Store("[S]\nFive=5\nZero=0\nYes=yes\n");
    EXPECT_TRUE(Ini.ReadBool(QStringLiteral("S"), QStringLiteral("Five"), false));
    EXPECT_FALSE(Ini.ReadBool(QStringLiteral("S"), QStringLiteral("Zero"), true));
    EXPECT_TRUE(Ini.ReadBool(QStringLiteral("S"), QStringLiteral("Yes"), true));
    EXPECT_FALSE(Ini.ReadBool(QStringLiteral("S"), QStringLiteral("Yes"), false));
}

TEST_F(IniFileTest, ReadsAtMost2047Characters)
{
    const QString longValue(3000, u'x');
    Ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), longValue);
    EXPECT_EQ(Ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), longValue.left(2047));
}

TEST_F(IniFileTest, KeepsTextOutsideAscii)
{
    Ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("Zähler €"));
    EXPECT_EQ(
        Ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("Zähler €"));
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenRaisesUnableToWrite)
{
    // A folder below a plain file cannot exist, whoever runs the test.
    Store("plain file");
    TIniFile unwritable(Path() + QStringLiteral("/sub/settings.ini"));
    try {
        unwritable.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to write to ") + unwritable.FileName());
    }
    EXPECT_EQ(unwritable.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 3), 3);
}

} // namespace
