// Importing an object-definition workbook of 5,000 definition rows x 15 columns over the
// seven media worksheets, end to end as the window does it, as .xlsx and as .xls. Reports
// the peak memory the import adds, against the unzipped size of the .xlsx.

#include "data/tools/SampleWorkbook.h"
#include "frontend/WorkbookLoad.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <zip.h>

#include <array>

#include <malloc.h>

namespace {

constexpr int DefinitionRows = 5'000;

struct TMediaSheet
{
    const char* Name;
    const char* FieldA;
};

const std::array<TMediaSheet, 7> MediaSheets{{{"Abstract", "0"}, {"Electricity (AC)", "1"}, {"Electricity (DC)", "2"},
    {"HCA", "4"}, {"Thermal", "5-6"}, {"Gas", "7"}, {"Water", "8-9"}}};

// One definition row: kind, A..F, five texts, IC, AltIC, Types.
QString DefinitionRow(const char* fieldA, int index)
{
    const QStringList fields{QString(), QString::fromLatin1(fieldA), QStringLiteral("CH"), QString::number(index % 100),
        QString::number(index / 100 % 64), index % 2 == 0 ? QStringLiteral("RATE") : QStringLiteral("0"),
        index % 3 == 0 ? QStringLiteral("HIST") : QStringLiteral("255"), QStringLiteral("Channel $B"),
        QStringLiteral("Quantity %1 of the meter").arg(index), QStringLiteral("Processing %1").arg(index % 64),
        QStringLiteral("Rate $E"), index % 3 == 0 ? QStringLiteral("Billing period $F") : QString(),
        QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("6")};
    return fields.join(u',');
}

// The sheet files of the workbook: a title sheet and the media sheets, rows spread evenly.
std::vector<TSheetFile> WriteSheetFiles(const QTemporaryDir& directory)
{
    std::vector<TSheetFile> files;
    const auto write = [&](const QString& name, const QStringList& lines) {
        const QString fileName = directory.filePath(QStringLiteral("%1.csv").arg(files.size()));
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write a sheet file");
        file.write(lines.join(u'\n').toUtf8());
        files.push_back({name, fileName});
    };
    QStringList title;
    for (int row = 1; row <= 23; ++row)
        title.append(QStringLiteral("Row %1,Benchmark workbook").arg(row));
    write(QStringLiteral("Title"), title);
    for (std::size_t sheet = 0; sheet < MediaSheets.size(); ++sheet) {
        QStringList lines{QStringLiteral("com,A,B,C,D,E,F,Text B,Text C,Text D,Text E,Text F,IC,AltIC,Types"),
            QStringLiteral("def,CH = 0-64"), QStringLiteral("def,RATE = 1-63"), QStringLiteral("def,HIST = 0-99")};
        for (int index = static_cast<int>(sheet); index < DefinitionRows; index += static_cast<int>(MediaSheets.size()))
            lines.append(DefinitionRow(MediaSheets[sheet].FieldA, index));
        write(QString::fromLatin1(MediaSheets[sheet].Name), lines);
    }
    return files;
}

qint64 UnzippedSize(const QString& fileName)
{
    int error = 0;
    zip_t* archive = zip_open(fileName.toUtf8().constData(), ZIP_RDONLY, &error);
    if (!archive)
        return 0;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0)
            total += static_cast<qint64>(stat.size);
    }
    zip_close(archive);
    return total;
}

struct TBenchWorkbooks
{
    QTemporaryDir Directory;
    QString Xlsx;
    QString Xls; // empty when python3-xlwt is missing
    qint64 UnzippedXlsxBytes = 0;
};

const TBenchWorkbooks& Workbooks()
{
    static const auto workbooks = [] {
        auto result = std::make_unique<TBenchWorkbooks>();
        const std::vector<TSheetFile> files = WriteSheetFiles(result->Directory);
        result->Xlsx = result->Directory.filePath(QStringLiteral("bench.xlsx"));
        WriteSampleWorkbook(result->Xlsx, files);
        result->UnzippedXlsxBytes = UnzippedSize(result->Xlsx);

        QStringList arguments{QStringLiteral(KESTRUNE_SHEETS_TO_XLS), result->Directory.filePath(QStringLiteral("bench.xls"))};
        for (const TSheetFile& file : files)
            arguments << file.Name << file.FileName;
        if (QProcess::execute(QStringLiteral("/usr/bin/python3"), arguments) == 0)
            result->Xls = arguments[1];
        return result;
    }();
    return *workbooks;
}

// Resident memory in kB from /proc/self/status ("VmRSS" or "VmHWM").
qint64 StatusKiloBytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(qstrlen(field)) + 1).trimmed().split(' ').front().toLongLong();
    }
    return 0;
}

// How far one import raises the peak resident memory, in bytes.
qint64 PeakGrowthOfOneImport(const QString& fileName)
{
    malloc_trim(0); // hands memory freed earlier back, so that the import cannot hide in it
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5"); // resets the peak to the current resident size
    clearRefs.close();
    const qint64 before = StatusKiloBytes("VmRSS:");
    {
        TOBISData database;
        LoadExcelFile(database, fileName, [](const QString&) {});
    }
    return (StatusKiloBytes("VmHWM:") - before) * 1024;
}

void ImportWorkbook(benchmark::State& state, const QString& fileName)
{
    if (fileName.isEmpty()) {
        state.SkipWithError("no .xls writer (install python3-xlwt)");
        return;
    }
    const qint64 peakGrowth = PeakGrowthOfOneImport(fileName);
    std::size_t definitions = 0;
    for (auto _ : state) {
        TOBISData database;
        LoadExcelFile(database, fileName, [](const QString&) {});
        definitions = 0;
        for (const auto& media : database.AllMediaData)
            definitions += media ? media->Items.size() : 0;
    }
    state.counters["definitions"] = static_cast<double>(definitions);
    state.counters["peak_MB"] = static_cast<double>(peakGrowth) / 1e6;
    state.counters["peak_per_unzipped"] = static_cast<double>(peakGrowth) / static_cast<double>(Workbooks().UnzippedXlsxBytes);
}

void ImportXlsxWorkbook(benchmark::State& state)
{
    ImportWorkbook(state, Workbooks().Xlsx);
    state.counters["unzipped_MB"] = static_cast<double>(Workbooks().UnzippedXlsxBytes) / 1e6;
}

void ImportXlsWorkbook(benchmark::State& state)
{
    ImportWorkbook(state, Workbooks().Xls);
}

} // namespace

BENCHMARK(ImportXlsxWorkbook)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportXlsWorkbook)->Unit(benchmark::kMillisecond);
