// Construction, settings, caches and the distance field of a StreamlineSet.

#include "streamlines/StreamlineSet.h"

#include "data/ColorRGBA.h"
#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

AnalyticFlow uniformFlow(float x1, float y1) {
    return makeAnalyticFlow(FlowBox{9, 9, 0.0f, x1, 0.0f, y1}, analytic::uniform(1.0f, 0.0f));
}

TEST(StreamlineSetTest, ConstructionStoresSettingsAndDefaults) {
    AnalyticFlow flow = uniformFlow(1.0f, 2.0f);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    EXPECT_EQ(set.cacheCapacity(), 96);
    EXPECT_EQ(set.dsepSquared(), 0.4f * 0.4f);
    EXPECT_EQ(set.dtestSquared(), 0.2f * 0.2f);
    const float limit = 0.999f * 0.4f;
    EXPECT_EQ(set.seedLimitSquared(), limit * limit);
    EXPECT_EQ(set.texturePeriod(), 160);
    EXPECT_EQ(set.integration(), IntegrationMethod::Euler);
    EXPECT_EQ(set.textureFunction(), 0);
    EXPECT_EQ(set.streamlineNumber(), 0);
    EXPECT_EQ(set.stepCounter(), 0);
    EXPECT_TRUE(set.streamlines().empty());
    const ColorRGBA* c = set.color();
    EXPECT_EQ(c->redByte, 255);
    EXPECT_EQ(c->greenByte, 255);
    EXPECT_EQ(c->blueByte, 255);
    EXPECT_EQ(c->alphaByte, 255);

    // dsep 0.4 across a box 1.0 wide: two cells of width 0.5.
    EXPECT_EQ(set.fieldCellsX(), 2);
    EXPECT_EQ(set.fieldCellWidth(), 0.5f);
    EXPECT_GE(set.fieldCellHeight(), 0.4f);
}

TEST(StreamlineSetTest, SettersResizeCachesAndRebuildTheFieldIndependently) {
    AnalyticFlow flow = uniformFlow(1.0f, 2.0f);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);

    set.setStepSize(0.01f);
    EXPECT_EQ(set.dt(), 0.01f);
    EXPECT_EQ(set.cacheCapacity(), 48);

    set.registerPoint(set.createPoint(0.3f, 0.3f));
    ASSERT_EQ(set.registeredCount(), 1);
    set.setSeparation(0.25f);
    EXPECT_EQ(set.cacheCapacity(), 30);  // now from dsep 0.25 and dt 0.01
    EXPECT_EQ(set.fieldCellsX(), 4);
    EXPECT_EQ(set.fieldCellsY(), 8);
    EXPECT_EQ(set.dsepSquared(), 0.25f * 0.25f);
    EXPECT_EQ(set.registeredCount(), 0);  // the rebuilt field starts empty

    set.setStepSize(0.005f);
    EXPECT_EQ(set.cacheCapacity(), 60);  // now from dsep 0.25

    set.setTestDistance(0.1f);
    EXPECT_EQ(set.dtestSquared(), 0.1f * 0.1f);

    set.setColor(0.5f, 0.0f, 1.0f);
    EXPECT_EQ(set.color()->redByte, 127);
    EXPECT_EQ(set.color()->greenByte, 0);
    EXPECT_EQ(set.color()->blueByte, 255);
    EXPECT_EQ(set.color()->alphaByte, 255);
}

// Every point of every line and everything the placement printed.
struct Placed {
    std::vector<std::vector<float>> lines;  // x, y, number, index of each point
    std::string printed;
    bool operator==(const Placed& o) const { return lines == o.lines && printed == o.printed; }
};

Placed placeEvenly(StreamlineSet& set) {
    Placed p;
    ConsoleCapture capture;
    set.computeEvenlySpaced();
    p.printed = capture.out() + capture.err();
    for (const auto& line : set.streamlines()) {
        std::vector<float> values;
        for (const StreamPoint* q : line->points)
            values.insert(values.end(),
                          {q->x(), q->y(), static_cast<float>(q->number()), static_cast<float>(q->index())});
        p.lines.push_back(values);
    }
    return p;
}

TEST(StreamlineSetTest, ThePlacementDependsOnlyOnTheSettingsInForce) {
    AnalyticFlow flow =
        makeAnalyticFlow(FlowBox{65, 33, 0.0f, 2.0f, 0.0f, 1.0f}, analytic::doubleGyre(1 / 3.14159265358979));
    const float dt = 0.01f;
    const float dsep = 0.15f;
    const float dtest = 0.05f;
    StreamlineSet fresh(flow.data.get(), flow.xSlot, flow.ySlot, dt, dsep, dtest);
    const Placed expected = placeEvenly(fresh);
    ASSERT_GT(expected.lines.size(), 5u);

    // The viewer starts from the panel's start values and places again after
    // every change, in whatever order the user makes them.
    StreamlineSet dsepFirst(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    placeEvenly(dsepFirst);
    dsepFirst.setSeparation(dsep);
    placeEvenly(dsepFirst);
    dsepFirst.setStepSize(dt);
    placeEvenly(dsepFirst);
    dsepFirst.setTestDistance(dtest);
    EXPECT_TRUE(placeEvenly(dsepFirst) == expected);

    StreamlineSet dtFirst(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    dtFirst.setTestDistance(dtest);
    dtFirst.setStepSize(0.002f);
    placeEvenly(dtFirst);
    dtFirst.setStepSize(dt);
    dtFirst.setSeparation(0.05f);
    placeEvenly(dtFirst);
    dtFirst.setSeparation(dsep);
    EXPECT_EQ(dtFirst.cacheCapacity(), fresh.cacheCapacity());
    EXPECT_TRUE(placeEvenly(dtFirst) == expected);
}

TEST(StreamlineSetTest, CacheAndFieldSizesStayUsableForAnyParameters) {
    AnalyticFlow flow = uniformFlow(1.0f, 2.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float dt, dsep;
        int capacity, cellsX, cellsY;
    };
    const Case cases[] = {
        {0.5f, 0.4f, 1, 2, 5},     // dt > 1.2 dsep: one cache entry
        {0.005f, 5.0f, -1, 1, 1},  // dsep wider than the box: one cell per axis
        {0.0f, 0.4f, 1, 2, 5},     // refused by the placement, but still usable
        {-0.1f, 0.4f, 1, 2, 5},
        {nan, 0.4f, 1, 2, 5},
        {0.005f, 0.0f, 1, 1, 1},
        {0.005f, -1.0f, 1, 1, 1},
        {0.005f, nan, 1, 1, 1},
        {0.005f, inf, 1, 1, 1},
        {1e-9f, 0.4f, 480000038, 2, 5},  // trunc(dsep / dt * 1.2) whatever its size
        {0.0005f, 0.4f, 960, 2, 5},
        {1e-9f, 1e-7f, -1, StreamlineSet::maxFieldCellsPerAxis, StreamlineSet::maxFieldCellsPerAxis},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dt " << c.dt << " dsep " << c.dsep);
        StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, c.dt, c.dsep, 0.2f);
        if (c.capacity > 0) {
            EXPECT_EQ(set.cacheCapacity(), c.capacity);
        }
        EXPECT_GE(set.cacheCapacity(), 1);
        EXPECT_EQ(set.fieldCellsX(), c.cellsX);
        EXPECT_EQ(set.fieldCellsY(), c.cellsY);
        EXPECT_EQ(set.fieldCellWidth(), 1.0f / static_cast<float>(c.cellsX));
        EXPECT_EQ(set.fieldCellHeight(), 2.0f / static_cast<float>(c.cellsY));
        // Every point of the box still lands in a real cell.
        EXPECT_EQ(set.cellIndexX(1.0f), c.cellsX - 1);
        EXPECT_EQ(set.cellIndexY(2.0f), c.cellsY - 1);
        EXPECT_EQ(set.cellIndexX(0.0f), 0);
    }
}

TEST(StreamlineSetTest, PointOnTheUpperBoundLandsInTheLastCell) {
    AnalyticFlow flow = uniformFlow(1.0f, 2.0f);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint* corner = set.createPoint(1.0f, 2.0f);
    set.registerPoint(corner);
    const auto& cell = set.cell(set.fieldCellsX() - 1, set.fieldCellsY() - 1);
    ASSERT_EQ(cell.size(), 1u);
    EXPECT_EQ(cell[0].point, corner);
    EXPECT_EQ(set.cellIndexX(0.49f), 0);
    EXPECT_EQ(set.cellIndexX(0.5f), 1);
}

// Cell indices are trunc((x - min) / cell size) in float, the upper bound
// folded into the last cell, however they are computed; positions a few
// units in the last place around every cell bound are where a shortcut
// would go wrong.
TEST(StreamlineSetTest, CellIndicesTruncateTheFloatQuotientAtEveryCellBound) {
    AnalyticFlow flow = makeAnalyticFlow({40, 30, -0.3f, 1.7f, 0.1f, 0.8f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.001f, 0.0137f, 0.005f);
    auto expected = [](float v, float min, float size, int count) {
        const int i = static_cast<int>((v - min) / size);
        return i == count ? count - 1 : i;
    };
    const DomainBox box = set.domainBox();
    int checked = 0;
    for (int axis = 0; axis < 2; ++axis) {
        const float min = axis == 0 ? box.xmin : box.ymin;
        const float max = axis == 0 ? box.xmax : box.ymax;
        const float size = axis == 0 ? set.fieldCellWidth() : set.fieldCellHeight();
        const int count = axis == 0 ? set.fieldCellsX() : set.fieldCellsY();
        ASSERT_GT(count, 50);
        for (int k = 0; k <= count; ++k) {
            float v = std::fmin(min + static_cast<float>(k) * size, max);
            for (int n = 0; n < 8; ++n) v = std::nextafter(v, min);
            for (int n = 0; n < 17 && v <= max; ++n, v = std::nextafter(v, max), ++checked) {
                if (v < min) continue;
                const int got = axis == 0 ? set.cellIndexX(v) : set.cellIndexY(v);
                ASSERT_EQ(got, expected(v, min, size, count)) << "axis " << axis << " at " << v;
            }
        }
    }
    EXPECT_GT(checked, 3000);
}

TEST(StreamlineSetTest, RegisteringAPointOffTheFieldReportsItAndStoresNothing) {
    AnalyticFlow flow = uniformFlow(1.0f, 2.0f);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);

    testing::internal::CaptureStdout();
    set.registerPoint(set.createPoint(-5.0f, 1.0f));
    set.registerPoint(set.createPoint(3.0f, -0.5f));
    set.registerPoint(set.createPoint(std::numeric_limits<float>::quiet_NaN(), 1.0f));
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(out,
              "Invalid x-Index: -10\n"
              "Invalid x-Index: 6\n"
              "Invalid y-Index: -1\n"
              "Invalid x-Index: -1\n");
    EXPECT_EQ(set.registeredCount(), 0);
    EXPECT_EQ(set.theoreticalRegistered(), 3);

    std::vector<StreamPoint*> batch = {set.createPoint(0.1f, 0.1f), set.createPoint(0.9f, 1.9f)};
    set.registerPoints(batch.data(), 2);
    set.registerPoints(batch.data(), 0);
    set.registerPoints(batch.data(), -3);
    EXPECT_EQ(set.registeredCount(), 2);
    EXPECT_EQ(set.theoreticalRegistered(), 5);
}

TEST(StreamlineSetTest, NeighbourhoodTestsAreStrictAndSeedsUseTheSeedLimit) {
    // dsep 0.5 and dtest 0.25 are exact in binary, so distances can be exact.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 9, 0.0f, 4.0f, 0.0f, 4.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.5f, 0.25f);
    set.registerPoint(set.createPoint(2.0f, 2.0f));

    StreamPoint atDsep(2.5f, 2.0f, 0, 0);
    StreamPoint insideLimit(2.0f, 2.499f, 0, 0);     // 0.499 < 0.999 * 0.5
    StreamPoint roundingShort(2.0f, 2.4999f, 0, 0);  // a hair short of dsep: still accepted
    EXPECT_FALSE(set.isSeedRejected(&atDsep));
    EXPECT_TRUE(set.isSeedRejected(&insideLimit));
    EXPECT_FALSE(set.isSeedRejected(&roundingShort));

    StreamPoint atDtest(2.25f, 2.0f, 0, 0);
    StreamPoint insideDtest(2.0f, 1.7501f, 0, 0);
    EXPECT_FALSE(set.isTooClose(&atDtest));
    EXPECT_TRUE(set.isTooClose(&insideDtest));

    // The domain test comes first, whatever the field holds.
    StreamPoint outside(4.001f, 1.0f, 0, 0);
    StreamPoint onBoundary(4.0f, 0.0f, 0, 0);
    StreamPoint notANumber(std::numeric_limits<float>::quiet_NaN(), 1.0f, 0, 0);
    EXPECT_TRUE(set.isSeedRejected(&outside));
    EXPECT_TRUE(set.isTooClose(&outside));
    EXPECT_FALSE(set.isSeedRejected(&onBoundary));
    EXPECT_TRUE(set.isSeedRejected(&notANumber));

    // Points more than one cell away are not seen (cells are at least dsep).
    set.registerPoint(set.createPoint(3.9f, 3.9f));
    StreamPoint far(0.1f, 0.1f, 0, 0);
    EXPECT_FALSE(set.isTooClose(&far));
}

TEST(StreamlineSetTest, NearestOtherDistanceSkipsTheOwnLineAndCapsAtDsep) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 9, 0.0f, 4.0f, 0.0f, 4.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.5f, 0.25f);
    StreamPoint own(2.0f, 2.1f, 7, 0);
    StreamPoint other(2.0f, 2.3f, 8, 0);
    StreamPoint far(2.0f, 2.9f, 9, 0);
    set.registerPoint(&own);
    set.registerPoint(&other);
    set.registerPoint(&far);

    StreamPoint p(2.0f, 2.0f, 7, 0);
    EXPECT_FLOAT_EQ(set.nearestOtherDistance(&p), 0.3f);
    StreamPoint lonely(0.2f, 0.2f, 7, 0);
    EXPECT_EQ(set.nearestOtherDistance(&lonely), 0.5f);
    // No box test: a point off the field is answered, not crashed on.
    StreamPoint off(-100.0f, 1e30f, 7, 0);
    EXPECT_EQ(set.nearestOtherDistance(&off), 0.5f);

    set.clearDistanceField();
    EXPECT_EQ(set.registeredCount(), 0);
    EXPECT_EQ(set.nearestOtherDistance(&p), 0.5f);
}

TEST(StreamlineSetTest, DistanceFieldCheckReportsMisplacedPoints) {
    AnalyticFlow flow = uniformFlow(1.0f, 2.0f);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint* p = set.createPoint(0.25f, 0.25f);
    set.registerPoint(p);

    testing::internal::CaptureStdout();
    set.checkDistanceField();
    EXPECT_EQ(
        testing::internal::GetCapturedStdout(),
        "Distance Field OK\nPlease wait for the changes to take place.\n This could be a short amount of time!\n");

    p->setX(0.75f);  // moved after registration: now outside cell (0, 0)
    testing::internal::CaptureStdout();
    set.checkDistanceField();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failure at x = 0, y = 0\nPoint: x: 0.75, y: 0.25\n");
}

TEST(StreamlineSetTest, DiscardFreesOnlyTheNewestPoint) {
    AnalyticFlow flow = uniformFlow(1.0f, 2.0f);
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    StreamPoint* a = set.createPoint(0.1f, 0.1f);
    StreamPoint* b = set.createPoint(0.2f, 0.2f);
    set.discardPoint(a);  // not the newest: kept until the next placement
    EXPECT_EQ(a->x(), 0.1f);
    set.discardPoint(b);
    StreamPoint* c = set.createPoint(0.3f, 0.3f);
    EXPECT_EQ(a->x(), 0.1f);
    EXPECT_EQ(c->x(), 0.3f);
    set.discardPoint(nullptr);
}

}  // namespace

TEST(StreamlineSetTest, DistanceFieldCheckAcceptsAPointOnARoundedCellBound) {
    // Cells of 0.4 on [0, 8]: x = 3.6f has cell index 9, while the float
    // bound 9 * 0.4f is 3.6000001 — the point is in its own cell all the same.
    AnalyticFlow flow = makeAnalyticFlow({33, 17, 0.0f, 8.0f, 0.0f, 4.0f}, [](double, double) {
        return Velocity{1.0f, 0.0f};
    });
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    ASSERT_EQ(set.fieldCellWidth(), 0.4f);
    StreamPoint* p = set.createPoint(3.6f, 2.0f);
    set.registerPoint(p);
    ASSERT_EQ(set.cellIndexX(p->x()), 9);
    ASSERT_GT(9.0f * 0.4f, p->x());
    testing::internal::CaptureStdout();
    set.checkDistanceField();
    EXPECT_EQ(
        testing::internal::GetCapturedStdout(),
        "Distance Field OK\nPlease wait for the changes to take place.\n This could be a short amount of time!\n");
}
