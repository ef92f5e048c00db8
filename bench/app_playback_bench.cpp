// Frames per second while the viewer plays a time series: the real viewer in
// the private Xvfb the test support starts, on a 1024 x 1024 moving double
// gyre of 8 steps with two data channels, asked for 60 frames/s; once with
// the field only and once with streamlines. The viewer prints the rate when
// it stops at the last step. Not part of ctest; run
// build/bench/app_playback_bench.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

TempDir& folder() {
    static TempDir dir;
    static const bool ready = [] {
        prepareViewerDir(dir.path());
        generateDataset(dir.path(), "series",
                        {"--field", "gyre", "--nx", "1024", "--ny", "1024", "--x0", "0", "--x1", "2", "--y0", "0",
                         "--y1", "1", "--steps", "8", "--channels", "2"});
        return true;
    }();
    (void)ready;
    return dir;
}

void BM_Playing(benchmark::State& state, bool streamlines) {
    if (!Xvfb::shared().ok()) return state.SkipWithError("no Xvfb");
    const std::string dir = folder().path();
    double fps = 0;
    for (auto _ : state) {
        Process viewer(programPath("quillmere"),
                       {"-datafile", "series.gri", "-showStreamlines", streamlines ? "1" : "0", "-frameRate", "60",
                        "-playing", "1"},
                       dir);
        const std::string key = "frames/s)";
        const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        std::string out;
        while ((out = viewer.out()).find(key) == std::string::npos && viewer.running() &&
               std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        viewer.kill();
        const auto at = out.rfind("- Played ");
        if (at == std::string::npos) return state.SkipWithError("the viewer did not report playing");
        fps = std::atof(out.c_str() + out.find('(', at) + 1);
    }
    state.counters["frames_per_s"] = fps;
}
BENCHMARK_CAPTURE(BM_Playing, field, false)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Playing, streamlines, true)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
