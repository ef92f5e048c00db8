// Why streamlines end: each reason on a field built to end that way, for the
// upstream and downstream ends, in seeded and evenly spaced placement.

#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>

namespace {

using R = TerminationReason;

void quietly(const std::function<void()>& run) {
    ConsoleCapture quiet;
    run();
}

const Streamline& only(const StreamlineSet& set, std::size_t index = 0) {
    static const Streamline none(-1);
    EXPECT_GT(set.streamlines().size(), index);
    return set.streamlines().size() > index ? *set.streamlines()[index] : none;
}

// The reasons of a line as "start/end" words, for readable failures.
std::string ends(const Streamline& line) {
    return std::string(terminationReasonName(line.startReason)) + "/" + terminationReasonName(line.endReason);
}

std::string ends(R start, R end) {
    return std::string(terminationReasonName(start)) + "/" + terminationReasonName(end);
}

TEST(StreamlineTerminationTest, ReasonsHaveOneWordEach) {
    // The export tool writes the names into CSV fields and a title line of
    // "code name" pairs: each must be one distinct word.
    std::set<std::string> seen;
    for (int r = 0; r < terminationReasonCount; ++r) {
        const std::string word = terminationReasonName(static_cast<R>(r));
        EXPECT_FALSE(word.empty()) << "reason " << r;
        EXPECT_EQ(word.find_first_of(" ,\t\n"), std::string::npos) << word;
        EXPECT_TRUE(seen.insert(word).second) << word << " names two reasons";
    }
    const Streamline fresh(0);
    EXPECT_EQ(ends(fresh), "none/none");
}

TEST(StreamlineTerminationTest, UniformFlowLeavesTheDomainAtBothEnds) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    for (int method = 0; method < 2; ++method) {
        SCOPED_TRACE(method ? "midpoint" : "Euler");
        // dt 0.3 from x = 2 (the first seed, and the x of every later seed):
        // the last points lie at 3.8 and 0.2, whose successors are outside
        // but whose midpoints are not.
        StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.3f, 0.4f, 0.2f);
        set.setIntegration(IntegrationMethod(method));
        quietly([&] { set.computeEvenlySpaced(); });
        ASSERT_GE(set.streamlines().size(), 3u);
        for (const auto& line : set.streamlines()) EXPECT_EQ(ends(*line), ends(R::LeftDomain, R::LeftDomain));

        quietly([&] { set.computeSeeded(1); });
        EXPECT_EQ(ends(only(set)), ends(R::LeftDomain, R::LeftDomain));
    }
}

// A linear sink -(x, y): with dt = 1 an Euler step lands exactly on the
// centre, where the velocity is exactly zero.
VelocityField sink() {
    return [](double x, double y) { return Velocity{static_cast<float>(-x), static_cast<float>(-y)}; };
}

TEST(StreamlineTerminationTest, ASinkEndsTheDownstreamPassWithZeroVelocity) {
    // Nodes every 0.125, so the sampled field is exact at the points used.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 21, -1.0f, 1.0f, -1.0f, 1.5f}, sink());
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 1.0f, 2.0f, 0.1f);

    // Evenly spaced: the seed (0, 0.25) steps to (0, 0) and stops there;
    // upstream it runs out through (0, 0.5), (0, 1), (0, 2).
    quietly([&] { set.computeEvenlySpaced(); });
    const Streamline& line = only(set);
    EXPECT_EQ(ends(line), ends(R::LeftDomain, R::ZeroVelocity));
    ASSERT_FALSE(line.points.empty());
    EXPECT_EQ(line.points.back()->x(), 0.0f);
    EXPECT_EQ(line.points.back()->y(), 0.0f);

    // Seeded: the one seed sits on the centre, so neither direction moves.
    AnalyticFlow centred = makeAnalyticFlow(FlowBox{17, 17, -1.0f, 1.0f, -1.0f, 1.0f}, sink());
    StreamlineSet seeded(centred.data.get(), centred.xSlot, centred.ySlot, 0.005f, 0.4f, 0.2f);
    seeded.computeSeeded(1);
    EXPECT_TRUE(only(seeded).points.empty());
    EXPECT_EQ(ends(only(seeded)), ends(R::ZeroVelocity, R::ZeroVelocity));
}

TEST(StreamlineTerminationTest, ANaNPatchEndsTheLineAsNonFinite) {
    // Uniform flow to the right with NaN velocities from x = 3 on.
    auto patched = [](double x, double) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        return x >= 3.0 ? Velocity{nan, nan} : Velocity{1.0f, 0.0f};
    };
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, patched);
    for (int method = 0; method < 2; ++method) {
        SCOPED_TRACE(method ? "midpoint" : "Euler");
        StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
        set.setIntegration(IntegrationMethod(method));
        quietly([&] { set.computeEvenlySpaced(); });
        const Streamline& line = only(set);
        // Upstream, 400 steps of 0.005 end on the left edge, where the
        // midpoint of the next step lies outside.
        const R left = method ? R::MidpointOutside : R::LeftDomain;
        EXPECT_EQ(ends(line), ends(left, R::NonFinite));
        // The cell from 2.75 to 3 has a NaN corner: the line stops where it begins.
        EXPECT_LE(line.points.back()->x(), 2.75f + 0.005f);

        quietly([&] { set.computeSeeded(1); });
        EXPECT_EQ(ends(only(set)), ends(left, R::NonFinite));
    }
}

TEST(StreamlineTerminationTest, ALineConvergingOnItsNeighbourStopsAtDtest) {
    // v = (1, -(y - 1)): lines fall towards y = 1 as they go right. The
    // first line runs straight along y = 1; the second, seeded dsep above
    // its upstream end, closes in on it within about ln 2 downstream.
    auto converging = [](double, double y) { return Velocity{1.0f, static_cast<float>(-(y - 1.0))}; };
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{33, 17, 0.0f, 4.0f, 0.0f, 2.0f}, converging);
    for (int method = 0; method < 2; ++method) {
        SCOPED_TRACE(method ? "midpoint" : "Euler");
        StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
        set.setIntegration(IntegrationMethod(method));
        quietly([&] { set.computeEvenlySpaced(); });
        ASSERT_GE(set.streamlines().size(), 2u);
        // Both start on the left edge, reached exactly after 400 steps: there
        // the midpoint step's midpoint lies outside.
        const R left = method ? R::MidpointOutside : R::LeftDomain;
        EXPECT_EQ(ends(only(set, 0)), ends(left, R::LeftDomain));
        const Streamline& second = only(set, 1);
        EXPECT_EQ(ends(second), ends(left, R::TooClose));
        // It ended within one step of dtest above the straight first line.
        // (The nearest registered point may lie up to half a step aside.)
        const float gap = second.points.back()->y() - 1.0f;
        EXPECT_GT(gap, 0.2f - 1e-4f);
        EXPECT_LT(gap, 0.2f + 0.005f);
        EXPECT_NEAR(second.points.back()->x(), std::log(2.0), 0.05);
    }
}

TEST(StreamlineTerminationTest, AMidpointOutsideTheBoxEndsARungeKuttaLine) {
    // dt 0.25 from x = 2 reaches x = 4 and x = 0 exactly: the next midpoints
    // lie 0.125 outside.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.25f, 0.4f, 0.2f);
    set.setIntegration(IntegrationMethod::RungeKutta);
    quietly([&] { set.computeEvenlySpaced(); });
    const Streamline& line = only(set);
    EXPECT_EQ(ends(line), ends(R::MidpointOutside, R::MidpointOutside));
    EXPECT_EQ(line.points.front()->x(), 0.0f);
    EXPECT_EQ(line.points.back()->x(), 4.0f);

    quietly([&] { set.computeSeeded(1); });
    // The seeded upstream pass tests the open box first: x = 0 is outside it.
    EXPECT_EQ(ends(only(set)), ends(R::LeftDomain, R::MidpointOutside));

    // Euler has no midpoint: the same line ends on the box.
    set.setIntegration(IntegrationMethod::Euler);
    quietly([&] { set.computeSeeded(1); });
    EXPECT_EQ(ends(only(set)), ends(R::LeftDomain, R::LeftDomain));
}

TEST(StreamlineTerminationTest, LinesThatNeverStopEndAtTheStepCap) {
    // Seeded: a closed orbit stays in the box, 10000 steps each way.
    AnalyticFlow rotation = makeAnalyticFlow(FlowBox{21, 21, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::rotation(0.0, 0.0));
    StreamlineSet orbit(rotation.data.get(), rotation.xSlot, rotation.ySlot, 0.005f, 0.4f, 0.2f);
    orbit.computeSeeded(2);
    for (const auto& line : orbit.streamlines()) {
        EXPECT_EQ(line->points.size(), 2u * StreamlineSet::maxFreeSteps);
        EXPECT_EQ(ends(*line), ends(R::StepCap, R::StepCap));
    }

    // Evenly spaced: midpoint steps on a circle drift outwards by far less
    // than dtest per turn, so the line never meets its own trail; each pass
    // ends when it would grow longer than ten half-perimeters of the box.
    StreamlineSet even(rotation.data.get(), rotation.xSlot, rotation.ySlot, 0.01f, 0.4f, 1e-9f);
    even.setIntegration(IntegrationMethod::RungeKutta);
    ASSERT_EQ(even.maxLineLength(), 40.0);
    quietly([&] { ASSERT_TRUE(even.traceEvenly(even.createPoint(0.5f, 0.0f))); });
    const Streamline& line = only(even);
    EXPECT_EQ(ends(line), ends(R::StepCap, R::StepCap));
    // The seed is the point nearest (0.5, 0): both passes run about 40 from it.
    const auto& pts = line.points;
    std::size_t seed = 0;
    for (std::size_t k = 0; k < pts.size(); ++k)
        if (pts[k]->x() == 0.5f && pts[k]->y() == 0.0f) seed = k;
    auto pathLength = [&](std::size_t from, std::size_t to) {
        double length = 0.0;
        for (std::size_t k = from; k < to; ++k)
            length += std::hypot(double(pts[k + 1]->x()) - pts[k]->x(), double(pts[k + 1]->y()) - pts[k]->y());
        return length;
    };
    for (const double pass : {pathLength(0, seed), pathLength(seed, pts.size() - 1)}) {
        EXPECT_LE(pass, 40.0);
        EXPECT_GT(pass, 40.0 - 0.006);  // within a step (0.005) of the cap
    }
}

TEST(StreamlineTerminationTest, ASeedTooCloseToALineEndsTheUpstreamPassAtOnce) {
    // A foreign point just under dtest behind the seed: the downstream pass
    // moves away from it to the box, the upstream pass stops on the seed.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint other(0.81f, 1.06f, 99, 0);  // 0.1992 from the seed, 0.204 from its successor
    set.registerPoint(&other);
    ASSERT_TRUE(set.traceEvenly(set.createPoint(1.0f, 1.0f)));
    const Streamline& line = only(set);
    EXPECT_EQ(ends(line), ends(R::TooClose, R::LeftDomain));
    EXPECT_GT(line.points.front()->x(), 1.0f);
}

}  // namespace
