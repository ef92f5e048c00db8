#include "render/Camera.h"

#include <gtest/gtest.h>

TEST(CameraInput, ZoomPanAndReset) {
    Camera c;
    c.mouse(0, 0, 100, 200);  // left press records the position
    c.motion(100, 300);
    c.motion(100, 300);
    EXPECT_FLOAT_EQ(c.zoom, 0.02f);
    c.mouse(2, 0, 5, 5);  // right press does not move the press point
    EXPECT_EQ(c.pressX, 100);
    c.motion(150, 250);
    EXPECT_FLOAT_EQ(c.translationX, 0.005f);
    EXPECT_FLOAT_EQ(c.translationY, 0.005f);
    EXPECT_FLOAT_EQ(c.zoom, 0.02f);
    c.mouse(0, 1, 0, 0);
    c.motion(500, 500);  // right alone: nothing
    EXPECT_FLOAT_EQ(c.translationX, 0.005f);
    c.reset();
    EXPECT_EQ(c.zoom, 0.0f);
    EXPECT_FALSE(c.rightDown);
    EXPECT_EQ(c.pressX, 0);
}

TEST(CameraProjection, AspectRulesAndFlip) {
    Camera c;
    c.translationX = 0.1f;
    c.translationY = 0.2f;
    Camera::OrthoBox wide = c.projectionBox(2.0f);
    EXPECT_FLOAT_EQ(wide.left, -1.4f - 0.1f);
    EXPECT_FLOAT_EQ(wide.right, 1.4f - 0.1f);
    EXPECT_FLOAT_EQ(wide.bottom, 0.2f - 0.7f);
    EXPECT_FLOAT_EQ(wide.top, 0.2f + 0.7f);
    EXPECT_EQ(wide.farPlane, 15.0);
    Camera::OrthoBox tall = c.projectionBox(0.5f);  // narrower than tall: the pan applies too
    EXPECT_FLOAT_EQ(tall.left, -0.7f - 0.1f);
    EXPECT_FLOAT_EQ(tall.top, 0.2f + 1.4f);
    c.zoom = -1.0f;  // below -0.7 the view turns over
    Camera::OrthoBox flipped = c.projectionBox(0.5f);
    EXPECT_GT(flipped.left, flipped.right);
}
