// Loading a 2048 x 2048 dataset with two data channels against reading the
// same bytes plainly: the load should cost at most about twice the read.
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kSide = 2048;
const int kChannels = 2;

// The unit square, written once per process (128 MB, removed at exit);
// returns the grid file's path.
const std::string& dataset() {
    static const TempDir dir;
    static const std::string path = [] {
        const std::vector<float> unit = DatasetWriter::evenlySpaced(0.0f, 1.0f, kSide);
        return DatasetWriter(unit, unit)
            .dataChannels(kChannels)
            .records([](const DatasetWriter::Node& node, float* record) {
                const float x = static_cast<float>(node.i) / (kSide - 1);
                const float y = static_cast<float>(node.j) / (kSide - 1);
                const float values[] = {y - 0.5f, 0.5f - x, 0.0f, x * y, x + y};
                std::copy(std::begin(values), std::end(values), record);
            })
            .write(dir.file("bench"));
    }();
    return path;
}

void BM_FlowDataLoad(benchmark::State& state) {
    const std::string& path = dataset();
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);  // the load's progress lines
    for (auto _ : state) {
        auto data = std::make_unique<FlowData>(nullptr);
        if (!data->load(path, false)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(data->channel(4));
        state.PauseTiming();  // freeing the channels is not part of the load
        data.reset();
        state.ResumeTiming();
    }
}

void readWhole(const std::string& path, std::unique_ptr<char[]>& buffer, std::size_t& size) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    size = static_cast<std::size_t>(file.tellg());
    file.seekg(0);
    buffer.reset(new char[size]);
    file.read(buffer.get(), static_cast<std::streamsize>(size));
}

void BM_PlainRead(benchmark::State& state) {
    const std::string& gri = dataset();
    const std::string dat = DatasetWriter::dataFileName(gri.substr(0, gri.size() - 4), 0);
    for (auto _ : state) {
        std::unique_ptr<char[]> grid;
        std::unique_ptr<char[]> records;
        std::size_t gridSize = 0;
        std::size_t recordSize = 0;
        readWhole(gri, grid, gridSize);
        readWhole(dat, records, recordSize);
        benchmark::DoNotOptimize(grid.get()[gridSize - 1]);
        benchmark::DoNotOptimize(records.get()[recordSize - 1]);
    }
}

}  // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FlowDataLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
