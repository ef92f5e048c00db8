// A step change of a 1024 x 1024 time series with two data channels, part by
// part as the viewer does it: reading the step's data file in place, the
// magnitude, the data textures (velocity and both channels, on llvmpipe in
// the private Xvfb the test support starts) and the evenly spaced placement.
// Not part of ctest; run build/bench/data_timestep_bench.

#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "render/ShaderProgram.h"
#include "streamlines/StreamlineSet.h"
#include "support/ConsoleCapture.h"
#include "support/GlWindow.h"
#include "support/TempDir.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

double millisecondsOf(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_StepChange1024x1024(benchmark::State& state) {
    if (!openGlWindow("time steps", 784, 700) || chdir(QM_BINARY_DIR) != 0) return state.SkipWithError("no GL window");
    TempDir dir;
    const float pi = 3.14159265f;
    const std::string grid =
        DatasetWriter(DatasetWriter::evenlySpaced(0, 2, 1024), DatasetWriter::evenlySpaced(0, 1, 1024))
            .dataChannels(2)
            .timeSteps(2)
            .records([pi](const DatasetWriter::Node& n, float* r) {
                const float f = n.x + 0.1f * static_cast<float>(n.step) * std::sin(pi * n.x);
                r[0] = -pi * std::sin(pi * f) * std::cos(pi * n.y);
                r[1] = pi * std::cos(pi * f) * std::sin(pi * n.y);
                r[3] = f * n.y;
                r[4] = static_cast<float>(n.step) + n.x;
            })
            .write(dir.file("series"));
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    ShaderProgram shader;
    shader.load();
    FlowData data(&shader);
    if (!data.load(grid, false)) return state.SkipWithError("load failed");
    data.setTextureResolution(538);
    const int xSlot = data.createCoordinateChannel(0);
    const int ySlot = data.createCoordinateChannel(1);
    const int magnitude = data.createMagnitudeChannel(0, 1, 2);
    StreamlineSet lines(&data, xSlot, ySlot, 0.005f, 0.4f, 0.2f);
    double load = 0, derived = 0, textures = 0, placement = 0;
    int step = 0;
    for (auto _ : state) {
        step = 1 - step;
        load += millisecondsOf([&] { data.loadTimeStep(step); });
        derived += millisecondsOf([&] { data.updateMagnitudeChannel(magnitude, 0, 1, 2); });
        textures += millisecondsOf([&] {
            data.createVelocityTexture(magnitude);
            data.createDataTexture1();
            data.createDataTexture2();
            glFinish();
        });
        placement += millisecondsOf([&] { lines.computeEvenlySpaced(); });
        quiet.clear();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["load_ms"] = load / n;
    state.counters["magnitude_ms"] = derived / n;
    state.counters["textures_ms"] = textures / n;
    state.counters["placement_ms"] = placement / n;
    state.counters["lines"] = static_cast<double>(lines.streamlines().size());
}
BENCHMARK(BM_StepChange1024x1024)->Iterations(6)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
