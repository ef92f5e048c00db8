// Evenly spaced placement speed: points and lines placed per second, and the
// placement time over the time of the bare integration steps of the same
// points (the distance field, caches and candidate search should cost less
// than the integration itself, ratio < 2).

#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>

namespace {

const double kPi = 3.14159265358979323846;

struct Scenario {
    std::string name;
    FlowBox box;
    VelocityField velocity;
};

Scenario gyre() { return {"gyre", FlowBox{512, 256, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(1 / kPi)}; }

// Lamb-Oseen vortex with peak speed about 1, its centre off the box centre
// (the first seed must move).
Scenario vortex() {
    return {"vortex", FlowBox{1024, 1024, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::vortex(0.1, 0.05, 0.25, 2.46)};
}

const AnalyticFlow& flowFor(const Scenario& s) {
    static std::map<std::string, AnalyticFlow> flows;
    auto it = flows.find(s.name);
    if (it == flows.end()) it = flows.emplace(s.name, makeAnalyticFlow(s.box, s.velocity)).first;
    return it->second;
}

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

void placement(benchmark::State& state, const Scenario& scenario, float dt, float dsep, float dtest) {
    const AnalyticFlow& flow = flowFor(scenario);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, dt, dsep, dtest);
    double placeTime = 0.0;
    {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        for (auto _ : state) {
            quiet.clear();
            const auto start = Clock::now();
            set.computeEvenlySpaced();
            placeTime += seconds(start);
        }
    }

    // The bare steps: one integration step from every placed point.
    std::vector<StreamPoint> starts;
    for (const auto& line : set.streamlines())
        for (const StreamPoint* p : line->points) starts.push_back(*p);
    double stepTime = 0.0;
    for (benchmark::IterationCount k = 0; k < state.iterations(); ++k) {
        const auto start = Clock::now();
        for (StreamPoint& p : starts) {
            StreamPoint* q = set.stepForward(&p);
            benchmark::DoNotOptimize(q);
            set.discardPoint(q);
        }
        stepTime += seconds(start);
    }

    const double iterations = static_cast<double>(state.iterations());
    const double points = static_cast<double>(starts.size());
    const double lines = static_cast<double>(set.streamlines().size());
    state.counters["points"] = points;
    state.counters["lines"] = lines;
    state.counters["points/s"] = points * iterations / placeTime;
    state.counters["lines/s"] = lines * iterations / placeTime;
    state.counters["ns/point"] = placeTime / iterations / points * 1e9;
    state.counters["ratio"] = placeTime / stepTime;
}

void BM_GyrePlacement(benchmark::State& state) { placement(state, gyre(), 0.01f, 0.01f, 0.005f); }

void BM_VortexPlacement(benchmark::State& state) { placement(state, vortex(), 0.01f, 0.02f, 0.01f); }

// The same gyre with dsep from the argument (thousandths): the time per
// placed point should stay flat while the point count grows.
void BM_GyreGrowth(benchmark::State& state) {
    const float dsep = static_cast<float>(state.range(0)) / 1000.0f;
    placement(state, gyre(), 0.01f, dsep, dsep / 2.0f);
}

}  // namespace

BENCHMARK(BM_GyrePlacement)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VortexPlacement)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GyreGrowth)->Arg(40)->Arg(20)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
