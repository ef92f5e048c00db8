// Single integration steps: Euler and midpoint, both directions, the domain box.

#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const FlowBox kBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f};

TEST(StreamlineIntegrationTest, UniformStepsMoveByDtDownstreamAndUpstream) {
    AnalyticFlow flow = makeAnalyticFlow(kBox, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint p(1.0f, 1.0f, 0, 0);
    for (int method = 0; method < 2; ++method) {
        SCOPED_TRACE(method == 0 ? "Euler" : "midpoint");
        set.setIntegration(IntegrationMethod(method));
        StreamPoint* forward = set.stepForward(&p);
        StreamPoint* backward = set.stepBackward(&p);
        ASSERT_NE(forward, nullptr);
        ASSERT_NE(backward, nullptr);
        // p.x + dt * v in double, stored as float.
        EXPECT_EQ(forward->x(), static_cast<float>(1.0 + static_cast<double>(0.005f)));
        EXPECT_EQ(backward->x(), static_cast<float>(1.0 - static_cast<double>(0.005f)));
        EXPECT_EQ(forward->y(), 1.0f);
        EXPECT_EQ(backward->y(), 1.0f);
        EXPECT_EQ(p.x(), 1.0f);  // the input point is never changed
    }
}

TEST(StreamlineIntegrationTest, EulerAndMidpointAgreeInAUniformField) {
    AnalyticFlow flow = makeAnalyticFlow(kBox, analytic::uniform(0.3f, -0.7f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.01f, 0.4f, 0.2f);
    const StreamPoint seeds[] = {{0.1f, 1.9f, 0, 0}, {2.123f, 0.77f, 0, 0}, {3.5f, 1.0f, 0, 0}};
    for (StreamPoint seed : seeds) {
        for (int direction : {1, -1}) {
            const StreamPoint* euler = set.eulerStep(&seed, direction);
            const StreamPoint* midpoint = set.midpointStep(&seed, direction);
            ASSERT_NE(euler, nullptr);
            ASSERT_NE(midpoint, nullptr);
            EXPECT_EQ(euler->x(), midpoint->x());
            EXPECT_EQ(euler->y(), midpoint->y());
        }
    }
}

TEST(StreamlineIntegrationTest, ZeroVelocityEndsEveryKindOfStep) {
    AnalyticFlow flow = makeAnalyticFlow(kBox, analytic::rotation(2.0, 1.0));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint centre(2.0f, 1.0f, 0, 0);
    EXPECT_EQ(set.eulerStep(&centre, 1), nullptr);
    EXPECT_EQ(set.eulerStep(&centre, -1), nullptr);
    EXPECT_EQ(set.midpointStep(&centre, 1), nullptr);
    EXPECT_EQ(set.midpointStep(&centre, -1), nullptr);
    StreamPoint moving(2.5f, 1.0f, 0, 0);
    EXPECT_NE(set.eulerStep(&moving, 1), nullptr);
}

TEST(StreamlineIntegrationTest, DomainBoxIsClosedAndNaNIsOutside) {
    AnalyticFlow flow = makeAnalyticFlow(kBox, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    const DomainBox box = set.domainBox();
    EXPECT_EQ(box.xmin, 0.0f);
    EXPECT_EQ(box.xmax, 4.0f);
    EXPECT_EQ(box.ymin, 0.0f);
    EXPECT_EQ(box.ymax, 2.0f);

    const StreamPoint inside[] = {{0.0f, 0.0f, 0, 0}, {4.0f, 2.0f, 0, 0}, {4.0f, 1.0f, 0, 0}, {2.0f, 0.0f, 0, 0}};
    for (const StreamPoint& p : inside) EXPECT_FALSE(set.isOutsideDomain(&p)) << p.x() << ", " << p.y();
    const float above = std::nextafter(4.0f, 5.0f);
    const float below = std::nextafter(0.0f, -1.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const StreamPoint outside[] = {{above, 1.0f, 0, 0}, {below, 1.0f, 0, 0}, {1.0f, 2.5f, 0, 0},
                                   {1.0f, below, 0, 0}, {nan, 1.0f, 0, 0},   {1.0f, nan, 0, 0}};
    for (const StreamPoint& p : outside) EXPECT_TRUE(set.isOutsideDomain(&p)) << p.x() << ", " << p.y();
}

TEST(StreamlineIntegrationTest, MidpointLeavingTheBoxEndsTheStep) {
    AnalyticFlow flow = makeAnalyticFlow(kBox, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint nearEdge(3.998f, 1.0f, 0, 0);  // midpoint at 4.0005, outside
    EXPECT_EQ(set.midpointStep(&nearEdge, 1), nullptr);
    EXPECT_NE(set.midpointStep(&nearEdge, -1), nullptr);
    // Euler does not look at the box: the tracer tests the new point.
    const StreamPoint* euler = set.eulerStep(&nearEdge, 1);
    ASSERT_NE(euler, nullptr);
    EXPECT_GT(euler->x(), 4.0f);
}

TEST(StreamlineIntegrationTest, StepsFollowTheFieldInBothMethods) {
    // Rigid rotation about the centre: a step moves along the tangent, so
    // the radius grows by about dt^2/2 for Euler and much less for midpoint.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::rotation(0.0, 0.0));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.01f, 0.4f, 0.2f);
    StreamPoint p(0.5f, 0.0f, 0, 0);
    const StreamPoint* euler = set.eulerStep(&p, 1);
    set.setIntegration(IntegrationMethod::RungeKutta);
    const StreamPoint* midpoint = set.stepForward(&p);
    const StreamPoint* back = set.stepBackward(&p);
    ASSERT_NE(euler, nullptr);
    ASSERT_NE(midpoint, nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_FLOAT_EQ(euler->x(), 0.5f);
    EXPECT_FLOAT_EQ(euler->y(), 0.005f);
    EXPECT_NEAR(midpoint->x(), 0.5f - 0.01f * 0.0025f, 1e-6);
    EXPECT_NEAR(midpoint->y(), 0.005f, 1e-6);
    EXPECT_NEAR(back->y(), -0.005f, 1e-6);
}

TEST(StreamlineIntegrationTest, NewPointsCarryTheCurrentNumberAndStepIndex) {
    AnalyticFlow flow = makeAnalyticFlow(kBox, analytic::rotation(2.0, 1.0));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    // One accepted line (number 0 -> 1), then a discarded one-point line at
    // the still centre, which leaves stepCounter at 1.
    ASSERT_TRUE(set.traceEvenly(set.createPoint(2.5f, 1.0f)));
    ASSERT_FALSE(set.traceEvenly(set.createPoint(2.0f, 1.0f)));
    ASSERT_EQ(set.streamlineNumber(), 1);
    ASSERT_EQ(set.stepCounter(), 1);
    StreamPoint p(2.0f, 0.5f, 99, 99);
    for (int method = 0; method < 2; ++method) {
        set.setIntegration(IntegrationMethod(method));
        for (const StreamPoint* q : {set.stepForward(&p), set.stepBackward(&p)}) {
            ASSERT_NE(q, nullptr);
            EXPECT_EQ(q->number(), 1);
            EXPECT_EQ(q->index(), 1);
        }
    }
    EXPECT_EQ(p.number(), 99);
    EXPECT_EQ(p.index(), 99);
}

TEST(StreamlineIntegrationTest, NaNVelocitiesEndTheStep) {
    auto patched = [](double x, double) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        return x > 2.5 ? Velocity{nan, nan} : Velocity{1.0f, 0.0f};
    };
    AnalyticFlow flow = makeAnalyticFlow(kBox, patched);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint inNaN(3.0f, 1.0f, 0, 0);
    StreamPoint beside(2.6f, 1.0f, 0, 0);  // its cell blends in the NaN nodes at x 2.75
    for (int method = 0; method < 2; ++method) {
        set.setIntegration(IntegrationMethod(method));
        EXPECT_EQ(set.stepForward(&inNaN), nullptr);
        EXPECT_EQ(set.stepBackward(&inNaN), nullptr);
        EXPECT_EQ(set.stepForward(&beside), nullptr);
    }
}

}  // namespace
