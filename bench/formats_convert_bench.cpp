// Conversion throughput of quillmere-convert's readers against a plain read
// of the same bytes: a NetCDF file of 3 steps of 512 x 512 nodes (u, v and
// two further fields, floats) and a CSV table of 512 x 512 rows (x, y, u, v
// and two channels). MB/s are of the input file. Not part of ctest; run
// build/bench/formats_convert_bench.

#include "formats/CsvImporter.h"
#include "formats/NetcdfImporter.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>
#include <netcdf.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::size_t kN = 512;
const std::size_t kSteps = 3;

struct Files {
    TempDir dir;
    std::string nc = dir.file("in.nc");
    std::string csv = dir.file("in.csv");

    Files() {
        int id, t, y, x, tv;
        nc_create(nc.c_str(), NC_CLOBBER | NC_64BIT_OFFSET, &id);
        nc_def_dim(id, "time", kSteps, &t);
        nc_def_dim(id, "y", kN, &y);
        nc_def_dim(id, "x", kN, &x);
        const int dims[3] = {t, y, x};
        int vars[4];
        const char* names[4] = {"u", "v", "p", "T"};
        for (int k = 0; k < 4; ++k) nc_def_var(id, names[k], NC_FLOAT, 3, dims, &vars[k]);
        nc_def_var(id, "time", NC_DOUBLE, 1, &t, &tv);
        nc_enddef(id);
        std::vector<float> field(kSteps * kN * kN);
        for (int k = 0; k < 4; ++k) {
            for (std::size_t i = 0; i < field.size(); ++i)
                field[i] = std::sin(0.001f * static_cast<float>(i * (k + 1)));
            nc_put_var_float(id, vars[k], field.data());
        }
        nc_close(id);

        std::FILE* f = std::fopen(csv.c_str(), "w");
        std::fprintf(f, "x,y,u,v,p,T\n");
        for (std::size_t j = 0; j < kN; ++j)
            for (std::size_t i = 0; i < kN; ++i)
                std::fprintf(f, "%.9g,%.9g,%.9g,%.9g,%.9g,%.9g\n", i * 0.01, j * 0.01, std::sin(0.001 * i),
                             std::cos(0.002 * j), 0.5 * i, -0.25 * j);
        std::fclose(f);
    }
};

Files& files() {
    static Files f;
    return f;
}

double megabytes(const std::string& path) { return static_cast<double>(std::filesystem::file_size(path)); }

void BM_PlainRead(benchmark::State& state, bool netcdf) {
    const std::string& path = netcdf ? files().nc : files().csv;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * megabytes(path)));
}
BENCHMARK_CAPTURE(BM_PlainRead, netcdf, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainRead, csv, false)->Unit(benchmark::kMillisecond);

void BM_Convert(benchmark::State& state, bool netcdf) {
    const std::string& path = netcdf ? files().nc : files().csv;
    const std::string out = files().dir.file("out");
    for (auto _ : state) {
        std::string error;
        std::unique_ptr<Importer> importer;
        if (netcdf) importer = NetcdfImporter::open(path, "", "", error);
        else importer = CsvImporter::open(path, error);
        if (!importer || !writeImported(*importer, out, error)) return state.SkipWithError(error.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * megabytes(path)));
}
BENCHMARK_CAPTURE(BM_Convert, netcdf, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convert, csv, false)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
