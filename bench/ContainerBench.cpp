// Deciphering and loading a container as large as the built-in resource of the original
// data set (15,649,856 bytes), read in place from memory.

#include "bench/SyntheticDatabase.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

namespace {

constexpr qint64 ResourceSize = 15'649'856;

// A container of at least ResourceSize bytes.
const QByteArray& Container()
{
    static const QByteArray container = [] {
        int definitions = 40'000;
        for (;;) {
            auto database = MakeSyntheticDatabase(definitions);
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            database->SaveToCipheredStream(buffer);
            if (buffer.size() >= ResourceSize)
                return buffer.data();
            const double scale = static_cast<double>(ResourceSize) / static_cast<double>(buffer.size());
            definitions = static_cast<int>(definitions * scale) + 1000;
        }
    }();
    return container;
}

void LoadCipheredContainer(benchmark::State& state)
{
    QByteArray inPlace = QByteArray::fromRawData(Container().constData(), Container().size());
    for (auto _ : state) {
        QBuffer resource(&inPlace);
        resource.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(TOBISData::CreateFromCipheredStream(resource));
    }
    state.counters["bytes"] = static_cast<double>(Container().size());
}

} // namespace

BENCHMARK(LoadCipheredContainer)->Unit(benchmark::kMillisecond);
