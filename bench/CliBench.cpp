// kestrune-cli as a user runs it, process start included: describe of one code and annotate of
// the 40-line P1 telegram of examples/ on the built-in database. The "peak_MiB" counter is the largest resident
// size a run of the process reached.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs the program once with its standard input from inputFile and its output discarded;
// returns the peak resident size in KiB, or -1 when it could not run or failed.
long RunOnce(std::vector<std::string> arguments, const char* inputFile)
{
    arguments.insert(arguments.begin(), KESTRUNE_CLI);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inputFile, O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss; // KiB on Linux
}

void RunCli(benchmark::State& state, const std::vector<std::string>& arguments, const char* inputFile = "/dev/null")
{
    long peak = 0;
    for (auto _ : state) {
        const long run = RunOnce(arguments, inputFile);
        if (run < 0) {
            state.SkipWithError("kestrune-cli did not run or failed");
            return;
        }
        peak = std::max(peak, run);
    }
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}

void Version(benchmark::State& state)
{
    RunCli(state, {"--version"});
}

void DescribeOneCode(benchmark::State& state)
{
    RunCli(state, {"describe", "1-0:1.8.1"});
}

void AnnotateTelegram(benchmark::State& state)
{
    RunCli(state, {"annotate"}, KESTRUNE_TELEGRAM);
}

} // namespace

BENCHMARK(Version)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DescribeOneCode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnnotateTelegram)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
