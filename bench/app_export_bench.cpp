// A picture four times the window's size: the real viewer in the private
// Xvfb the test support starts, on a 1024 x 1024 double gyre with about a
// thousand evenly spaced lines, saving a screenshot at scale 1 and at scale
// 4 (smoothed). The difference of the two runs' times is the export's; the
// largest resident size of the viewer is the larger run's. Not part of
// ctest; run build/bench/app_export_bench.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

// About a thousand lines in this box (1117, as quillmere-trace counts them).
const char* const kDsep = "0.0033";
const char* const kDtest = "0.00165";

TempDir& folder() {
    static TempDir dir;
    static const bool ready = [] {
        prepareViewerDir(dir.path());
        generateDataset(
            dir.path(), "gyre",
            {"--field", "gyre", "--nx", "1024", "--ny", "1024", "--x0", "0", "--x1", "2", "--y0", "0", "--y1", "1"});
        return true;
    }();
    (void)ready;
    return dir;
}

void BM_Export(benchmark::State& state) {
    if (!Xvfb::shared().ok()) return state.SkipWithError("no Xvfb");
    const std::string scale = std::to_string(state.range(0));
    double seconds = 0;
    RunResult result{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        result = run(
            programPath("quillmere"),
            {"-datafile",    "gyre.gri", "-showStreamlines", "1",   "-fitToData",    "1",         "-dsep",     kDsep,
             "-dtest",       kDtest,     "-lineColor",       "1",   "-legendValues", "1",         "-showAxes", "1",
             "-smoothLines", "1",        "-screenshotScale", scale, "-screenshot",   "figure.png"},
            folder().path(), 600.0);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (result.code != 0) return state.SkipWithError(result.err.c_str());
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const RunResult traced =
        run(programPath("quillmere-trace"),
            {"gyre.gri", "--fit", "--dsep", kDsep, "--dtest", kDtest, "--stats", "-o", "lines.csv"}, folder().path());
    const auto placed = traced.out.find("Lines: ");
    state.counters["lines"] = placed == std::string::npos ? 0 : std::atof(traced.out.c_str() + placed + 7);
    state.counters["run_s"] = seconds;
    state.counters["max_rss_MB"] = usage.ru_maxrss / 1024.0;
}
// Scale 1 first: the children's largest resident size only grows.
BENCHMARK(BM_Export)->Arg(1)->Arg(4)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
