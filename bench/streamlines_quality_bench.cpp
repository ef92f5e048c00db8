// Placement quality, default steps against unit speed and after "Fit to
// data": lines placed, mean line length in dsep, share of lines shorter than
// 2 dsep, coverage within dsep and the placement time, with the start values
// dt 0.005, dsep 0.4, dtest 0.2 and Euler steps, or with the fitted ones.
//
// The demo dataset is read from demo/demo.gri or ../demo/demo.gri (run from
// the build directory or its bench/ folder) or from $QM_DEMO; without it
// that pair of cases is skipped.

#include "streamlines/FitToData.h"
#include "streamlines/PlacementQuality.h"
#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace {

const double kPi = 3.14159265358979323846;

// Potential flow along +x around a cylinder of radius r about (cx, cy),
// zero inside it; off the box centre, so that the first seed moves.
VelocityField cylinder(double cx, double cy, double r) {
    return [cx, cy, r](double x, double y) {
        const double dx = x - cx;
        const double dy = y - cy;
        const double r2 = dx * dx + dy * dy;
        if (r2 < r * r) return Velocity{0.0f, 0.0f};
        const double a = r * r / (r2 * r2);
        return Velocity{static_cast<float>(1.0 - a * (dx * dx - dy * dy)), static_cast<float>(-2.0 * a * dx * dy)};
    };
}

// The fields, each loaded once: analytic ones written and read back as the
// tests do, the demo read from the build. Null when the demo is missing.
const AnalyticFlow* flowFor(const std::string& name) {
    static std::map<std::string, AnalyticFlow> flows;
    auto it = flows.find(name);
    if (it != flows.end()) return it->second.data ? &it->second : nullptr;
    AnalyticFlow& flow = flows[name];
    if (name == "demo") {
        std::string path;
        const char* env = std::getenv("QM_DEMO");
        for (const std::string& candidate :
             {std::string(env ? env : ""), std::string("demo/demo.gri"), std::string("../demo/demo.gri")})
            if (!candidate.empty() && std::ifstream(candidate).good()) {
                path = candidate;
                break;
            }
        if (path.empty()) return nullptr;
        auto data = std::make_unique<FlowData>(nullptr);
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        const bool ok = data->load(path, false);
        if (ok) {
            flow.xSlot = data->createCoordinateChannel(0);
            flow.ySlot = data->createCoordinateChannel(1);
            flow.magnitudeSlot = data->createMagnitudeChannel(0, 1, 2);
            flow.data = std::move(data);
        }
        data.reset();
        return flow.data ? &flow : nullptr;
    }
    if (name == "gyre")  // the double gyre with peak speed 0.31
        flow = makeAnalyticFlow(FlowBox{257, 129, 0.0f, 8.0f, 0.0f, 4.0f}, analytic::doubleGyre(0.31 / kPi, 4.0));
    else if (name == "vortex")  // peak speed about 0.51 at r = 0.45, 0.16 at r = 2
        flow = makeAnalyticFlow(FlowBox{257, 257, -2.0f, 2.0f, -2.0f, 2.0f}, analytic::vortex(0.3, 0.2, 0.4, 2.0));
    else  // "cylinder": free stream 1, stagnation points on the cylinder
        flow = makeAnalyticFlow(FlowBox{321, 161, -4.0f, 4.0f, -2.0f, 2.0f}, cylinder(-1.5, 0.2, 0.8));
    return &flow;
}

// Places the lines once per iteration, then reports the quality figures.
void placeAndMeasure(benchmark::State& state, StreamlineSet& set) {
    {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        for (auto _ : state) {
            quiet.clear();
            set.computeEvenlySpaced();
        }
    }
    const PlacementQuality q = measurePlacement(set);
    state.counters["lines"] = q.lines;
    state.counters["mean/dsep"] = q.meanLength / q.dsep;
    state.counters["short%"] = 100.0 * q.shortShare;
    state.counters["cover%"] = 100.0 * q.coverage;
    state.counters["too_close"] = q.ends[static_cast<std::size_t>(TerminationReason::TooClose)];
}

void placement(benchmark::State& state, const std::string& field, int unitSpeed) {
    const AnalyticFlow* flow = flowFor(field);
    if (!flow) {
        state.SkipWithError("demo/demo.gri not found (set QM_DEMO)");
        for (auto _ : state) {
        }
        return;
    }
    StreamlineSet set(flow->data.get(), flow->xSlot, flow->ySlot, 0.005f, 0.4f, 0.2f);
    set.setUnitSpeed(unitSpeed);
    placeAndMeasure(state, set);
}

void BM_Quality(benchmark::State& state, const char* field, int unitSpeed) { placement(state, field, unitSpeed); }

// After "Fit to data" on boxes of very different sizes: a double gyre on 2:1
// boxes 0.01, 1 and 1000 wide, a Lamb-Oseen vortex about the centre of
// square boxes of the same widths (its resting centre starts the lattice
// seeds), and a lid-driven cavity 0.1 wide on 128 x 128 nodes.
const AnalyticFlow& sizedFlow(const std::string& field, double width) {
    static std::map<std::pair<std::string, double>, AnalyticFlow> flows;
    AnalyticFlow& flow = flows[{field, width}];
    if (flow.data) return flow;
    const float w = static_cast<float>(width);
    if (field == "gyre")
        flow = makeAnalyticFlow(FlowBox{129, 65, 0.0f, w, 0.0f, w / 2}, analytic::doubleGyre(1.0 / kPi, width / 2));
    else if (field == "vortex")
        flow = makeAnalyticFlow(FlowBox{129, 129, -w / 2, w / 2, -w / 2, w / 2},
                                analytic::vortex(0.0, 0.0, width / 8, width));
    else flow = makeAnalyticFlow(FlowBox{128, 128, 0.0f, w, 0.0f, w}, analytic::cavity(0.0, 0.0, width, width));
    return flow;
}

void BM_Fitted(benchmark::State& state, const char* field, double width) {
    const AnalyticFlow& flow = sizedFlow(field, width);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    applyFit(set, fitToBox(set.domainBox()));
    placeAndMeasure(state, set);
}

// The time of the quality figures themselves (the coverage raster dominates).
void BM_Measure(benchmark::State& state) {
    const AnalyticFlow* flow = flowFor("gyre");
    StreamlineSet set(flow->data.get(), flow->xSlot, flow->ySlot, 0.005f, 0.4f, 0.2f);
    set.setUnitSpeed(1);
    {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        set.computeEvenlySpaced();
    }
    for (auto _ : state) benchmark::DoNotOptimize(measurePlacement(set));
}

}  // namespace

BENCHMARK_CAPTURE(BM_Quality, gyre_default, "gyre", 0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Quality, gyre_unit_speed, "gyre", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Quality, vortex_default, "vortex", 0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Quality, vortex_unit_speed, "vortex", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Quality, cylinder_default, "cylinder", 0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Quality, cylinder_unit_speed, "cylinder", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Quality, demo_default, "demo", 0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Quality, demo_unit_speed, "demo", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Measure)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, gyre_0_01, "gyre", 0.01)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, gyre_1, "gyre", 1.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, gyre_1000, "gyre", 1000.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, vortex_0_01, "vortex", 0.01)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, vortex_1, "vortex", 1.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, vortex_1000, "vortex", 1000.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, cavity_0_1, "cavity", 0.1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
