// Evenly spaced placement: worked examples, console lines, parameter faults,
// and the placement invariants checked by brute force on analytic fields.

#include "streamlines/StreamlineSet.h"

#include "settings/SystemMemory.h"
#include "support/AnalyticFlow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

namespace {

struct Output {
    std::string out;
    std::string err;
};

Output placeEvenly(StreamlineSet& set) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    set.computeEvenlySpaced();
    Output o;
    o.out = testing::internal::GetCapturedStdout();
    o.err = testing::internal::GetCapturedStderr();
    return o;
}

std::string statistics(int inLines, int theoretical, int registered, int theoreticalRegistered, int cached) {
    std::ostringstream s;
    s << "Number of points in streamlines: " << inLines << '\n'
      << "Number of points theoretically in streamlines: " << theoretical << '\n'
      << "Number of registrated points: " << registered << '\n'
      << "Number of theoretical registrated points: " << theoreticalRegistered << '\n'
      << "Cached points: " << cached << '\n';
    return s.str();
}

const char* const kFieldOk =
    "Distance Field OK\nPlease wait for the changes to take place.\n This could be a short amount of time!\n";

int pointsInLines(const StreamlineSet& set) {
    std::size_t n = 0;
    for (const auto& line : set.streamlines()) n += line->points.size();
    return static_cast<int>(n);
}

double squaredDistance(const StreamPoint* p, const StreamPoint* q) {
    const double dx = static_cast<double>(p->x()) - q->x();
    const double dy = static_cast<double>(p->y()) - q->y();
    return dx * dx + dy * dy;
}

// The seed of a line, if the upstream pass kept it: it carries the lowest
// step index, which the first downstream point shares.
const StreamPoint* seedOf(const Streamline& line) {
    const auto& pts = line.points;
    int lowest = std::numeric_limits<int>::max();
    for (const StreamPoint* p : pts) lowest = std::min(lowest, p->index());
    std::vector<std::size_t> at;
    for (std::size_t k = 0; k < pts.size(); ++k)
        if (pts[k]->index() == lowest) at.push_back(k);
    if (at.size() == 2) return pts[at[0]];
    const std::size_t last = pts.size() - 1;
    if (at.size() == 1 && at[0] == last && last > 0 && pts[last - 1]->index() == lowest + 1) return pts[last];
    return nullptr;
}

struct Box2 {
    double x0, y0, x1, y1;
};

Box2 boundsOf(const Streamline& line) {
    Box2 b{1e30, 1e30, -1e30, -1e30};
    for (const StreamPoint* p : line.points) {
        b.x0 = std::min<double>(b.x0, p->x());
        b.y0 = std::min<double>(b.y0, p->y());
        b.x1 = std::max<double>(b.x1, p->x());
        b.y1 = std::max<double>(b.y1, p->y());
    }
    return b;
}

// What every evenly spaced placement guarantees, checked without the
// distance field.
void expectPlacementInvariants(const StreamlineSet& set, const std::string& out) {
    // Counters and what the statistics lines print.
    EXPECT_EQ(set.registeredCount(), set.theoreticalRegistered());
    EXPECT_EQ(set.cachedPoints(), set.theoreticalPoints());
    const std::string printed = statistics(pointsInLines(set), set.theoreticalPoints(), set.registeredCount(),
                                           set.theoreticalRegistered(), set.cachedPoints());
    EXPECT_NE(out.find(printed), std::string::npos) << out.substr(out.size() > 600 ? out.size() - 600 : 0);
    EXPECT_EQ(out.find("Invalid"), std::string::npos);

    const DomainBox box = set.domainBox();
    const auto& lines = set.streamlines();
    const double dtest2 = set.dtestSquared();
    const double seed2 = set.seedLimitSquared();
    std::vector<Box2> bounds;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const Streamline& line = *lines[k];
        ASSERT_GE(line.points.size(), 2u) << "line " << k;
        EXPECT_EQ(line.number, static_cast<int>(k));
        for (const StreamPoint* p : line.points) {
            ASSERT_EQ(p->number(), line.number);
            ASSERT_TRUE(std::isfinite(p->x()) && std::isfinite(p->y()));
            ASSERT_TRUE(p->x() >= box.xmin && p->x() <= box.xmax && p->y() >= box.ymin && p->y() <= box.ymax);
        }
        bounds.push_back(boundsOf(line));
        // Every point was tested against all earlier lines, which were
        // registered in full by then.
        const StreamPoint* seed = seedOf(line);
        for (std::size_t j = 0; j < k; ++j) {
            const Box2& b = bounds[j];
            const Box2& c = bounds[k];
            const double reach = set.dsep();
            if (c.x0 > b.x1 + reach || b.x0 > c.x1 + reach || c.y0 > b.y1 + reach || b.y0 > c.y1 + reach) continue;
            for (const StreamPoint* q : lines[j]->points) {
                if (seed) {
                    ASSERT_GE(squaredDistance(seed, q), seed2) << "seed of line " << k << " near line " << j;
                }
                for (const StreamPoint* p : line.points)
                    ASSERT_GE(squaredDistance(p, q), dtest2) << "line " << k << " meets line " << j;
            }
        }
    }
}

TEST(StreamlineEvenlyTest, UniformFlowFillsTheBoxWithLinesDsepApart) {
    // Box [0, 4] x [0, 2], v = (1, 0), dt 0.005, dsep 0.4, dtest 0.2.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    const Output o = placeEvenly(set);
    expectPlacementInvariants(set, o.out);
    const auto& lines = set.streamlines();
    ASSERT_EQ(lines.size(), 5u);

    // The first line runs through the centre from edge to edge.
    const auto& first = lines[0]->points;
    for (const StreamPoint* p : first) ASSERT_EQ(p->y(), 1.0f);
    EXPECT_GE(first.front()->x(), 0.0f);
    EXPECT_LT(first.front()->x(), 0.005f + 1e-5f);
    EXPECT_LE(first.back()->x(), 4.0f);
    EXPECT_GT(first.back()->x(), 4.0f - 0.005f - 1e-5f);

    // Step indices: downstream 0 .. m - 1, the seed 0, upstream m + 1 ...
    std::size_t seedAt = 0;
    while (first[seedAt]->x() != 2.0f) ++seedAt;
    const std::size_t m = first.size() - seedAt - 1;
    EXPECT_EQ(first[seedAt]->index(), 0);
    for (std::size_t k = 0; k < m; ++k) ASSERT_EQ(first[seedAt + 1 + k]->index(), static_cast<int>(k));
    for (std::size_t k = 0; k < seedAt; ++k) ASSERT_EQ(first[seedAt - 1 - k]->index(), static_cast<int>(m + 1 + k));

    // The first candidate, dsep left of the first point, seeded line 2.
    const auto& second = lines[1]->points;
    const float seedX = first.front()->x();
    EXPECT_TRUE(std::any_of(second.begin(), second.end(),
                            [&](const StreamPoint* p) { return p->x() == seedX && p->y() == 1.0f + 0.4f; }));

    std::vector<float> rows;
    for (const auto& line : lines) rows.push_back(line->points.front()->y());
    std::sort(rows.begin(), rows.end());
    const float expected[] = {0.2f, 0.6f, 1.0f, 1.4f, 1.8f};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(rows[k], expected[k], 1e-5f);

    // The whole console report of the placement.
    std::string report;
    for (int n = 2; n <= 5; ++n)
        report += "Take next streamline of the list\nCurrent streamline has number: " + std::to_string(n) + "\n";
    report += "At the end of the streamline-list, let's end\n";
    report += statistics(pointsInLines(set), set.theoreticalPoints(), set.registeredCount(),
                         set.theoreticalRegistered(), set.cachedPoints());
    report += kFieldOk;
    EXPECT_EQ(o.out, report);
    EXPECT_EQ(o.err, "");
}

TEST(StreamlineEvenlyTest, SingleLineWithoutAcceptedCandidatesEndsAtOnce) {
    // Too narrow for a second line: every candidate lies outside.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 3, 0.0f, 4.0f, 0.0f, 0.5f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    const Output o = placeEvenly(set);
    ASSERT_EQ(set.streamlines().size(), 1u);
    const int n = pointsInLines(set);
    EXPECT_GT(n, 790);
    EXPECT_EQ(o.out, "At the end of the streamline-list, let's end\n" + statistics(n, n, n, n, n) + kFieldOk);
}

TEST(StreamlineEvenlyTest, ACentredVortexGetsLinesAndAStillFieldSaysWhyItHasNone) {
    // Rigid rotation about the box centre: the centre does not move, so the
    // first lattice seed, (-0.125, -0.125), starts the placement with an
    // arc of the circle through it.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{21, 21, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::rotation(0.0, 0.0));
    for (int method = 0; method < 2; ++method) {
        StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
        set.setIntegration(IntegrationMethod(method));
        const Output o = placeEvenly(set);
        ASSERT_GT(set.streamlines().size(), 3u);
        expectPlacementInvariants(set, o.out);
        EXPECT_EQ(set.emptyReason(), "");
        for (const StreamPoint* p : set.streamlines()[0]->points) ASSERT_NEAR(std::hypot(p->x(), p->y()), 0.1768, 0.01);
    }

    // No speed anywhere, or none that is a number: every seed is tried, and
    // the placement says so before its reports.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const auto& [velocity, reason] : {std::pair{analytic::uniform(0.0f, 0.0f), "zero_velocity"},
                                           std::pair{analytic::uniform(nan, nan), "non_finite"}}) {
        AnalyticFlow still = makeAnalyticFlow(FlowBox{9, 5, 0.0f, 4.0f, 0.0f, 2.0f}, velocity);
        StreamlineSet set(still.data.get(), still.xSlot, still.ySlot, 0.005f, 0.4f, 0.2f);
        const Output o = placeEvenly(set);
        EXPECT_TRUE(set.streamlines().empty());
        const std::string why = std::string(
                                    "none of the 225 seeds tried (the centre of the box, then a lattice "
                                    "around it) gives a line of two points; their lines ended with ") +
                                reason + " 225";
        EXPECT_EQ(set.emptyReason(), why);
        EXPECT_EQ(o.out, "No streamline placed: " + why + "\n" + statistics(0, 0, 0, 0, 0) + kFieldOk);
        EXPECT_EQ(o.err, "");
    }
}

TEST(StreamlineEvenlyTest, TracingStopsBeforeRegisteredPointsButNotOnItsOwnCache) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint other(3.0f, 1.0f, 99, 0);
    set.registerPoint(&other);
    ASSERT_TRUE(set.traceEvenly(set.createPoint(1.0f, 1.0f)));
    const auto& points = set.streamlines()[0]->points;
    // Points 0.005 apart, far closer than dtest: the line's own newest points
    // are not registered yet, so it runs from the left edge ...
    EXPECT_LT(points.front()->x(), 0.005f + 1e-5f);
    // ... up to dtest before the foreign point.
    const float last = points.back()->x();
    EXPECT_LE(last, 2.8f);
    EXPECT_GT(last + 0.005f, 2.8f - 1e-5f);
    EXPECT_EQ(set.registeredCount(), static_cast<int>(points.size()) + 1);
}

const double kPi = 3.14159265358979323846;

struct FieldCase {
    const char* name;
    FlowBox box;
    VelocityField velocity;
    float dt, dsep, dtest;
};

TEST(StreamlineEvenlyTest, InvariantsHoldOnAnalyticFields) {
    const FieldCase cases[] = {
        {"double gyre", {65, 33, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(1 / kPi), 0.01f, 0.05f, 0.025f},
        {"slow gyre", {65, 33, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(0.1), 0.05f, 0.08f, 0.04f},
        {"gyre, defaults", {257, 129, 0.0f, 8.0f, 0.0f, 4.0f}, analytic::doubleGyre(1 / kPi, 4.0), 0.005f, 0.4f, 0.2f},
        {"off-centre rotation", {33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::rotation(0.3, 0.2), 0.02f, 0.1f, 0.05f},
        {"saddle", {33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::saddle(0.1, -0.2), 0.02f, 0.1f, 0.05f},
        {"vortex", {65, 65, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::vortex(0.05, 0.02, 0.25, 1.0), 0.01f, 0.07f, 0.03f},
        {"dtest above dsep", {33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::saddle(0.1, -0.2), 0.02f, 0.1f, 0.15f},
        {"long steps", {33, 17, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(0.5), 0.2f, 0.1f, 0.05f},
    };
    for (const FieldCase& c : cases) {
        AnalyticFlow flow = makeAnalyticFlow(c.box, c.velocity);
        for (int method = 0; method < 2; ++method) {
            SCOPED_TRACE(testing::Message() << c.name << (method ? ", midpoint" : ", Euler"));
            StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, c.dt, c.dsep, c.dtest);
            set.setIntegration(IntegrationMethod(method));
            const Output o = placeEvenly(set);
            ASSERT_FALSE(set.streamlines().empty());
            expectPlacementInvariants(set, o.out);
            // A second placement starts from scratch and repeats the first.
            const std::size_t lines = set.streamlines().size();
            const int points = pointsInLines(set);
            const Output again = placeEvenly(set);
            EXPECT_EQ(again.out, o.out);
            EXPECT_EQ(set.streamlines().size(), lines);
            EXPECT_EQ(pointsInLines(set), points);
        }
    }
}

TEST(StreamlineEvenlyTest, NaNPatchEndsLinesAndThePlacementCompletes) {
    const VelocityField gyre = analytic::doubleGyre(1 / kPi);
    auto patched = [gyre](double x, double y) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const double dx = x - 1.5;
        const double dy = y - 0.5;
        return dx * dx + dy * dy < 0.04 ? Velocity{nan, nan} : gyre(x, y);
    };
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{65, 33, 0.0f, 2.0f, 0.0f, 1.0f}, patched);
    for (int method = 0; method < 2; ++method) {
        StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.01f, 0.05f, 0.025f);
        set.setIntegration(IntegrationMethod(method));
        const Output o = placeEvenly(set);
        ASSERT_FALSE(set.streamlines().empty());
        expectPlacementInvariants(set, o.out);
    }
}

TEST(StreamlineEvenlyTest, SmallStepsDoNotCutALineShort) {
    // Half a line needs about 104000 steps to reach the edge of the box.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 3, 0.0f, 100.0f, 0.0f, 0.5f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.00048f, 0.4f, 0.2f);
    ASSERT_EQ(set.cacheCapacity(), 1000);
    const Output o = placeEvenly(set);
    ASSERT_EQ(set.streamlines().size(), 1u);
    const Streamline& line = *set.streamlines()[0];
    EXPECT_GT(line.points.size(), 208000u);
    EXPECT_LT(line.points.front()->x(), 0.00048f);
    EXPECT_GT(line.points.back()->x(), 100.0f - 0.00048f);
    EXPECT_EQ(line.startReason, TerminationReason::LeftDomain);
    EXPECT_EQ(line.endReason, TerminationReason::LeftDomain);
    expectPlacementInvariants(set, o.out);
}

TEST(StreamlineEvenlyTest, TheMemoryBudgetRefusesOrStopsAPlacementAndSaysSo) {
    // Lines 0.5 apart in steps of 2^-20 fill the box [0, 4] x [0, 2] with
    // 8 / 0.5 * 2^20 points, 48 bytes each: 768 MiB and the empty field's
    // 32 cells. A sixth of that fits in 256 MiB at three times the dsep.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet fine(flow.data.get(), flow.xSlot, flow.ySlot, 1.0f / 1048576.0f, 0.5f, 0.25f);
    EXPECT_EQ(fine.memoryBudget(), static_cast<double>(defaultMemoryBudgetMegabytes()) * 1048576.0);
    fine.setMemoryBudget(256.0 * 1048576.0);
    EXPECT_EQ(fine.estimateEvenlySpaced().points, 16777216.0);
    Output o = placeEvenly(fine);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err,
              "Streamlines not placed: about 16777216 points (769 MiB) would exceed the memory budget of 256 MiB; "
              "dsep 1.51 or larger would fit\n");
    EXPECT_TRUE(fine.limitedByBudget());
    EXPECT_TRUE(fine.streamlines().empty());
    EXPECT_LT(fine.memoryInUse(), 2.0 * 1048576.0);  // nothing was allocated for the points

    // Lines that never stop (a gyre traced with midpoint steps, dtest far
    // below the drift of one turn) outgrow the estimate: the placement
    // stops once its points would outgrow the budget.
    AnalyticFlow gyre = makeAnalyticFlow(FlowBox{65, 33, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(1 / kPi));
    StreamlineSet endless(gyre.data.get(), gyre.xSlot, gyre.ySlot, 0.01f, 0.1f, 1e-9f);
    endless.setIntegration(IntegrationMethod::RungeKutta);
    endless.setMemoryBudget(4.0 * 1048576.0);
    o = placeEvenly(endless);
    const int n = endless.theoreticalPoints();
    const long long expected = std::llround(endless.estimateEvenlySpaced().points);
    const std::string end = "Stopped after " + std::to_string(n) +
                            " points: the memory budget of 4 MiB is used up (about " + std::to_string(expected) +
                            " points were expected)\n" +
                            statistics(pointsInLines(endless), n, endless.registeredCount(),
                                       endless.theoreticalRegistered(), endless.cachedPoints()) +
                            kFieldOk;
    ASSERT_GE(o.out.size(), end.size());
    EXPECT_EQ(o.out.substr(o.out.size() - end.size()), end);
    EXPECT_TRUE(endless.limitedByBudget());
    EXPECT_GT(n, 50000);
    EXPECT_LE(endless.memoryInUse(), 4.0 * 1048576.0 + 1.5 * 1048576.0);  // within a chunk of the budget
    EXPECT_EQ(endless.streamlines().back()->endReason == TerminationReason::StepCap ||
                  endless.streamlines().back()->startReason == TerminationReason::StepCap,
              true);

    // With room enough, the same placement is not limited.
    StreamlineSet roomy(gyre.data.get(), gyre.xSlot, gyre.ySlot, 0.01f, 0.1f, 0.05f);
    placeEvenly(roomy);
    EXPECT_FALSE(roomy.limitedByBudget());
}

TEST(StreamlineEvenlyTest, ATinyBoxAtHugeCoordinatesIsAnsweredAtOnce) {
    // A box 1e20 wide near 3.5e25: steps of 0.005 cannot move a point there,
    // and lines dsep apart would need about 1e41 points. The estimate says so
    // before anything is traced.
    AnalyticFlow flow =
        makeAnalyticFlow(FlowBox{5, 5, 3.5e25f, 3.50001e25f, 3.5e25f, 3.50001e25f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    set.setMemoryBudget(1024.0 * 1048576.0);
    const Output o = placeEvenly(set);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err.rfind("Streamlines not placed: about ", 0), 0u) << o.err;
    EXPECT_NE(o.err.find(" would exceed the memory budget of 1024 MiB; dsep "), std::string::npos) << o.err;
    EXPECT_TRUE(set.streamlines().empty());
    EXPECT_EQ(set.theoreticalPoints(), 0);
}

TEST(StreamlineEvenlyTest, ProgressIsReportedBetweenLinesAndCanCancel) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{65, 33, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(1 / kPi));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.01f, 0.05f, 0.025f);
    std::vector<StreamlineSet::Progress> seen;
    set.setProgressObserver([&](const StreamlineSet::Progress& p) {
        seen.push_back(p);
        return true;
    });
    const Output all = placeEvenly(set);
    ASSERT_GT(seen.size(), set.streamlines().size() / 2);
    for (std::size_t k = 1; k < seen.size(); ++k) {
        ASSERT_GE(seen[k].points, seen[k - 1].points);
        ASSERT_GE(seen[k].lines, seen[k - 1].lines);
        ASSERT_GE(seen[k].covered, seen[k - 1].covered);
    }
    EXPECT_EQ(seen.back().lines, set.streamlines().size());
    EXPECT_EQ(seen.back().points, static_cast<std::size_t>(set.theoreticalPoints()));
    EXPECT_GT(seen.back().covered, 0.9);
    EXPECT_LE(seen.back().covered, 1.0);
    EXPECT_FALSE(set.cancelled());

    // Cancelled once three lines are placed: the three stay, with the reports.
    set.setProgressObserver([](const StreamlineSet::Progress& p) { return p.lines < 3; });
    const Output cancelled = placeEvenly(set);
    ASSERT_EQ(set.streamlines().size(), 3u);
    EXPECT_TRUE(set.cancelled());
    const int n = pointsInLines(set);
    const std::string end =
        "Placement cancelled after " + std::to_string(n) + " points\n" + statistics(n, n, n, n, n) + kFieldOk;
    ASSERT_GE(cancelled.out.size(), end.size());
    EXPECT_EQ(cancelled.out.substr(cancelled.out.size() - end.size()), end);
    expectPlacementInvariants(set, cancelled.out);

    // Without an observer the placement is the one it always was.
    set.setProgressObserver(nullptr);
    EXPECT_EQ(placeEvenly(set).out, all.out);
}

TEST(StreamlineEvenlyTest, UnusableParametersAreRefusedWithOneLine) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float dt, dsep, dtest;
        const char* message;
    };
    const Case cases[] = {
        {0.0f, 0.4f, 0.2f, "dt must be a positive number (dt = 0)"},
        {-0.005f, 0.4f, 0.2f, "dt must be a positive number (dt = -0.005)"},
        {nan, 0.4f, 0.2f, "dt must be a positive number (dt = nan)"},
        {0.005f, 0.0f, 0.2f, "dsep must be a positive number (dsep = 0)"},
        {0.005f, -0.4f, 0.2f, "dsep must be a positive number (dsep = -0.4)"},
        {0.005f, inf, 0.2f, "dsep must be a positive number (dsep = inf)"},
        {0.005f, 0.4f, 0.0f, "dtest must be a positive number (dtest = 0)"},
        {0.005f, 0.4f, -0.2f, "dtest must be a positive number (dtest = -0.2)"},
        {0.005f, 0.4f, nan, "dtest must be a positive number (dtest = nan)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
        placeEvenly(set);
        ASSERT_FALSE(set.streamlines().empty());
        set.setStepSize(c.dt);
        set.setSeparation(c.dsep);
        set.setTestDistance(c.dtest);
        const Output o = placeEvenly(set);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, std::string("Streamlines not placed: ") + c.message + "\n");
        EXPECT_TRUE(set.streamlines().empty());
        EXPECT_EQ(set.registeredCount(), 0);
        EXPECT_EQ(set.theoreticalPoints(), 0);
    }
}

TEST(StreamlineEvenlyTest, ClampedParametersAreReportedAndThePlacementRuns) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{33, 17, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(0.5));

    // dt beyond 1.2 dsep: one cache entry.
    StreamlineSet longSteps(flow.data.get(), flow.xSlot, flow.ySlot, 0.3f, 0.1f, 0.05f);
    Output o = placeEvenly(longSteps);
    EXPECT_EQ(o.out.rfind("dt = 0.3 is larger than 1.2 * dsep (dsep = 0.1): the point caches hold 1 point\n", 0), 0u)
        << o.out;
    EXPECT_EQ(longSteps.cacheCapacity(), 1);
    expectPlacementInvariants(longSteps, o.out);

    // dsep wider than the box height: one cell along y.
    StreamlineSet wide(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 1.5f, 0.2f);
    o = placeEvenly(wide);
    EXPECT_EQ(o.out.rfind("dsep = 1.5 is larger than the domain (2 x 1): the distance field has 1 x 1 cells\n", 0), 0u)
        << o.out;
    expectPlacementInvariants(wide, o.out);

    // Both at once: two lines, then the usual report.
    StreamlineSet both(flow.data.get(), flow.xSlot, flow.ySlot, 4.0f, 2.5f, 0.2f);
    o = placeEvenly(both);
    EXPECT_EQ(o.out.rfind("dt = 4 is larger than 1.2 * dsep (dsep = 2.5): the point caches hold 1 point\n"
                          "dsep = 2.5 is larger than the domain (2 x 1): the distance field has 1 x 1 cells\n",
                          0),
              0u)
        << o.out;
    EXPECT_NE(o.out.find("Cached points: "), std::string::npos);
    EXPECT_EQ(o.err, "");
}

// The window repeats these lines: the set keeps them, as printed, until the
// next placement.
TEST(StreamlineEvenlyTest, RefusalsAndWarningsAreKeptAsPrintedUntilTheNextPlacement) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{33, 17, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(0.5));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 4.0f, 2.5f, 0.2f);
    Output o = placeEvenly(set);
    EXPECT_EQ(set.refusal(), "");
    ASSERT_EQ(set.warnings().size(), 2u);
    EXPECT_EQ(o.out.rfind(set.warnings()[0] + "\n" + set.warnings()[1] + "\n", 0), 0u) << o.out;

    set.setSeparation(-0.01f);
    o = placeEvenly(set);
    EXPECT_EQ(set.refusal(), "Streamlines not placed: dsep must be a positive number (dsep = -0.01)");
    EXPECT_EQ(o.err, set.refusal() + "\n");
    EXPECT_TRUE(set.warnings().empty());

    set.setStepSize(0.005f);
    set.setSeparation(0.4f);
    set.setMemoryBudget(1024.0);
    o = placeEvenly(set);
    EXPECT_EQ(set.refusal().rfind("Streamlines not placed: about ", 0), 0u) << set.refusal();
    EXPECT_EQ(o.err, set.refusal() + "\n");
}

}  // namespace
