// Seeded placement ("Normal"): seeds on the diagonal, free tracing.

#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

TEST(StreamlineSeededTest, NoSeedsNoLines) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 5, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    set.computeSeeded(3);
    ASSERT_EQ(set.streamlines().size(), 3u);
    set.computeSeeded(0);
    EXPECT_TRUE(set.streamlines().empty());
    set.computeSeeded(-4);
    EXPECT_TRUE(set.streamlines().empty());
}

TEST(StreamlineSeededTest, OneSeedSitsAtTheBoxCentreAndTheLineSpansTheBox) {
    // Box [0, 2] x [0, 1]: the seed is (1, 0.5). It is not in the line: the
    // step from the first upstream to the first downstream point spans it.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 5, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    set.computeSeeded(1);
    ASSERT_EQ(set.streamlines().size(), 1u);
    const auto& points = set.streamlines()[0]->points;
    ASSERT_GT(points.size(), 2u);
    std::size_t split = 0;
    while (split < points.size() && points[split]->x() < 1.0f) ++split;
    ASSERT_GT(split, 0u);
    const double dt = 0.005f;
    EXPECT_EQ(points[split - 1]->x(), static_cast<float>(1.0 - dt));
    EXPECT_EQ(points[split]->x(), static_cast<float>(1.0 + dt));
    for (const StreamPoint* p : points) EXPECT_EQ(p->y(), 0.5f);

    // The upstream part ends with the first point at x <= 0, the downstream
    // part with the first point beyond x = 2.
    EXPECT_LE(points.front()->x(), 0.0f);
    EXPECT_GT(points[1]->x(), 0.0f);
    EXPECT_GT(points.back()->x(), 2.0f);
    EXPECT_LE(points[points.size() - 2]->x(), 2.0f);
}

TEST(StreamlineSeededTest, SeedsAdvanceByRepeatedFloatAddition) {
    // Rows of y are exact in a flow along x, so every line shows its seed's y.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 9, 0.0f, 1.0f, 0.0f, 0.7f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.05f, 0.4f, 0.2f);
    const int n = 9;
    set.computeSeeded(n);
    ASSERT_EQ(set.streamlines().size(), static_cast<std::size_t>(n));
    const float step = 0.7f * (1.0f / 10.0f);
    float y = 0.0f + step;
    for (int k = 0; k < n; ++k) {
        const auto& points = set.streamlines()[k]->points;
        ASSERT_FALSE(points.empty());
        EXPECT_EQ(points.front()->y(), y) << "seed " << k;
        y += step;
    }
}

TEST(StreamlineSeededTest, ZeroVelocitySeedKeepsAnEmptyLineAndOrbitsStopAtTheBound) {
    // Rigid rotation on [-1, 1]^2, three seeds: (-0.5, -0.5), the still
    // centre, (0.5, 0.5). The outer seeds circle inside the box for ever.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{21, 21, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::rotation(0.0, 0.0));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    for (int method = 0; method < 2; ++method) {
        set.setIntegration(IntegrationMethod(method));
        set.computeSeeded(3);
        const auto& lines = set.streamlines();
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0]->points.size(), 2u * StreamlineSet::maxFreeSteps);
        EXPECT_TRUE(lines[1]->points.empty());
        EXPECT_EQ(lines[2]->points.size(), 2u * StreamlineSet::maxFreeSteps);
        for (const auto& line : lines) {
            EXPECT_EQ(line->number, 0);
            for (const StreamPoint* p : line->points) {
                ASSERT_EQ(p->number(), 0);
                ASSERT_EQ(p->index(), 0);
            }
        }
    }
    EXPECT_EQ(set.streamlineNumber(), 0);
    EXPECT_EQ(set.stepCounter(), 0);
}

TEST(StreamlineSeededTest, SeededPlacementLeavesTheFieldAndStatisticsAlone) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    testing::internal::CaptureStdout();
    set.computeEvenlySpaced();
    testing::internal::GetCapturedStdout();
    const int points = set.theoreticalPoints();
    ASSERT_GT(set.registeredCount(), 0);

    testing::internal::CaptureStdout();
    set.computeSeeded(4);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(set.streamlines().size(), 4u);
    EXPECT_EQ(set.registeredCount(), 0);
    EXPECT_EQ(set.theoreticalPoints(), points);
}

TEST(StreamlineSeededTest, UnusableStepSizeIsRefusedWithOneLine) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 9, 0.0f, 1.0f, 0.0f, 1.0f}, analytic::uniform(1.0f, 0.0f));
    const float bad[] = {0.0f, -0.005f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity()};
    for (float dt : bad) {
        StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
        set.computeSeeded(2);
        ASSERT_EQ(set.streamlines().size(), 2u);
        set.setStepSize(dt);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        set.computeSeeded(2);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out, "");
        EXPECT_EQ(err.rfind("Streamlines not placed: dt must be a positive number (dt = ", 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_TRUE(set.streamlines().empty());
    }
}

}  // namespace
