#include "tf/ColorChooser.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Rgba = std::array<int, 4>;

Rgba bytes(const ColorRGBA& c) { return {c.redByte, c.greenByte, c.blueByte, c.alphaByte}; }

struct ChooserTest : ::testing::Test {
    ColorChooser chooser{1.1f, 1.2f, 0.7f};
};

TEST_F(ChooserTest, GeometryFollowsSizeAndCentre) {
    EXPECT_NEAR(chooser.a, 0.275f, 1e-6f);
    EXPECT_NEAR(chooser.b, 0.6350853f, 1e-6f);
    EXPECT_FLOAT_EQ(chooser.redCorner.x, 0.65f);
    EXPECT_FLOAT_EQ(chooser.redCorner.y, 0.425f);
    EXPECT_FLOAT_EQ(chooser.greenCorner.x, 1.75f);
    EXPECT_FLOAT_EQ(chooser.blueCorner.x, 1.2f);
    EXPECT_NEAR(chooser.blueCorner.y, 1.3350853f, 1e-6f);
    EXPECT_NEAR(chooser.h, 0.9100853f, 1e-6f);
    EXPECT_FLOAT_EQ(chooser.barLeft, 0.65f);
    EXPECT_FLOAT_EQ(chooser.barBottom, 0.175f);
    EXPECT_FLOAT_EQ(chooser.barWidth, 1.1f);
    EXPECT_EQ(bytes(chooser.current()), (Rgba{127, 127, 127, 255}));
}

TEST_F(ChooserTest, CornerPicksGiveThatCornersColourWithTheSkewOfTheTriangle) {
    chooser.pickFromTriangle(chooser.redCorner.x, chooser.redCorner.y);
    EXPECT_EQ(bytes(chooser.current()), (Rgba{255, 0, 8, 255}));
    chooser.pickFromTriangle(chooser.greenCorner.x, chooser.greenCorner.y);
    EXPECT_EQ(bytes(chooser.current()), (Rgba{0, 255, 8, 255}));
    chooser.pickFromTriangle(chooser.blueCorner.x, chooser.blueCorner.y);
    const Rgba blue = bytes(chooser.current());
    EXPECT_EQ(blue[2], 255);
    EXPECT_EQ(blue[0] + blue[1], 8);
}

TEST_F(ChooserTest, EdgesBlendTheirTwoCornersAndTheInsideMixesAllThree) {
    const float midX = (chooser.redCorner.x + chooser.greenCorner.x) / 2.0f;
    chooser.pickFromTriangle(midX, chooser.redCorner.y);
    Rgba c = bytes(chooser.current());
    EXPECT_GE(c[0], 254);
    EXPECT_GE(c[1], 254);
    EXPECT_EQ(c[2], 0);

    chooser.pickFromTriangle(0.8f, chooser.redCorner.y);  // 0.15 from red, 0.95 from green
    c = bytes(chooser.current());
    EXPECT_EQ(c[0], 255);
    EXPECT_EQ(c[1], 40);  // 1.1 / 0.95 - 1 = 0.158
    EXPECT_EQ(c[2], 0);

    // The centre of the triangle is a mix of all three, none saturated.
    const float cx = (chooser.redCorner.x + chooser.greenCorner.x + chooser.blueCorner.x) / 3.0f;
    const float cy = (chooser.redCorner.y + chooser.greenCorner.y + chooser.blueCorner.y) / 3.0f;
    ASSERT_TRUE(chooser.inTriangle(cx, cy));
    chooser.pickFromTriangle(cx, cy);
    c = bytes(chooser.current());
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(c[i], 30) << i;
        EXPECT_LT(c[i], 220) << i;
    }
}

TEST_F(ChooserTest, PicksKeepAlpha) {
    chooser.setCurrent(ColorRGBA(1, 2, 3, 77));
    chooser.pickFromTriangle(1.2f, 0.7f);
    EXPECT_EQ(chooser.current().alphaByte, 77);
    chooser.pickFromBar(1.0f);
    EXPECT_EQ(chooser.current().alphaByte, 77);
}

TEST(ChooserTie, TwoFarthestCornersTieTowardTheRedFarthestSide) {
    // Centre at the origin: on x = 0 red and green are exactly equally far.
    ColorChooser chooser(1.0f, 0.0f, 0.0f);
    const float y = 0.2f;
    chooser.pickFromTriangle(0.0f, y);
    const Rgba tie = bytes(chooser.current());
    chooser.pickFromTriangle(1e-5f, y);  // red strictly farthest
    const Rgba redFar = bytes(chooser.current());
    chooser.pickFromTriangle(-1e-5f, y);  // green strictly farthest
    const Rgba greenFar = bytes(chooser.current());
    EXPECT_EQ(tie, redFar);
    EXPECT_NE(tie, greenFar);
}

TEST_F(ChooserTest, BarRunsFromWhiteAtTheLeftToBlackAtTheRight) {
    chooser.pickFromBar(chooser.barLeft);
    EXPECT_EQ(bytes(chooser.current()), (Rgba{255, 255, 255, 255}));
    chooser.pickFromBar(chooser.barLeft + chooser.barWidth);
    EXPECT_EQ(bytes(chooser.current()), (Rgba{0, 0, 0, 255}));
    chooser.pickFromBar(chooser.barLeft + chooser.barWidth / 4.0f);
    EXPECT_EQ(bytes(chooser.current()), (Rgba{191, 191, 191, 255}));
}

TEST_F(ChooserTest, HitTestsCoverTriangleAndBarWithBoundsAndNeverOverlap) {
    EXPECT_TRUE(chooser.inTriangle(1.2f, 0.7f));
    EXPECT_TRUE(chooser.inTriangle(chooser.redCorner.x, chooser.redCorner.y));
    EXPECT_FALSE(chooser.inTriangle(0.7f, 1.2f));
    EXPECT_FALSE(chooser.inTriangle(1.2f, 0.4f));
    EXPECT_TRUE(chooser.inBar(chooser.barLeft, chooser.barBottom));
    EXPECT_TRUE(chooser.inBar(chooser.barLeft + chooser.barWidth, chooser.barBottom + ColorChooser::barHeight));
    EXPECT_FALSE(chooser.inBar(chooser.barLeft - 0.001f, 0.2f));
    EXPECT_FALSE(chooser.inBar(1.0f, 0.33f));
    int inTriangle = 0, inBar = 0;
    for (int i = 0; i <= 200; ++i) {
        for (int j = 0; j <= 200; ++j) {
            const float x = 0.5f + 1.4f * static_cast<float>(i) / 200.0f;
            const float y = 0.1f + 1.3f * static_cast<float>(j) / 200.0f;
            const bool t = chooser.inTriangle(x, y);
            const bool b = chooser.inBar(x, y);
            ASSERT_FALSE(t && b) << x << ", " << y;
            inTriangle += t;
            inBar += b;
        }
    }
    EXPECT_GT(inTriangle, 1000);
    EXPECT_GT(inBar, 1000);
}

}  // namespace
