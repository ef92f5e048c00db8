// Opening a 2048 x 2048 dataset with two data channels, phase by phase as
// the viewer's opener runs them: the load (grid file and step 0), the node
// x and y channels, the magnitude, the texel buffers of the velocity
// texture and of the two data textures (resolution 538), and the transfer
// functions with their histograms. Each run is a fresh process, as an
// opening is: memory the process has never touched costs a page fault per
// page, which a loop in one process would hide. Prints the median of each
// phase over the runs (default 7, or the first argument).
//
// The GL start-up, the uploads, the placement and the screenshot need a
// window: measure the whole viewer for them, as ARCHITECTURE.md says under
// "Notes on speed".
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "data/TextureBuffers.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"
#include "tf/TransferFunctionSet.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kSide = 2048;
const char* const kPhases[] = {"load (grid, step 0)", "node x, y channels", "magnitude channel",
                               "velocity texels",     "data texels (2)",    "transfer functions"};
constexpr int kPhaseCount = 6;
using Times = std::array<double, kPhaseCount>;

// A double gyre on [-1, 1] x [-1, 1] with a vorticity-like and a
// pressure-like channel.
std::string writeDataset(const TempDir& dir) {
    const double pi = 3.14159265358979323846;
    const std::vector<float> axis = DatasetWriter::evenlySpaced(-1.0f, 1.0f, kSide);
    return DatasetWriter(axis, axis)
        .dataChannels(2)
        .records([pi](const DatasetWriter::Node& node, float* record) {
            const double x = 2.0 * node.i / (kSide - 1) - 1.0;
            const double y = 2.0 * node.j / (kSide - 1) - 1.0;
            const double u = -0.5 * std::sin(pi * x) * std::cos(pi * y);
            const double v = std::cos(pi * x) * std::sin(pi * y);
            record[0] = static_cast<float>(u);
            record[1] = static_cast<float>(v);
            record[3] = static_cast<float>(std::sin(pi * x) * std::sin(pi * y));
            record[4] = static_cast<float>(-(u * u + v * v) / 2);
        })
        .write(dir.file("open"));
}

// One opening, in this process; the seconds of each phase.
Times openOnce(const std::string& path) {
    using Clock = std::chrono::steady_clock;
    Times times{};
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    auto lap = [&, last = Clock::now()](int phase) mutable {
        const auto now = Clock::now();
        times[static_cast<std::size_t>(phase)] = std::chrono::duration<double>(now - last).count();
        last = now;
        quiet.clear();
    };
    FlowData data(nullptr);
    if (!data.load(path, false)) std::abort();
    data.setTextureResolution(538);
    lap(0);
    const int x = data.createCoordinateChannel(0);
    data.createCoordinateChannel(1);
    lap(1);
    const int magnitude = data.createMagnitudeChannel(0, 1, 2);
    lap(2);
    const TextureSize size = data.textureDataSize();
    std::vector<float> velocity =
        velocityTexels(data.channel(0), data.channel(1), data.channel(2), data.channel(magnitude), size);
    lap(3);
    std::vector<float> one = luminanceTexels(data.channel(3), size);
    std::vector<float> two = luminanceTexels(data.channel(4), size);
    lap(4);
    TransferFunctionSet set = createTransferFunctions(&data, magnitude, x, nullptr);
    lap(5);
    if (velocity.empty() || one.empty() || two.empty() || set[3]->binCounts.empty()) std::abort();
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const TempDir dir;
    const std::string path = writeDataset(dir);

    std::vector<Times> all;
    for (int run = 0; run < runs; ++run) {
        int fds[2];
        if (pipe(fds) != 0) return 1;
        const pid_t child = fork();
        if (child < 0) return 1;
        if (child == 0) {
            const Times times = openOnce(path);
            const bool written = write(fds[1], times.data(), sizeof times) == static_cast<ssize_t>(sizeof times);
            _exit(written ? 0 : 1);
        }
        close(fds[1]);
        Times times{};
        const bool read = ::read(fds[0], times.data(), sizeof times) == static_cast<ssize_t>(sizeof times);
        close(fds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
        all.push_back(times);
    }

    auto median = [&](auto value) {
        std::vector<double> v;
        for (const Times& t : all) v.push_back(value(t));
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("Opening a %d x %d dataset with 2 data channels, median of %d fresh processes:\n", kSide, kSide, runs);
    for (int p = 0; p < kPhaseCount; ++p)
        std::printf("  %-22s %7.1f ms\n", kPhases[p], 1000.0 * median([p](const Times& t) { return t[p]; }));
    std::printf("  %-22s %7.1f ms\n", "all phases", 1000.0 * median([](const Times& t) {
                    double sum = 0.0;
                    for (double s : t) sum += s;
                    return sum;
                }));
    return 0;
}
