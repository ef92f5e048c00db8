#include "tf/ColorChooser.h"
#include "tf/TransferFunction.h"

#include <benchmark/benchmark.h>

// The editor rebuilds the colour table on every mouse event, drags included;
// it has to stay far below a frame.
static void BM_BuildColorTable(benchmark::State& state) {
    ColorChooser chooser(1.1f, 1.2f, 0.7f);
    TransferFunction tf(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, nullptr, 0.065f, 0, false, nullptr, 0);
    for (int i = 1; i < state.range(0); ++i) {
        tf.points().addPoint(4.0f * static_cast<float>(i) / static_cast<float>(state.range(0)), 1.0f, 0.5f, 0.0f);
    }
    for (auto _ : state) {
        tf.buildColorTable();
        benchmark::DoNotOptimize(tf.colorTable.data());
    }
}
BENCHMARK(BM_BuildColorTable)->Arg(1)->Arg(16);

static void BM_DragEvent(benchmark::State& state) {
    ColorChooser chooser(1.1f, 1.2f, 0.7f);
    TransferFunction tf(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, nullptr, 0.065f, 0, false, nullptr, 0);
    tf.points().addPoint(2.0f, 1.0f, 0.0f, 0.0f);
    tf.handleMouse(0, 0, 4.5f, 0.13f);
    float x = 4.5f;
    for (auto _ : state) {
        x = x > 5.5f ? 3.5f : x + 0.01f;
        tf.handleMouse(0, 0, x, 0.13f);
    }
}
BENCHMARK(BM_DragEvent);

BENCHMARK_MAIN();
