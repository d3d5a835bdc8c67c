// The database stream reader over arbitrary bytes: it reads a database or raises "Damaged
// database stream", never reads outside the data, and a database it read saves to a stream
// that reads back and saves to the same bytes.
#include "fuzz/DatabaseChecks.h"
#include "fuzz/FuzzCheck.h"
#include "support/Exception.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    // A copy whose buffer holds exactly the input, so that a read past it is seen.
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    std::unique_ptr<TOBISData> database;
    try {
        database = TOBISData::CreateFromStream(device);
    } catch (const Exception& e) {
        FuzzRequire(e.Message().startsWith(QStringLiteral("Damaged database stream: ")), "a damaged stream is reported as such",
            e.Message());
        return 0;
    }
    FuzzRequire(device.pos() <= bytes.size(), "the reader stops within the data");
    CheckDatabase(*database);
    return 0;
}
