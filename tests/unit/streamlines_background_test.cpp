// Placements on a thread of their own: a job started over a running one
// cancels it, and what is handed over is exactly what the same placement
// gives and prints in the foreground.

#include "streamlines/BackgroundPlacement.h"

#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace {

PlacementRequest evenly(float dsep) {
    PlacementRequest request;
    request.dsep = dsep;
    request.dtest = dsep / 2;
    request.dt = dsep / 10;
    request.integration = IntegrationMethod::RungeKutta;
    request.memoryBudget = 512.0 * 1048576.0;
    return request;
}

// The points of every line, in order.
std::vector<std::vector<std::pair<float, float>>> pointsOf(const StreamlineSet& set) {
    std::vector<std::vector<std::pair<float, float>>> lines;
    for (const auto& line : set.streamlines()) {
        lines.emplace_back();
        for (const StreamPoint* p : line->points) lines.back().emplace_back(p->x(), p->y());
    }
    return lines;
}

TEST(BackgroundPlacement, ANewJobCancelsTheRunningOneAndHandsOverWhatTheForegroundWouldPlaceAndPrint) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{129, 65, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(0.1));
    const PlacementRequest wanted = evenly(0.05f);

    // The same placement in the foreground, on the console.
    StreamlineSet foreground(flow.data.get(), flow.xSlot, flow.ySlot, wanted.dt, wanted.dsep, wanted.dtest);
    foreground.setIntegration(wanted.integration);
    foreground.setMemoryBudget(wanted.memoryBudget);
    std::string printed;
    {
        ConsoleCapture console;
        foreground.computeEvenlySpaced();
        printed = console.out() + console.err();
    }
    ASSERT_GT(foreground.streamlines().size(), 5u);

    BackgroundPlacement worker;
    ConsoleCapture console;  // nothing may reach the console directly
    worker.start(flow.data.get(), flow.xSlot, flow.ySlot, {evenly(0.004f)});  // dense: many seconds
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (worker.progress().lines < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_GE(worker.progress().lines, 3u);
    ASSERT_FALSE(worker.finished());
    worker.start(flow.data.get(), flow.xSlot, flow.ySlot, {wanted});

    BackgroundPlacement::Result result = worker.take();
    EXPECT_FALSE(worker.inHand());
    ASSERT_TRUE(result.set && result.console);
    EXPECT_EQ(pointsOf(*result.set), pointsOf(foreground));
    EXPECT_EQ(result.set->dsep(), wanted.dsep);
    std::ostringstream replayed;
    result.console->replay(replayed, replayed);
    EXPECT_EQ(replayed.str(), printed);
    EXPECT_EQ(console.out() + console.err(), "");

    // A cancelled job leaves nothing to take.
    worker.start(flow.data.get(), flow.xSlot, flow.ySlot, {evenly(0.004f)});
    worker.cancel();
    EXPECT_FALSE(worker.inHand());
    EXPECT_FALSE(worker.take().set);
}

}  // namespace
