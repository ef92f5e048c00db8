// Whole processes, as a script runs them: program start (--version), the
// export tool on the double gyre 512 x 256 on [0,2] x [0,1] (RK2, unit
// speed, dt = dsep / 10, CSV) at dsep 0.02 and 0.002, and the viewer saving
// a screenshot of a 16 x 16 and of a 2048 x 2048 dataset with two data
// channels, in the private Xvfb the test support starts. Each repetition is
// one fresh process, started with posix_spawn and reaped with wait4 (its
// output goes to /dev/null): the medians are the figures, max_rss_MB the
// process's largest resident size. Not part of ctest; run
// build/bench/app_wholerun_bench.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

TempDir& folder() {
    static TempDir dir;
    static const bool ready = [] {
        prepareViewerDir(dir.path());
        generateDataset(
            dir.path(), "gyre",
            {"--field", "gyre", "--nx", "512", "--ny", "256", "--x0", "0", "--x1", "2", "--y0", "0", "--y1", "1"});
        generateDataset(dir.path(), "small", {"--field", "gyre", "--nx", "16", "--ny", "16"});
        generateDataset(dir.path(), "big",
                        {"--field", "gyre", "--nx", "2048", "--ny", "2048", "--x0", "0", "--x1", "2", "--y0", "0",
                         "--y1", "1", "--channels", "2"});
        return true;
    }();
    (void)ready;
    return dir;
}

// Runs the program once per iteration and reports its wall time.
void runEach(benchmark::State& state, const std::string& program, const std::vector<std::string>& args) {
    const std::string path = programPath(program);
    std::vector<char*> argv = {const_cast<char*>(path.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, folder().path().c_str());
    long largest = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = -1;
        int status = -1;
        rusage usage{};
        if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ) != 0 ||
            wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError((program + " failed").c_str());
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        largest = std::max(largest, usage.ru_maxrss);
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["max_rss_MB"] = largest / 1024.0;
}

void BM_Start(benchmark::State& state, const char* program) { runEach(state, program, {"--version"}); }

// state.range(0): dsep in thousandths.
void BM_Trace(benchmark::State& state) {
    const double dsep = state.range(0) / 1000.0;
    runEach(state, "quillmere-trace",
            {"gyre.gri", "--rk2", "--unit-speed", "--dsep", std::to_string(dsep), "--dtest", std::to_string(dsep / 2),
             "--dt", std::to_string(dsep / 10), "-o", "out.csv"});
}

void BM_Screenshot(benchmark::State& state, const char* dataset) {
    if (!Xvfb::shared().ok()) return state.SkipWithError("no Xvfb");
    runEach(state, "quillmere", {"-datafile", dataset, "-screenshot", "shot.png"});
}

#define WHOLE_RUN(...)                  \
    __VA_ARGS__->UseManualTime()        \
        ->Unit(benchmark::kMillisecond) \
        ->Iterations(1)                 \
        ->Repetitions(11)               \
        ->ReportAggregatesOnly(true)
WHOLE_RUN(BENCHMARK_CAPTURE(BM_Start, trace, "quillmere-trace"));
WHOLE_RUN(BENCHMARK_CAPTURE(BM_Start, viewer, "quillmere"));
WHOLE_RUN(BENCHMARK(BM_Trace)->Arg(20));
WHOLE_RUN(BENCHMARK_CAPTURE(BM_Screenshot, small, "small.gri"));
WHOLE_RUN(BENCHMARK(BM_Trace)->Arg(2));
WHOLE_RUN(BENCHMARK_CAPTURE(BM_Screenshot, big, "big.gri"));

}  // namespace

BENCHMARK_MAIN();
