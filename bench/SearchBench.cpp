// The search and the word list on a database of 40,000 definitions.

#include "bench/SyntheticDatabase.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Definitions = 40'000;

TOBISData& Database()
{
    static const std::unique_ptr<TOBISData> database = MakeSyntheticDatabase(Definitions);
    return *database;
}

void RunSearch(benchmark::State& state, const QStringList& plus, const TOBISCodeFilter& filter)
{
    TOBISData& database = Database();
    TOBISCode code{};
    code[TColumn::C] = 1;
    qsizetype lines = 0;
    for (auto _ : state) {
        const QStringList result = database.GetMatchingLines(plus, {}, code, filter);
        lines = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

void SearchWithoutFilterOrWords(benchmark::State& state)
{
    RunSearch(state, {}, {});
}

void SearchWithC(benchmark::State& state)
{
    TOBISCodeFilter filter{};
    filter[TColumn::C] = true;
    RunSearch(state, {}, filter);
}

void SearchWithTwoWordsAndAPhrase(benchmark::State& state)
{
    RunSearch(state, {QStringLiteral("active"), QStringLiteral("Rate"), QStringLiteral("\"time integral\"")}, {});
}

void BuildWordList(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto database = MakeSyntheticDatabase(Definitions);
        state.ResumeTiming();
        benchmark::DoNotOptimize(database->AllWords());
        state.PauseTiming();
        database.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(SearchWithoutFilterOrWords)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchWithC)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchWithTwoWordsAndAPhrase)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildWordList)->Unit(benchmark::kMillisecond);
