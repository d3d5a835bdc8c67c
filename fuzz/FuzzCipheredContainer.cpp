// The ciphered container reader over arbitrary bytes: it reads a database or raises an
// Exception; a database it read saves to a container that reads back and saves to the same
// bytes; and deciphering undoes ciphering for any content.
#include "fuzz/DatabaseChecks.h"
#include "fuzz/FuzzCheck.h"
#include "obisdata/Cipher.h"
#include "support/Exception.h"

#include <QBuffer>

namespace {

QByteArray SavedContainer(TOBISData& database)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    database.SaveToCipheredStream(buffer);
    return buffer.data();
}

std::unique_ptr<TOBISData> ReadContainer(QByteArray& bytes)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    return TOBISData::CreateFromCipheredStream(device);
}

void CheckCipherRoundTrip(const QByteArray& content)
{
    QByteArray plain = content;
    QBuffer plainDevice(&plain);
    plainDevice.open(QIODevice::ReadWrite);
    plainDevice.seek(plain.size());
    QBuffer ciphered;
    ciphered.open(QIODevice::ReadWrite);
    TOBISData::CipherStream(plainDevice, ciphered);
    FuzzRequire(ciphered.size() % CipherBlockSize == 0 && ciphered.size() - content.size() < CipherBlockSize
            && ciphered.size() >= content.size(),
        "ciphering pads to whole blocks");

    QBuffer deciphered;
    deciphered.open(QIODevice::ReadWrite);
    try {
        TOBISData::DecipherStream(deciphered, ciphered);
    } catch (const Exception&) {
        // The content is no database stream: the check after deciphering says so.
    }
    FuzzRequire(deciphered.data() == plain, "deciphering undoes ciphering");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CheckCipherRoundTrip(bytes);
    if (bytes.isEmpty())
        return 0;

    std::unique_ptr<TOBISData> database;
    try {
        database = ReadContainer(bytes);
    } catch (const Exception&) {
        return 0;
    }
    QByteArray saved = SavedContainer(*database);
    FuzzRequire(SavedContainer(*ReadContainer(saved)) == saved, "a database read from its container saves to the same bytes");
    CheckDatabase(*database);
    return 0;
}
