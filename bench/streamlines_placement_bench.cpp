// Evenly spaced placement speed and memory on the double gyre 512 x 256 on
// [0, 2] x [0, 1] (peak speed 1), midpoint steps at unit speed, dt = dsep / 10,
// dtest = dsep / 2:
// - Growth: dsep 0.04 to 0.0025; ns/point should stay flat while the points
//   grow (targets: 0.02 in at most 15 ms, 0.0025 never truncated);
// - Settings: ns/point at the start values (dt 0.005, dsep 0.4, dtest 0.2)
//   and at settings that once made the placement quadratic (dtest 1e-9);
//   the ratio to the start values should stay below 3;
// - HugeCoordinates: a tiny box at coordinates near 3.5e25 (the fuzz case).
// Counters: points, lines, ns/point, bytes/point (the placement's storage).

#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <benchmark/benchmark.h>

#include <ctime>
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

const AnalyticFlow& flowFor(const Scenario& s) {
    static std::map<std::string, AnalyticFlow> flows;
    auto it = flows.find(s.name);
    if (it == flows.end()) it = flows.emplace(s.name, makeAnalyticFlow(s.box, s.velocity)).first;
    return it->second;
}

struct Settings {
    float dt, dsep, dtest;
    bool rk2, unitSpeed;
};

void placement(benchmark::State& state, const Scenario& scenario, const Settings& s) {
    const AnalyticFlow& flow = flowFor(scenario);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, s.dt, s.dsep, s.dtest);
    set.setIntegration(s.rk2 ? IntegrationMethod::RungeKutta : IntegrationMethod::Euler);
    set.setUnitSpeed(s.unitSpeed ? 1 : 0);
    double cpuSeconds = 0.0;
    {
        ConsoleCapture quiet;
        for (auto _ : state) {
            quiet.clear();
            const std::clock_t start = std::clock();
            set.computeEvenlySpaced();
            cpuSeconds += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        }
    }
    std::size_t points = 0;
    for (const auto& line : set.streamlines()) points += line->points.size();
    const double n = static_cast<double>(points);
    state.counters["points"] = n;
    state.counters["lines"] = static_cast<double>(set.streamlines().size());
    state.counters["ns/point"] = n > 0 ? cpuSeconds * 1e9 / static_cast<double>(state.iterations()) / n : 0.0;
    state.counters["bytes/point"] = n > 0 ? set.memoryInUse() / n : 0.0;
    state.counters["limited"] = set.limitedByBudget() ? 1 : 0;
}

// The argument is dsep in ten-thousandths.
void BM_Growth(benchmark::State& state) {
    const float dsep = static_cast<float>(state.range(0)) / 10000.0f;
    placement(state, gyre(), {dsep / 10.0f, dsep, dsep / 2.0f, true, true});
}

void BM_StartValues(benchmark::State& state) { placement(state, gyre(), {0.005f, 0.4f, 0.2f, false, false}); }

void BM_StartValuesMidpoint(benchmark::State& state) { placement(state, gyre(), {0.005f, 0.4f, 0.2f, true, false}); }

void BM_TinyDtest(benchmark::State& state) { placement(state, gyre(), {0.005f, 0.1f, 1e-9f, false, false}); }

void BM_TinyDtestMidpoint(benchmark::State& state) { placement(state, gyre(), {0.005f, 0.1f, 1e-9f, true, false}); }

void BM_SmallDt(benchmark::State& state) { placement(state, gyre(), {0.0002f, 0.4f, 0.2f, false, false}); }

void BM_HugeCoordinates(benchmark::State& state) {
    const Scenario huge{"huge", FlowBox{5, 5, 3.5e25f, 3.50001e25f, 3.5e25f, 3.50001e25f},
                        analytic::uniform(1.0f, 0.0f)};
    placement(state, huge, {0.005f, 0.4f, 0.2f, false, false});
}

}  // namespace

BENCHMARK(BM_Growth)->Arg(400)->Arg(200)->Arg(100)->Arg(50)->Arg(25)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartValues)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartValuesMidpoint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TinyDtest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TinyDtestMidpoint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmallDt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeCoordinates)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
