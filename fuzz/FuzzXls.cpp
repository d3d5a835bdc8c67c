// The .xls reader over arbitrary bytes, from the compound file and its BIFF records to the
// import of the definitions (see WorkbookChecks.h).
#include "fuzz/FuzzFiles.h"
#include "fuzz/WorkbookChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QString path = FuzzFilePath(QStringLiteral("fuzz.xls"));
    WriteFuzzFile(path, QByteArrayView(data, static_cast<qsizetype>(size)));
    CheckWorkbookFile(path);
    return 0;
}
