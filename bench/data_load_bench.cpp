// Loading a 2048 x 2048 dataset with two data channels against reading the
// same bytes plainly: the load should cost at most about twice the read.
#include "data/FlowData.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int kSide = 2048;
const int kChannels = 2;

void writeFloats(const std::string& path, const std::string& header, const std::vector<float>& values)
{
    std::ofstream file(path, std::ios::binary);
    file.write(header.data(), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(float)));
}

// Writes the dataset once per process; returns the grid file's path.
std::string datasetDirectory()
{
    return (std::filesystem::temp_directory_path() / "qm-data-load-bench").string();
}

const std::string& dataset()
{
    static const std::string path = [] {
        const std::string dir = datasetDirectory();
        std::filesystem::create_directories(dir);
        std::string header = "SN4DB 2048 2048 1 2 1 0";
        header.resize(40, ' ');
        std::vector<float> nodes;
        std::vector<float> records;
        nodes.reserve(static_cast<std::size_t>(kSide) * kSide * 3);
        records.reserve(static_cast<std::size_t>(kSide) * kSide * (3 + kChannels));
        for (int j = 0; j < kSide; ++j)
            for (int i = 0; i < kSide; ++i) {
                const float x = static_cast<float>(i) / (kSide - 1);
                const float y = static_cast<float>(j) / (kSide - 1);
                nodes.insert(nodes.end(), {x, y, 0.0f});
                records.insert(records.end(), {y - 0.5f, 0.5f - x, 0.0f, x * y, x + y});
            }
        writeFloats(dir + "/bench.gri", header, nodes);
        writeFloats(dir + "/bench.00000.dat", "", records);
        return dir + "/bench.gri";
    }();
    return path;
}

// Keeps the load's progress lines out of the benchmark's report.
struct QuietStdout {
    QuietStdout() : saved(std::cout.rdbuf(sink.rdbuf())) {}
    ~QuietStdout() { std::cout.rdbuf(saved); }
    std::ostringstream sink;
    std::streambuf* saved;
};

void BM_FlowDataLoad(benchmark::State& state)
{
    const std::string& path = dataset();
    QuietStdout quiet;
    for (auto _ : state) {
        auto data = std::make_unique<FlowData>(nullptr);
        if (!data->load(path, false)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(data->channel(4));
        state.PauseTiming();  // freeing the channels is not part of the load
        data.reset();
        state.ResumeTiming();
    }
}

void readWhole(const std::string& path, std::unique_ptr<char[]>& buffer, std::size_t& size)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    size = static_cast<std::size_t>(file.tellg());
    file.seekg(0);
    buffer.reset(new char[size]);
    file.read(buffer.get(), static_cast<std::streamsize>(size));
}

void BM_PlainRead(benchmark::State& state)
{
    const std::string& gri = dataset();
    const std::string dat = gri.substr(0, gri.size() - 4) + ".00000.dat";
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

} // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FlowDataLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(datasetDirectory());  // 128 MB of files
    return 0;
}
