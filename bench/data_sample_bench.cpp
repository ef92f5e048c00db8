// Channel::sampleAt on non-uniform rectilinear grids: throughput on 1024^2
// and growth from 256^2 to 4096^2 (the cell search must stay logarithmic).
#include "data/Channel.h"
#include "data/Grid.h"
#include "data/TextureBuffers.h"
#include "support/ConsoleCapture.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

struct Field {
    Grid grid;
    std::unique_ptr<Channel> channel;
    std::vector<Vec3> queries;  // spread at random over the grid
    std::vector<Vec3> path;     // small steps along a curve, like a streamline
};

// Quadratic spacing along x and cubic-ish along y, so the uniform-spacing
// guess is wrong almost everywhere and the binary searches do real work.
std::unique_ptr<Field> makeField(int side) {
    auto field = std::make_unique<Field>();
    std::vector<float> xs;
    std::vector<float> ys;
    for (int k = 0; k < side; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(side - 1);
        xs.push_back(t * t * 10.0f);
        ys.push_back((t * t * t + t) * 2.0f);
    }
    std::vector<Vec3> nodes;
    nodes.reserve(static_cast<std::size_t>(side) * side);
    for (float y : ys)
        for (float x : xs) nodes.emplace_back(x, y, 0.0f);
    field->grid.setNodes(side, side, std::move(nodes));

    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(side) * side);
    for (const Vec3& n : field->grid.nodes()) values.push_back(n.x - 2.0f * n.y);
    field->channel = std::make_unique<Channel>(&field->grid);
    {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        field->channel->fillInterleaved(values.data(), 1, 0);
    }

    std::mt19937 random(7);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    const Vec3 lo = field->grid.minCorner();
    const Vec3 extent = field->grid.extent();
    for (int k = 0; k < 4096; ++k)
        field->queries.emplace_back(lo.x + u(random) * extent.x, lo.y + u(random) * extent.y, 0.0f);
    for (int k = 0; k < 4096; ++k) {
        const float t = static_cast<float>(k) / 4095.0f;
        const float r = 0.45f * t;
        field->path.emplace_back(lo.x + (0.5f + r * std::cos(40.0f * t)) * extent.x,
                                 lo.y + (0.5f + r * std::sin(40.0f * t)) * extent.y, 0.0f);
    }
    return field;
}

const Field& field(int side) {
    static std::map<int, std::unique_ptr<Field>> fields;
    auto& slot = fields[side];
    if (!slot) slot = makeField(side);
    return *slot;
}

void BM_SampleAt(benchmark::State& state) {
    const Field& f = field(static_cast<int>(state.range(0)));
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.channel->sampleAt(f.queries[k]));
        k = (k + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_SampleAlongPath(benchmark::State& state) {
    const Field& f = field(static_cast<int>(state.range(0)));
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.channel->sampleAt(f.path[k]));
        k = (k + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}

// The velocity texture's texel buffer at the opener's resolution 538: four
// normalised samples per texel, paid once when a dataset is opened.
void BM_VelocityTexels538(benchmark::State& state) {
    const Field& f = field(static_cast<int>(state.range(0)));
    const Channel* c = f.channel.get();
    const TextureSize size = textureDataSize(f.grid.width(), f.grid.height(), 538);
    for (auto _ : state) benchmark::DoNotOptimize(velocityTexels(c, c, c, c, size).data());
}

}  // namespace

BENCHMARK(BM_SampleAt)->Arg(1024);
// Random positions: the 4096^2 grid (200 MB of nodes) adds a cache miss per
// search step on top of the 1.5x more steps.
BENCHMARK(BM_SampleAt)->Arg(256)->Arg(4096);
// Coherent positions keep the searched nodes in cache: the cost then follows
// the number of search steps, log2 of the side (8 + 8 against 12 + 12).
BENCHMARK(BM_SampleAlongPath)->Arg(256)->Arg(4096);
BENCHMARK(BM_VelocityTexels538)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
