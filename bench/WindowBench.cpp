// The window's search from the click on "Search" to the result view filled and painted, with
// no filter, on databases of 33,625 and 130,101 definitions; Qt's offscreen platform.

#include "bench/SyntheticDatabase.h"
#include "support/AppPaths.h"
#include "ui/FormMain.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

namespace {

TOBISData& Database(int definitions)
{
    static std::map<int, std::unique_ptr<TOBISData>> databases;
    auto& database = databases[definitions];
    if (!database)
        database = MakeSyntheticDatabase(definitions);
    return *database;
}

// A window shown on the database, as after start-up.
std::unique_ptr<TFormMain> ShownWindow(TOBISData& database)
{
    auto window = std::make_unique<TFormMain>(database);
    window->show();
    QCoreApplication::processEvents();
    return window;
}

// The first search of a freshly shown window.
void FirstSearchClick(benchmark::State& state)
{
    TOBISData& database = Database(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TFormMain> window = ShownWindow(database);
        state.ResumeTiming();
        window->BTNSearch->click();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

// A search repeated in the same window.
void RepeatedSearchClick(benchmark::State& state)
{
    const std::unique_ptr<TFormMain> window = ShownWindow(Database(static_cast<int>(state.range(0))));
    window->BTNSearch->click();
    for (auto _ : state)
        window->BTNSearch->click();
}

BENCHMARK(FirstSearchClick)->Arg(33'625)->Arg(130'101)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RepeatedSearchClick)->Arg(33'625)->Arg(130'101)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QApplication application(argc, argv);
    const TAppPaths paths(QStringLiteral("/opt/kestrune/Kestrune"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
