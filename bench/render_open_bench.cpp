// Opening a 1024 x 1024 dataset with two data channels, step by step as the
// viewer's opener runs it: the load, the derived channels (node x, node y,
// magnitude), and the texel buffers of the velocity texture and the two data
// textures at the opener's resolution of 538. Aim: the velocity texels cost
// less than the load. The GL upload and the streamline placement need
// libraries this benchmark does not link; the GL harness in
// tests/gl/render_frametime_test.cpp times them.
#include "data/FlowData.h"
#include "data/TextureBuffers.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int kSide = 1024;
const int kChannels = 2;
const int kOpenerResolution = 538;

void writeFloats(const std::string& path, const std::string& header, const std::vector<float>& values) {
    std::ofstream file(path, std::ios::binary);
    file.write(header.data(), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(values.data()),
               static_cast<std::streamsize>(values.size() * sizeof(float)));
}

// A double gyre on [0, 2] x [0, 1] with a vorticity-like and a pressure-like
// channel, written once per process; returns the grid file's path.
const std::string& dataset() {
    static const std::string path = [] {
        const std::string dir = (std::filesystem::temp_directory_path() / "qm-render-open-bench").string();
        std::filesystem::create_directories(dir);
        std::string header = "SN4DB 1024 1024 1 2 1 0";
        header.resize(40, ' ');
        std::vector<float> nodes;
        std::vector<float> records;
        nodes.reserve(static_cast<std::size_t>(kSide) * kSide * 3);
        records.reserve(static_cast<std::size_t>(kSide) * kSide * (3 + kChannels));
        const double pi = 3.14159265358979323846;
        for (int j = 0; j < kSide; ++j)
            for (int i = 0; i < kSide; ++i) {
                const double x = 2.0 * i / (kSide - 1);
                const double y = 1.0 * j / (kSide - 1);
                const double u = -pi * std::sin(pi * x) * std::cos(pi * y);
                const double v = pi * std::cos(pi * x) * std::sin(pi * y);
                nodes.insert(nodes.end(), {static_cast<float>(x), static_cast<float>(y), 0.0f});
                records.insert(records.end(), {static_cast<float>(u), static_cast<float>(v), 0.0f,
                                               static_cast<float>(std::sin(pi * x) * std::sin(pi * y)),
                                               static_cast<float>(-(u * u + v * v) / 2)});
            }
        writeFloats(dir + "/open.gri", header, nodes);
        writeFloats(dir + "/open.00000.dat", "", records);
        return dir + "/open.gri";
    }();
    return path;
}

// The channel and texture code reports every step on standard output.
class Quiet {
public:
    Quiet() : saved_(std::cout.rdbuf(sink_.rdbuf())) {}
    ~Quiet() { std::cout.rdbuf(saved_); }

private:
    std::ostringstream sink_;
    std::streambuf* saved_;
};

struct Opened {
    std::unique_ptr<FlowData> data = std::make_unique<FlowData>(nullptr);
    int magnitude = -1;
};

// A loaded dataset with the opener's derived channels and resolution.
Opened open() {
    Quiet quiet;
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
        Quiet quiet;
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
        Quiet quiet;
        o.data->load(dataset(), false);
    }
    for (auto _ : state) {
        Quiet quiet;
        const int x = o.data->createCoordinateChannel(0);
        const int y = o.data->createCoordinateChannel(1);
        const int m = o.data->createMagnitudeChannel(0, 1, 2);
        state.PauseTiming();
        for (int slot : {x, y, m}) o.data->deleteChannel(slot);
        state.ResumeTiming();
    }
    Quiet quiet;
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
    Quiet quiet;
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
    Quiet quiet;
    o.data.reset();
}
BENCHMARK(BM_DataTexels)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
