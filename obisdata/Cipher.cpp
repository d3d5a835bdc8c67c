#include "obisdata/Cipher.h"

#include "obisdata/Model.h"
#include "obisdata/Stream.h"
#include "support/Exception.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>


void DecipherBytes(const char* container, qint64 offset, qint64 count, char* target)
{
    const qint64 end = offset + count;
    const auto decipherByte = [&](qint64 at) {
        const char previous = at < CipherBlockSize ? 0 : container[at - CipherBlockSize];
        const auto keyByte = static_cast<char>(CipherKey >> (8 * (at % CipherBlockSize))); // little-endian
        *target++ = static_cast<char>(container[at] ^ previous ^ keyByte);
    };
    qint64 at = offset;
    for (; at < end && (at < CipherBlockSize || at % CipherBlockSize != 0); ++at)
        decipherByte(at);
    // Whole blocks at once: the plain block is the ciphered one, the one before it and the key.
    for (; at + CipherBlockSize <= end; at += CipherBlockSize, target += CipherBlockSize) {
        const quint64 plain = qFromLittleEndian<quint64>(container + at)
            ^ qFromLittleEndian<quint64>(container + at - CipherBlockSize) ^ CipherKey;
        qToLittleEndian(plain, target);
    }
    for (; at < end; ++at)
        decipherByte(at);
}

namespace {

constexpr qint64 ChunkSize = 1 << 16; // whole blocks

// Enciphers count bytes (whole blocks) of source into target, chaining from previous.
quint64 CipherBlocks(const char* source, char* target, qint64 count, quint64 previous)
{
    for (qint64 offset = 0; offset < count; offset += CipherBlockSize) {
        const quint64 plain = qFromLittleEndian<quint64>(source + offset);
        previous = previous ^ plain ^ CipherKey;
        qToLittleEndian(previous, target + offset);
    }
    return previous;
}

void WriteAll(QIODevice& device, const char* data, qint64 count)
{
    if (device.write(data, count) != count)
        throw Exception(QStringLiteral("Cannot write the database: %1").arg(device.errorString()));
}

// Checks that S holds whole blocks and leaves it at its first byte.
void CheckContainer(QIODevice& S)
{
    if (!S.seek(0))
        throw Exception(QStringLiteral("Cannot read the database container: %1").arg(S.errorString()));
    const qint64 size = S.size();
    if (size == 0 || size % CipherBlockSize != 0)
        throw Exception(QStringLiteral("Damaged database container: its size of %1 bytes is not a whole number of %2-byte blocks")
                            .arg(size)
                            .arg(CipherBlockSize));
}

// The deciphered bytes of the whole container in S, read from its first byte.
QByteArray DecipheredContainer(QIODevice& S)
{
    CheckContainer(S);
    const TDeviceBytes ciphered(S);
    QByteArray plain(ciphered.Size(), Qt::Uninitialized);
    DecipherBytes(ciphered.Data(), 0, ciphered.Size(), plain.data());
    return plain;
}

} // namespace

void TOBISData::CipherStream(QIODevice& Plain, QIODevice& Ciphered)
{
    static constexpr char Zero = 0;
    while (Plain.size() % CipherBlockSize != 0)
        WriteAll(Plain, &Zero, 1);
    if (!Plain.seek(0))
        throw Exception(QStringLiteral("Cannot read the database stream: %1").arg(Plain.errorString()));

    const TDeviceBytes plain(Plain);
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    quint64 previous = 0;
    for (qint64 offset = 0; offset < plain.Size(); offset += ChunkSize) {
        const qint64 count = std::min(ChunkSize, plain.Size() - offset);
        previous = CipherBlocks(plain.Data() + offset, chunk.data(), count, previous);
        WriteAll(Ciphered, chunk.constData(), count);
    }
    Plain.seek(plain.Size());
}

void TOBISData::DecipherStream(QIODevice& Plain, QIODevice& Ciphered)
{
    const QByteArray plain = DecipheredContainer(Ciphered);
    WriteAll(Plain, plain.constData(), plain.size());
    Plain.seek(0);
    CreateFromStream(Plain);
}

void TOBISData::SaveToCipheredStream(QIODevice& S)
{
    QBuffer plain;
    plain.open(QIODevice::ReadWrite);
    SaveToStream(plain);
    CipherStream(plain, S);
}

std::unique_ptr<TOBISData> TOBISData::CreateFromCipheredStream(QIODevice& S, const TCodeSelection* Selection)
{
    CheckContainer(S);
    TStreamReader reader(S, TStreamReader::TBytes::Ciphered);
    auto database = std::make_unique<TOBISData>();
    database->ReadFromStream(reader, Selection);
    return database;
}

void TOBISData::DumpStream(QIODevice& S, const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Exception(QStringLiteral("Cannot create \"%1\": %2").arg(FileName, file.errorString()));
    S.seek(0);
    const TDeviceBytes bytes(S);
    static constexpr char HexDigits[] = "0123456789ABCDEF";
    QByteArray dump;
    for (qint64 i = 0; i < bytes.Size(); ++i) {
        const auto byte = static_cast<quint8>(bytes.Data()[i]);
        dump.append(HexDigits[byte >> 4]);
        dump.append(HexDigits[byte & 15]);
        dump.append(' ');
        if (i % 16 == 15)
            dump.append("\r\n");
    }
    if (bytes.Size() % 16 != 0)
        dump.append("\r\n");
    if (file.write(dump) != dump.size())
        throw Exception(QStringLiteral("Cannot write \"%1\": %2").arg(FileName, file.errorString()));
}

void TOBISData::DebugCiphering(TOBISData& OBISData, const QString& Folder)
{
    const QDir folder(Folder);
    QBuffer plain;
    QBuffer ciphered;
    QBuffer deciphered;
    for (QBuffer* buffer : {&plain, &ciphered, &deciphered})
        buffer->open(QIODevice::ReadWrite);

    OBISData.SaveToStream(plain);
    DumpStream(plain, folder.filePath(QStringLiteral("p.txt")));
    plain.seek(plain.size());
    CipherStream(plain, ciphered);
    DumpStream(ciphered, folder.filePath(QStringLiteral("c.txt")));
    ciphered.seek(0);
    DecipherStream(deciphered, ciphered);
    DumpStream(deciphered, folder.filePath(QStringLiteral("d.txt")));
}
