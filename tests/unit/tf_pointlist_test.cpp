#include "tf/TfPointList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const ColorRGBA black(0, 0, 0, 255);
const ColorRGBA white(255, 255, 255, 255);

std::vector<float> positions(const TfPointList& list) {
    std::vector<float> out;
    for (const TfPoint* p = list.first(); p; p = p->next.get()) out.push_back(p->position);
    return out;
}

// Markers 0.5 wide (pick tolerance 0.25): exact binary fractions keep the
// boundary cases exact.
struct PointListTest : ::testing::Test {
    TfPointList list{0.5f};
    void SetUp() override { list.setPoints({TfPoint(0.0f, 0.5f, black), TfPoint(4.0f, 0.5f, white)}); }
};

TEST_F(PointListTest, InsertsOnlyAFullMarkerWidthFromBothNeighbours) {
    list.addPoint(2.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 2.0f, 4.0f}));
    const TfPoint* added = list.first()->next.get();
    EXPECT_EQ(added->markerWidth, 0.5f);
    EXPECT_EQ(added->color.redByte, 255);
    EXPECT_EQ(added->color.greenByte, 0);
    EXPECT_EQ(added->color.alphaByte, 255);

    list.addPoint(2.4f, 0.0f, 1.0f, 0.0f);  // within one width of 2.0
    list.addPoint(1.6f, 0.0f, 1.0f, 0.0f);
    list.addPoint(0.4f, 0.0f, 1.0f, 0.0f);  // beyond the first point's half marker, within its width
    list.addPoint(3.6f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 2.0f, 4.0f}));

    list.addPoint(2.5f, 0.0f, 1.0f, 0.0f);  // exactly one width away counts
    list.addPoint(0.5f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 0.5f, 2.0f, 2.5f, 4.0f}));

    list.addPoint(-0.1f, 0.0f, 0.0f, 1.0f);  // no pair of neighbours around it
    list.addPoint(4.1f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(list.count(), 5);
}

TEST_F(PointListTest, AddingOnTheInnerHalfOfAnEndMarkerRecoloursThatEnd) {
    list.addPoint(0.0f, 1.0f, 0.0f, 0.0f);
    list.addPoint(4.0f, 0.0f, 0.0f, 1.0f);
    ASSERT_EQ(positions(list), (std::vector<float>{0.0f, 4.0f}));
    EXPECT_EQ(list.first()->color.redByte, 255);
    EXPECT_EQ(list.first()->next->color.blueByte, 255);
    EXPECT_EQ(list.first()->next->color.redByte, 0);

    list.addPoint(0.25f, 0.0f, 1.0f, 0.0f);  // the edges of the half markers still recolour
    list.addPoint(3.75f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 4.0f}));
    EXPECT_EQ(list.first()->color.greenByte, 255);
    EXPECT_EQ(list.first()->next->color.greenByte, 255);
}

TEST_F(PointListTest, ARecolouredEndTakesTheNewWidthAndTheFixedEndPosition) {
    list.setPoints({TfPoint(0.0f, 1.0f, black), TfPoint(1.0f, 1.0f, black), TfPoint(3.0f, 1.0f, white)});
    list.addPoint(2.6f, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 1.0f, 4.0f}));
    list.addPoint(0.4f, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 1.0f, 4.0f}));
    EXPECT_EQ(list.first()->markerWidth, 0.5f);
    EXPECT_EQ(list.first()->next->next->markerWidth, 0.5f);
    EXPECT_EQ(list.first()->next->markerWidth, 1.0f);
}

TEST_F(PointListTest, RemovesOnlyTheInteriorPointHit) {
    list.addPoint(1.0f, 1.0f, 0.0f, 0.0f);
    list.addPoint(3.0f, 1.0f, 0.0f, 0.0f);
    list.removePointAt(0.0f);
    list.removePointAt(4.0f);
    list.removePointAt(2.0f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 1.0f, 3.0f, 4.0f}));
    list.removePointAt(3.2f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 1.0f, 4.0f}));

    // A hit on an end point does not end the search for an interior point.
    list.setPoints({TfPoint(0.0f, 1.0f, black), TfPoint(0.3f, 0.5f, black), TfPoint(4.0f, 0.5f, white)});
    list.removePointAt(0.2f);
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 4.0f}));
}

TEST_F(PointListTest, HitsAreStrictlyInsideTheMarker) {
    list.addPoint(2.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_TRUE(list.isPointAt(2.2f));
    EXPECT_TRUE(list.isPointAt(1.8f));
    EXPECT_FALSE(list.isPointAt(2.25f));
    EXPECT_FALSE(list.isPointAt(1.75f));
    EXPECT_TRUE(list.isPointAt(-0.2f));
    EXPECT_FALSE(list.isPointAt(1.0f));
}

TEST_F(PointListTest, SelectionSetsFlagsAndNeighbourLimits) {
    list.setPoints({TfPoint(0.0f, 0.5f, black), TfPoint(2.0f, 0.5f, black), TfPoint(3.0f, 0.25f, black),
                    TfPoint(4.0f, 0.5f, white)});
    list.selectPointAt(1.0f);
    EXPECT_EQ(list.selected, nullptr);

    list.selectPointAt(2.1f);
    ASSERT_NE(list.selected, nullptr);
    EXPECT_EQ(list.selected->position, 2.0f);
    EXPECT_FALSE(list.selectedIsFirst);
    EXPECT_FALSE(list.selectedIsLast);
    EXPECT_EQ(list.lowerLimit, 0.5f);
    EXPECT_EQ(list.upperLimit, 2.75f);

    list.selectPointAt(3.9f);
    EXPECT_TRUE(list.selectedIsLast);
    EXPECT_FALSE(list.selectedIsFirst);
    list.moveSelected(3.5f);
    EXPECT_EQ(list.selected->position, 4.0f);

    list.selectPointAt(0.1f);
    EXPECT_TRUE(list.selectedIsFirst);
    EXPECT_FALSE(list.selectedIsLast);
    list.moveSelected(1.0f);
    EXPECT_EQ(list.selected->position, 0.0f);
}

TEST_F(PointListTest, DraggingStopsOneNeighbourWidthShortAndIgnoresTheLimitsThemselves) {
    list.setPoints({TfPoint(0.0f, 0.5f, black), TfPoint(2.0f, 0.5f, black), TfPoint(3.0f, 0.25f, black),
                    TfPoint(4.0f, 0.5f, white)});
    list.selectPointAt(2.0f);
    TfPoint* point = list.selected;
    list.moveSelected(1.25f);
    EXPECT_EQ(point->position, 1.25f);
    list.moveSelected(3.5f);
    EXPECT_EQ(point->position, 2.75f);
    list.moveSelected(-1.0f);
    EXPECT_EQ(point->position, 0.5f);
    list.moveSelected(1.5f);
    list.moveSelected(2.75f);  // exactly on a limit: stays
    EXPECT_EQ(point->position, 1.5f);
    list.moveSelected(0.5f);
    EXPECT_EQ(point->position, 1.5f);
}

TEST_F(PointListTest, CrossedLimitsSendLowXToTheLowerLimitAndAllElseToTheUpper) {
    list.setPoints({TfPoint(0.0f, 1.0f, black), TfPoint(0.875f, 0.5f, black), TfPoint(1.5f, 1.0f, black),
                    TfPoint(4.0f, 0.5f, white)});
    list.selectPointAt(0.9f);
    ASSERT_NE(list.selected, nullptr);
    EXPECT_EQ(list.lowerLimit, 1.0f);
    EXPECT_EQ(list.upperLimit, 0.5f);
    list.moveSelected(0.75f);
    EXPECT_EQ(list.selected->position, 1.0f);
    list.moveSelected(1.0f);
    EXPECT_EQ(list.selected->position, 0.5f);
    list.moveSelected(0.25f);
    EXPECT_EQ(list.selected->position, 1.0f);
    list.moveSelected(3.0f);
    EXPECT_EQ(list.selected->position, 0.5f);
}

TEST_F(PointListTest, RecolouringKeepsAlphaAndReachesEndPoints) {
    list.setPoints({TfPoint(0.0f, 0.5f, ColorRGBA(0, 0, 0, 40)), TfPoint(2.0f, 0.5f, ColorRGBA(0, 0, 0, 90)),
                    TfPoint(4.0f, 0.5f, white)});
    list.setColorAt(2.1f, 1.0f, 0.5f, 0.25f);
    const ColorRGBA& c = list.first()->next->color;
    EXPECT_EQ(c.redByte, 255);
    EXPECT_EQ(c.greenByte, 127);
    EXPECT_EQ(c.blueByte, 63);
    EXPECT_EQ(c.alphaByte, 90);
    list.setColorAt(0.1f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(list.first()->color.greenByte, 255);
    EXPECT_EQ(list.first()->color.alphaByte, 40);
    list.setColorAt(1.0f, 1.0f, 1.0f, 1.0f);  // between markers: nothing
    EXPECT_EQ(list.first()->color.redByte, 0);
    EXPECT_EQ(c.blueByte, 63);
}

TEST_F(PointListTest, SetPointsChainsInGivenOrderAndClearEmpties) {
    list.setPoints({TfPoint(0.0f, 0.5f, black), TfPoint(3.0f, 0.25f, white), TfPoint(1.0f, 0.75f, black),
                    TfPoint(4.0f, 0.5f, white)});
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 3.0f, 1.0f, 4.0f}));
    EXPECT_EQ(list.first()->next->markerWidth, 0.25f);
    EXPECT_EQ(list.first()->next->next->next->next, nullptr);
    list.clear();
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_FALSE(list.isPointAt(0.0f));
}

TEST_F(PointListTest, ASelectedPointThatIsReleasedIsForgotten) {
    list.addPoint(2.0f, 1.0f, 0.0f, 0.0f);
    list.selectPointAt(2.0f);
    list.removePointAt(2.0f);
    EXPECT_EQ(list.selected, nullptr);
    list.moveSelected(1.0f);  // must not touch the released point
    EXPECT_EQ(positions(list), (std::vector<float>{0.0f, 4.0f}));

    list.addPoint(2.0f, 1.0f, 0.0f, 0.0f);
    list.selectPointAt(2.0f);
    list.clear();
    EXPECT_EQ(list.selected, nullptr);
}

TEST(PointListLong, ALongChainIsReleasedWithoutDeepRecursion) {
    std::vector<TfPoint> many;
    for (int i = 0; i < 1000000; ++i) many.emplace_back(static_cast<float>(i) * 4e-6f, 0.5f, black);
    TfPointList list(0.5f);
    list.setPoints(std::move(many));
    EXPECT_EQ(list.count(), 1000000);
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

}  // namespace
