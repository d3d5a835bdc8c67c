#include "excel/ZipArchive.h"
#include "support/Exception.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

class ExcelZipArchiveTest : public testing::Test
{
protected:
    QByteArray Zip(const TZipEntries& entries)
    {
        const QString path = FDir.filePath(QStringLiteral("test.zip"));
        WriteZip(path, entries);
        return ReadFileBytes(path);
    }

    static QString ReadError(TZipArchive& archive, const QString& name)
    {
        try {
            archive.Read(name);
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("(read)");
    }

    QTemporaryDir FDir;
};

TEST_F(ExcelZipArchiveTest, ReadsEntriesWhateverTheirLetterCase)
{
    TZipArchive archive(Zip({{"xl/workbook.xml", "<workbook/>"}}));
    EXPECT_TRUE(archive.Contains(QStringLiteral("XL/Workbook.xml")));
    const std::vector<char> content = archive.Read(QStringLiteral("xl/WORKBOOK.xml"));
    EXPECT_EQ(std::string(content.begin(), content.end()), "<workbook/>");
    EXPECT_EQ(ReadError(archive, QStringLiteral("xl/missing.xml")), QStringLiteral("xl/missing.xml is missing"));
}

TEST_F(ExcelZipArchiveTest, AllEntriesTogetherStayWithinTheTotal)
{
    const std::string text(1000, 'x');
    TZipArchive archive(Zip({{"a", text}, {"b", text}}), TZipLimits{1500, 200, 1 << 20});
    EXPECT_EQ(archive.Read(QStringLiteral("a")).size(), 1000u);
    EXPECT_EQ(ReadError(archive, QStringLiteral("b")), QStringLiteral("b takes the decompressed size of the workbook beyond 1500 bytes"));
}

TEST_F(ExcelZipArchiveTest, EntryBeyondTheRatioFails)
{
    TZipArchive archive(Zip({{"zeros", std::string(100'000, '\0')}}), TZipLimits{1 << 30, 10, 1000});
    EXPECT_EQ(ReadError(archive, QStringLiteral("zeros")), QStringLiteral("zeros decompresses to more than 10 times its compressed size"));
}

TEST_F(ExcelZipArchiveTest, SmallEntriesAreNeverSuspicious)
{
    TZipArchive archive(Zip({{"zeros", std::string(100'000, '\0')}}), TZipLimits{1 << 30, 10, 200'000});
    EXPECT_EQ(archive.Read(QStringLiteral("zeros")).size(), 100'000u);
}

// The archive claims the entry decompresses to 100 bytes; the limits hold against the bytes
// that really come out.
TEST_F(ExcelZipArchiveTest, SizesClaimedByTheArchiveAreNotTrusted)
{
    QByteArray zip = Zip({{"zeros", std::string(std::size_t{16} << 20, '\0')}});
    const auto claimSize = [&zip](const char* signature, qsizetype sizeOffset) {
        const qsizetype header = zip.indexOf(QByteArray(signature, 4));
        ASSERT_GE(header, 0);
        qToLittleEndian<quint32>(100, zip.data() + header + sizeOffset);
    };
    claimSize("PK\x03\x04", 22); // local header
    claimSize("PK\x01\x02", 24); // central directory
    TZipArchive archive(zip, TZipLimits{1 << 30, 200, 1 << 20});
    const QString error = ReadError(archive, QStringLiteral("zeros"));
    EXPECT_TRUE(error == QStringLiteral("zeros decompresses to more than 200 times its compressed size") || error.startsWith(QStringLiteral("zeros is damaged")))
        << error.toStdString();
}

// Whatever size the archive claims, the content is read whole (or found damaged by libzip).
TEST_F(ExcelZipArchiveTest, ContentIsReadWhateverSizeIsClaimed)
{
    for (const quint32 claimed : {quint32{100}, quint32{100'000'000}}) {
        QByteArray zip = Zip({{"text", std::string(5000, 'x')}});
        for (const auto& [signature, sizeOffset] : {std::pair{"PK\x03\x04", 22}, std::pair{"PK\x01\x02", 24}})
            qToLittleEndian<quint32>(claimed, zip.data() + zip.indexOf(QByteArray(signature, 4)) + sizeOffset);
        TZipArchive archive(zip);
        try {
            EXPECT_EQ(archive.Read(QStringLiteral("text")), std::vector<char>(5000, 'x')) << claimed;
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("text is damaged"))) << e.what();
        }
    }
}

TEST_F(ExcelZipArchiveTest, DataThatIsNoZip)
{
    EXPECT_THROW(TZipArchive(QByteArray("PK\x03\x04 but nothing more")), Exception);
}

} // namespace
