// The CSV loader over arbitrary file bytes: the input holds the files 0.csv and 1.csv one
// after the other, separated by a form feed (a missing part is a missing file; more parts
// are left out), and the loader reads them from a folder as it reads any folder of
// definition files. Each media list may grow to 200,000 definitions in the table expansion,
// which takes seconds under the sanitizers, and two of them are as much as one run can take.
#include "fuzz/DatabaseChecks.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "support/Exception.h"

#include <QDir>
#include <QList>

namespace {

constexpr int MediaFiles = 2;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArrayView input(data, static_cast<qsizetype>(size));
    const QString folder = FuzzFilePath(QStringLiteral("csv/"));
    QList<QByteArrayView> parts;
    for (qsizetype start = 0; start <= input.size() && parts.size() < MediaFiles;) {
        qsizetype end = input.indexOf('\f', start);
        if (end < 0)
            end = input.size();
        parts.append(input.sliced(start, end - start));
        start = end + 1;
    }
    QDir().mkpath(folder);
    for (int media = 0; media < MediaFiles; ++media) {
        const QString path = folder + QString::number(media) + QStringLiteral(".csv");
        if (media < parts.size())
            WriteFuzzFile(path, parts[media]);
        else
            RemoveFuzzFile(path);
    }

    TOBISData database;
    bool loaded = true;
    try {
        database.LoadFromCSVFiles([](const QString&) {}, folder);
    } catch (const Exception&) {
        loaded = false;
    }
    CheckDefinitions(database, loaded);
    CheckDatabase(database);
    return 0;
}
