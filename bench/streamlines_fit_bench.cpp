// Placement after "Fit to data" on boxes of very different sizes: lines
// placed, mean line length in dsep, share of lines shorter than 2 dsep,
// coverage within dsep and the placement time. The fields: a double gyre
// on 2:1 boxes 0.01, 1 and 1000 wide, a Lamb-Oseen vortex about the centre
// of square boxes of the same widths (its resting centre needs the
// first-seed search), and a lid-driven cavity 0.1 wide on 128 x 128 nodes.

#include "streamlines/FitToData.h"
#include "streamlines/PlacementQuality.h"
#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace {

const AnalyticFlow& flowFor(const std::string& field, double width) {
    static std::map<std::pair<std::string, double>, AnalyticFlow> flows;
    AnalyticFlow& flow = flows[{field, width}];
    if (flow.data) return flow;
    const float w = static_cast<float>(width);
    if (field == "gyre")
        flow = makeAnalyticFlow(FlowBox{129, 65, 0.0f, w, 0.0f, w / 2}, analytic::doubleGyre(1.0 / 3.14159265, w / 2));
    else if (field == "vortex")
        flow = makeAnalyticFlow(FlowBox{129, 129, -w / 2, w / 2, -w / 2, w / 2},
                                analytic::vortex(0.0, 0.0, width / 8, width));
    else
        flow = makeAnalyticFlow(FlowBox{128, 128, 0.0f, w, 0.0f, w}, analytic::cavity(0.0, 0.0, width, width));
    return flow;
}

void BM_Fitted(benchmark::State& state, const char* field, double width) {
    const AnalyticFlow& flow = flowFor(field, width);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    applyFit(set, fitToBox(set.domainBox()));
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
}

}  // namespace

BENCHMARK_CAPTURE(BM_Fitted, gyre_0_01, "gyre", 0.01)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, gyre_1, "gyre", 1.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, gyre_1000, "gyre", 1000.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, vortex_0_01, "vortex", 0.01)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, vortex_1, "vortex", 1.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, vortex_1000, "vortex", 1000.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Fitted, cavity_0_1, "cavity", 0.1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
