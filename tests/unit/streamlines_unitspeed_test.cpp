// Unit-speed integration: steps of length dt along the velocity's direction.
// Without it every placement is exactly what it was before the option existed.

#include "streamlines/PlacementQuality.h"
#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

const double kPi = 3.14159265358979323846;

// FNV-1a over raw bytes.
struct Digest {
    std::uint64_t hash = 1469598103934665603ull;
    void add(const void* data, std::size_t size) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t k = 0; k < size; ++k) {
            hash ^= bytes[k];
            hash *= 1099511628211ull;
        }
    }
    template <class T>
    void value(T v) {
        add(&v, sizeof v);
    }
};

struct Placement {
    std::size_t lines = 0;
    std::size_t points = 0;
    std::uint64_t pointDigest = 0;   // every line's number and size, every point's x, y, number, index
    std::uint64_t outputDigest = 0;  // what the placement printed
};

Placement place(StreamlineSet& set, bool seeded) {
    std::string text;
    {
        ConsoleCapture out(ConsoleCapture::stdoutOnly);
        if (seeded) set.computeSeeded(7);
        else set.computeEvenlySpaced();
        text = out.out();
    }
    Placement p;
    Digest points;
    for (const auto& line : set.streamlines()) {
        points.value(line->number);
        points.value(line->points.size());
        for (const StreamPoint* q : line->points) {
            points.value(q->x());
            points.value(q->y());
            points.value(q->number());
            points.value(q->index());
            ++p.points;
        }
    }
    p.lines = set.streamlines().size();
    p.pointDigest = points.hash;
    Digest printed;
    printed.add(text.data(), text.size());
    p.outputDigest = printed.hash;
    return p;
}

PlacementQuality placeAndMeasure(StreamlineSet& set) {
    {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        set.computeEvenlySpaced();
    }
    return measurePlacement(set);
}

struct Field {
    const char* name;
    FlowBox box;
    VelocityField velocity;
    float dt, dsep, dtest;
};

struct Recorded {
    int seeded;
    int method;
    std::size_t lines;
    std::size_t points;
    std::uint64_t pointDigest;
    std::uint64_t outputDigest;
};

VelocityField nanPatchedGyre() {
    const VelocityField gyre = analytic::doubleGyre(1 / kPi);
    return [gyre](double x, double y) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const double dx = x - 1.5;
        const double dy = y - 0.5;
        return dx * dx + dy * dy < 0.04 ? Velocity{nan, nan} : gyre(x, y);
    };
}

// The slow double gyre: peak speed 0.31 on [0, 8] x [0, 4].
VelocityField slowGyre() { return analytic::doubleGyre(0.31 / kPi, 4.0); }

// A Lamb-Oseen vortex off the box centre; its speed peaks at about 0.51 at
// r = 0.45 and falls to 0.16 at r = 2.
VelocityField decayingVortex() { return analytic::vortex(0.3, 0.2, 0.4, 2.0); }

TEST(StreamlineUnitSpeedTest, OffReproducesThePlacementsRecordedBeforeTheOptionExisted) {
    // Recorded from the placement code before unit speed and the line-end
    // reasons were added; seeded placements print nothing, hence one output digest.
    const Field fields[] = {
        {"gyre defaults", {257, 129, 0.0f, 8.0f, 0.0f, 4.0f}, analytic::doubleGyre(1 / kPi, 4.0), 0.005f, 0.4f, 0.2f},
        {"slow gyre", {129, 65, 0.0f, 8.0f, 0.0f, 4.0f}, slowGyre(), 0.005f, 0.4f, 0.2f},
        {"vortex", {129, 129, -2.0f, 2.0f, -2.0f, 2.0f}, decayingVortex(), 0.005f, 0.4f, 0.2f},
        {"saddle", {33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::saddle(0.1, -0.2), 0.02f, 0.1f, 0.05f},
        {"rotation", {33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::rotation(0.3, 0.2), 0.02f, 0.1f, 0.05f},
        {"nan patch", {65, 33, 0.0f, 2.0f, 0.0f, 1.0f}, nanPatchedGyre(), 0.01f, 0.05f, 0.025f},
    };
    const std::uint64_t silent = 0x14650fb0739d0383ull;
    const Recorded recorded[][4] = {
        {{0, 0, 22, 25391, 0x30c0c3361071fd2eull, 0xb52557759a297e21ull},
         {0, 1, 22, 25699, 0xd49204d36eda9e6aull, 0x12a196d5cbf005f2ull},
         {1, 0, 7, 140000, 0x81eafd1df43df3aeull, silent},
         {1, 1, 7, 140000, 0x57da3204070d6791ull, silent}},
        {{0, 0, 21, 6048, 0xda3f1ce9b187318dull, 0xdefb352fc9584835ull},
         {0, 1, 21, 6048, 0x014fda95886c0057ull, 0xdefb352fc9584835ull},
         {1, 0, 7, 140000, 0x73610234748fac76ull, silent},
         {1, 1, 7, 140000, 0x2b6e7d60b8b700bdull, silent}},
        {{0, 0, 33, 9937, 0x46310adf9b5c13f6ull, 0x1df4a0171112f863ull},
         {0, 1, 31, 9578, 0x54f12664a3b70151ull, 0x351dc493408f5d73ull},
         {1, 0, 7, 105079, 0xf9769266dca6fe51ull, silent},
         {1, 1, 7, 105078, 0xcee1a0ed59888973ull, silent}},
        {{0, 0, 60, 2609, 0xe7a73d77131f6350ull, 0xc524fa92167d1221ull},
         {0, 1, 59, 2574, 0x8bc4da7dc4e80990ull, 0x5ca2a65464b5130aull},
         {1, 0, 7, 765, 0xecf2277d8bf0c37full, silent},
         {1, 1, 7, 752, 0x4490c567d76a25c8ull, silent}},
        {{0, 0, 38, 2686, 0x30c3ec7a6e0ca538ull, 0xd05378dbb1fb3274ull},
         {0, 1, 36, 2744, 0xc4ccf0db06e8eaefull, 0xa480bb208963d730ull},
         {1, 0, 7, 34547, 0x3f249e94b3284cedull, silent},
         {1, 1, 7, 60782, 0xcfa59084927b8a2cull, silent}},
        {{0, 0, 68, 6578, 0xea29c6bf2d5abfecull, 0x1152b4569be613a0ull},
         {0, 1, 67, 5658, 0x07091fcf67d08ed4ull, 0x178dd027a95ac766ull},
         {1, 0, 7, 140000, 0x2947a2483a890218ull, silent},
         {1, 1, 7, 140000, 0x078e05f5c510781aull, silent}},
    };
    for (std::size_t f = 0; f < std::size(fields); ++f) {
        const Field& field = fields[f];
        AnalyticFlow flow = makeAnalyticFlow(field.box, field.velocity);
        for (const Recorded& r : recorded[f]) {
            SCOPED_TRACE(testing::Message() << field.name << (r.seeded ? ", seeded" : ", evenly")
                                            << (r.method ? ", midpoint" : ", Euler"));
            StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, field.dt, field.dsep, field.dtest);
            set.setIntegration(IntegrationMethod(r.method));
            EXPECT_EQ(set.unitSpeed(), 0);
            // Switched on and off again: nothing of it may linger.
            set.setUnitSpeed(1);
            set.setUnitSpeed(0);
            const Placement p = place(set, r.seeded != 0);
            EXPECT_EQ(p.lines, r.lines);
            EXPECT_EQ(p.points, r.points);
            EXPECT_EQ(p.pointDigest, r.pointDigest);
            EXPECT_EQ(p.outputDigest, r.outputDigest);
        }
    }
}

TEST(StreamlineUnitSpeedTest, EveryStepMovesDtAlongTheVelocity) {
    // Speeds from 0 to about 0.5 and back; the steps must not follow them.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{129, 129, -2.0f, 2.0f, -2.0f, 2.0f}, decayingVortex());
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    set.setUnitSpeed(1);
    EXPECT_EQ(set.unitSpeed(), 1);
    const StreamPoint starts[] = {{0.75f, 0.2f, 0, 0}, {0.9f, -0.4f, 0, 0}, {-1.9f, 1.8f, 0, 0}};
    for (int method = 0; method < 2; ++method) {
        set.setIntegration(IntegrationMethod(method));
        for (StreamPoint start : starts) {
            for (int direction : {1, -1}) {
                SCOPED_TRACE(testing::Message() << (method ? "midpoint" : "Euler") << " from " << start.x() << ", "
                                                << start.y() << ", direction " << direction);
                StreamPoint* q = method == 0 ? set.eulerStep(&start, direction) : set.midpointStep(&start, direction);
                ASSERT_NE(q, nullptr);
                const double dx = static_cast<double>(q->x()) - start.x();
                const double dy = static_cast<double>(q->y()) - start.y();
                EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 0.005, 2e-7);  // float positions near 1: 1e-7 each
                // Euler moves along v at the start; downstream means along +v.
                if (method == 0) {
                    const Velocity v = decayingVortex()(start.x(), start.y());
                    const double vx = direction * static_cast<double>(v.x);
                    const double vy = direction * static_cast<double>(v.y);
                    const double speed = std::sqrt(vx * vx + vy * vy);
                    EXPECT_GT((dx * vx + dy * vy) / speed, 0.005 * 0.999);
                }
            }
        }
    }

    // The zero test comes before the normalisation: at the vortex centre of
    // a rotation every step still ends, the midpoint step included.
    AnalyticFlow rotation = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::rotation(2.0, 1.0));
    StreamlineSet still(rotation.data.get(), rotation.xSlot, rotation.ySlot, 0.005f, 0.4f, 0.2f);
    still.setUnitSpeed(1);
    StreamPoint centre(2.0f, 1.0f, 0, 0);
    for (int direction : {1, -1}) {
        EXPECT_EQ(still.eulerStep(&centre, direction), nullptr);
        EXPECT_EQ(still.lastStepFailure(), TerminationReason::ZeroVelocity);
        EXPECT_EQ(still.midpointStep(&centre, direction), nullptr);
        EXPECT_EQ(still.lastStepFailure(), TerminationReason::ZeroVelocity);
    }
}

TEST(StreamlineUnitSpeedTest, RigidRotationStaysOnItsCircle) {
    // Speed 0.5 on the circle of radius 0.5 about the origin; one seed at (0.5, 0).
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::rotation(0.0, 0.0));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    set.setUnitSpeed(1);

    // Midpoint: 2 x 10000 steps of 0.005, about 32 turns, on the circle
    // within float rounding (the method's own drift is about 1e-10 a step).
    set.setIntegration(IntegrationMethod::RungeKutta);
    set.traceFree(set.createPoint(0.5f, 0.0f));
    const Streamline& line = *set.streamlines().back();
    ASSERT_EQ(line.points.size(), 2u * StreamlineSet::maxFreeSteps);
    double worst = 0.0;
    for (const StreamPoint* p : line.points)
        worst = std::max(worst, std::fabs(std::hypot(static_cast<double>(p->x()), p->y()) - 0.5));
    EXPECT_LT(worst, 1e-4);
    // Consecutive points dt apart, so the line covers 100 length units.
    EXPECT_NEAR(polylineLength(line), 2.0 * StreamlineSet::maxFreeSteps * 0.005, 5e-3);

    // Euler steps along the tangent: each adds dt^2 to r^2, so after n steps
    // r^2 = 0.25 + n dt^2 (r grows from 0.5 to 0.7071 over 10000 steps).
    set.setIntegration(IntegrationMethod::Euler);
    set.traceFree(set.createPoint(0.5f, 0.0f));
    const Streamline& euler = *set.streamlines().back();
    ASSERT_EQ(euler.points.size(), 2u * StreamlineSet::maxFreeSteps);
    const StreamPoint* last = euler.points.back();
    EXPECT_NEAR(std::hypot(static_cast<double>(last->x()), last->y()),
                std::sqrt(0.25 + StreamlineSet::maxFreeSteps * 0.005 * 0.005), 1e-4);
}

TEST(StreamlineUnitSpeedTest, SlowFieldsGetLongerLinesAndMoreCoverage) {
    // Figures measured with dt 0.005, dsep 0.4, dtest 0.2 (the start values),
    // Euler (midpoint within a few percent):
    //   slow gyre, default:    21 lines, mean 0.71 dsep, all shorter than 2 dsep, coverage 0.262
    //   slow gyre, unit speed: 15 lines, mean 15.8 dsep, none short,            coverage 1.000
    //   vortex, default:       33 lines, mean 0.98 dsep, 97 % short,            coverage 0.814
    //   vortex, unit speed:    13 lines, mean 7.7 dsep,  23 % short,            coverage 1.000
    // Below about 0.42 the default registration delay shrinks under dtest and
    // lines stop on their own trail after three cache lengths (288 points).
    struct Case {
        const char* name;
        FlowBox box;
        VelocityField velocity;
        double minLengthGain;  // unit-speed mean length over the default's
        double maxDefaultCoverage;
        double minDefaultShortShare;
        double maxUnitShortShare;
    };
    const Case cases[] = {
        {"slow gyre", {129, 65, 0.0f, 8.0f, 0.0f, 4.0f}, slowGyre(), 15.0, 0.3, 0.99, 0.01},
        {"vortex", {129, 129, -2.0f, 2.0f, -2.0f, 2.0f}, decayingVortex(), 5.0, 0.85, 0.9, 0.3},
    };
    for (const Case& c : cases) {
        AnalyticFlow flow = makeAnalyticFlow(c.box, c.velocity);
        for (int method = 0; method < 2; ++method) {
            SCOPED_TRACE(testing::Message() << c.name << (method ? ", midpoint" : ", Euler"));
            StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
            set.setIntegration(IntegrationMethod(method));
            const PlacementQuality byDefault = placeAndMeasure(set);
            set.setUnitSpeed(1);
            const PlacementQuality unit = placeAndMeasure(set);

            EXPECT_GT(unit.meanLength, c.minLengthGain * byDefault.meanLength);
            EXPECT_LT(byDefault.meanLength, 1.1 * 0.4);  // fragments of about one dsep
            EXPECT_GT(unit.meanLength, 6.0 * 0.4);
            EXPECT_LT(byDefault.coverage, c.maxDefaultCoverage);
            EXPECT_GT(unit.coverage, 0.99);
            EXPECT_GT(byDefault.shortShare, c.minDefaultShortShare);
            EXPECT_LT(unit.shortShare, c.maxUnitShortShare);
            // Fewer, longer lines fill the same box.
            EXPECT_LT(unit.lines, byDefault.lines);
            EXPECT_GT(unit.totalLength, byDefault.totalLength);
        }
    }
}

}  // namespace
