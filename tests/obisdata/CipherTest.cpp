#include "obisdata/Cipher.h"
#include "obisdata/Model.h"
#include "support/Exception.h"
#include "TestDatabase.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray Ciphered(QByteArray plainBytes)
{
    QBuffer plain(&plainBytes);
    plain.open(QIODevice::ReadWrite);
    plain.seek(plain.size());
    QBuffer ciphered;
    ciphered.open(QIODevice::WriteOnly);
    TOBISData::CipherStream(plain, ciphered);
    return ciphered.data();
}

QByteArray Block(quint64 value)
{
    QByteArray bytes(8, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray SavedCiphered(TOBISData& database)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    database.SaveToCipheredStream(buffer);
    return buffer.data();
}

TEST(CipheredContainer, AnEmptyDatabaseIsTwoBlocks)
{
    TOBISData database;
    QByteArray container = SavedCiphered(database);
    ASSERT_EQ(container.size(), 16);

    QBuffer ciphered(&container);
    ciphered.open(QIODevice::ReadOnly);
    QBuffer plain;
    plain.open(QIODevice::ReadWrite);
    TOBISData::DecipherStream(plain, ciphered);
    EXPECT_EQ(plain.data(), QByteArray(16, '\0'));
}

TEST(CipheredContainer, BlocksChainUnderTheKey)
{
    EXPECT_EQ(Ciphered(QByteArray(24, '\0')), Block(CipherKey) + Block(0) + Block(CipherKey));
    EXPECT_EQ(Ciphered(Block(0x0102030405060708)).left(8), Block(0x0102030405060708 ^ CipherKey));
    EXPECT_EQ(Ciphered(QByteArray(16, '\x11')).size(), 16);
    EXPECT_EQ(Ciphered(QByteArray(17, '\x11')).size(), 24);
}

// A reader deciphers the parts it reads, from any offset and of any length: each part is
// the same bytes as in the whole container deciphered at once.
TEST(CipheredContainer, AnyPartDeciphersOnItsOwn)
{
    QByteArray plainBytes(64, Qt::Uninitialized);
    for (int i = 0; i < plainBytes.size(); ++i)
        plainBytes[i] = static_cast<char>(i * 37 + 11);
    const QByteArray container = Ciphered(plainBytes);
    for (qint64 offset = 0; offset < container.size(); ++offset) {
        for (qint64 count = 0; offset + count <= container.size(); ++count) {
            QByteArray part(count, '\0');
            DecipherBytes(container.constData(), offset, count, part.data());
            ASSERT_EQ(part, plainBytes.mid(offset, count)) << "offset " << offset << ", count " << count;
        }
    }
}

TEST(CipheredContainer, SavingLoadingAndSavingAgainGivesTheSameBytes)
{
    TOBISData database;
    AddLines(database, 1, {"N1C,,,1,,,,,Active power+", ",1,0,1,8,0,255,,$1,,,,3,,6"});
    database.ExpandTables();
    QByteArray first = SavedCiphered(database);
    EXPECT_EQ(first.size() % 8, 0);

    QBuffer buffer(&first);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(first.size() / 2);
    const auto read = TOBISData::CreateFromCipheredStream(buffer);
    EXPECT_EQ(SavedCiphered(*read), first);
    EXPECT_EQ(read->GetOBISText(Code("1.0.1.8.0.255")), QStringLiteral("Active power+"));
}

TEST(CipheredContainer, RejectsASizeThatIsNotWholeBlocks)
{
    for (const int size : {0, 7, 17}) {
        QByteArray bytes(size, '\0');
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        try {
            TOBISData::CreateFromCipheredStream(buffer);
            ADD_FAILURE() << "accepted " << size << " bytes";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(),
                QStringLiteral("Damaged database container: its size of %1 bytes is not a whole number of 8-byte blocks")
                    .arg(size));
        }
    }
}

TEST(CipheredContainer, AContainerUnderAnotherKeyIsADamagedStream)
{
    QByteArray bytes = QByteArray::fromHex("00000001ffffffff");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_THROW(TOBISData::CreateFromCipheredStream(buffer), Exception);
}

QByteArray FileContent(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(DumpStream, WritesSixteenBytesPerLine)
{
    QTemporaryDir folder;
    QByteArray bytes = QByteArray::fromHex("000aff") + QByteArray(17, '\x41');
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TOBISData::DumpStream(buffer, folder.filePath(QStringLiteral("dump.txt")));
    EXPECT_EQ(FileContent(folder.filePath(QStringLiteral("dump.txt"))),
        QByteArray("00 0A FF 41 41 41 41 41 41 41 41 41 41 41 41 41 \r\n41 41 41 41 \r\n"));
}

TEST(DebugCiphering, DumpsThePlainCipheredAndDecipheredStreams)
{
    QTemporaryDir folder;
    TOBISData database;
    TOBISData::DebugCiphering(database, folder.path());
    const QByteArray zeros = "00 00 00 00 00 00 00 00 00 00 00 00 00 00 ";
    EXPECT_EQ(FileContent(folder.filePath(QStringLiteral("p.txt"))), zeros + "\r\n");
    EXPECT_EQ(FileContent(folder.filePath(QStringLiteral("d.txt"))), zeros + "00 00 \r\n");
    EXPECT_EQ(FileContent(folder.filePath(QStringLiteral("c.txt"))).size(), 16 * 3 + 2);
}

TEST(DebugCiphering, FailsWhenTheFolderIsMissing)
{
    TOBISData database;
    EXPECT_THROW(TOBISData::DebugCiphering(database, QStringLiteral("/nonexistent/kestrune")), Exception);
}

} // namespace
