// Opening a 1024 x 1024 dataset with two data channels, step by step as the
// viewer's opener runs it: the load, the derived channels (node x, node y,
// magnitude), and the texel buffers of the velocity texture and the two data
// textures at the opener's resolution of 538. Aim: the velocity texels cost
// less than the load. The GL upload and the streamline placement need
// libraries this benchmark does not link; bench/render_frametime_bench.cpp
// times them.
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "data/TextureBuffers.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kSide = 1024;
const int kChannels = 2;
const int kOpenerResolution = 538;

std::vector<float> coordinates(double last) {
    std::vector<float> values;
    for (int i = 0; i < kSide; ++i) values.push_back(static_cast<float>(last * i / (kSide - 1)));
    return values;
}

// A double gyre on [0, 2] x [0, 1] with a vorticity-like and a pressure-like
// channel, written once per process; returns the grid file's path.
const std::string& dataset() {
    static const TempDir dir;
    static const std::string path = [] {
        const double pi = 3.14159265358979323846;
        return DatasetWriter(coordinates(2.0), coordinates(1.0))
            .dataChannels(kChannels)
            .records([pi](const DatasetWriter::Node& node, float* record) {
                const double x = 2.0 * node.i / (kSide - 1);
                const double y = 1.0 * node.j / (kSide - 1);
                const double u = -pi * std::sin(pi * x) * std::cos(pi * y);
                const double v = pi * std::cos(pi * x) * std::sin(pi * y);
                record[0] = static_cast<float>(u);
                record[1] = static_cast<float>(v);
                record[3] = static_cast<float>(std::sin(pi * x) * std::sin(pi * y));
                record[4] = static_cast<float>(-(u * u + v * v) / 2);
            })
            .write(dir.file("open"));
    }();
    return path;
}

// The channel and texture code reports every step on standard output: the
// steps below run with it captured.
struct Opened {
    std::unique_ptr<FlowData> data = std::make_unique<FlowData>(nullptr);
    int magnitude = -1;
};

// A loaded dataset with the opener's derived channels and resolution.
Opened open() {
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    Opened o;
    if (!o.data->load(dataset(), false)) std::abort();
    o.data->setTextureResolution(kOpenerResolution);
    o.data->createCoordinateChannel(0);
    o.data->createCoordinateChannel(1);
    o.magnitude = o.data->createMagnitudeChannel(0, 1, 2);
    return o;
}

void BM_Load(benchmark::State& state) {
    dataset();
    for (auto _ : state) {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        auto data = std::make_unique<FlowData>(nullptr);
        benchmark::DoNotOptimize(data->load(dataset(), false));
        state.PauseTiming();
        data.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_DerivedChannels(benchmark::State& state) {
    Opened o;
    {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        o.data->load(dataset(), false);
    }
    for (auto _ : state) {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        const int x = o.data->createCoordinateChannel(0);
        const int y = o.data->createCoordinateChannel(1);
        const int m = o.data->createMagnitudeChannel(0, 1, 2);
        state.PauseTiming();
        for (int slot : {x, y, m}) o.data->deleteChannel(slot);
        state.ResumeTiming();
    }
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    o.data.reset();
}
BENCHMARK(BM_DerivedChannels)->Unit(benchmark::kMillisecond);

void BM_VelocityTexels(benchmark::State& state) {
    Opened o = open();
    const TextureSize size = o.data->textureDataSize();
    for (auto _ : state) {
        std::vector<float> texels = velocityTexels(o.data->channel(0), o.data->channel(1), o.data->channel(2),
                                                   o.data->channel(o.magnitude), size);
        benchmark::DoNotOptimize(texels.data());
    }
    state.counters["texels"] = static_cast<double>(size.width) * size.height;
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    o.data.reset();
}
BENCHMARK(BM_VelocityTexels)->Unit(benchmark::kMillisecond);

void BM_DataTexels(benchmark::State& state) {
    Opened o = open();
    const TextureSize size = o.data->textureDataSize();
    for (auto _ : state) {
        std::vector<float> one = luminanceTexels(o.data->channel(3), size);
        std::vector<float> two = luminanceTexels(o.data->channel(4), size);
        benchmark::DoNotOptimize(one.data());
        benchmark::DoNotOptimize(two.data());
    }
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    o.data.reset();
}
BENCHMARK(BM_DataTexels)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
