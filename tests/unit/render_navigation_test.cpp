// Wheel, drag and key navigation: the view point under the pointer stays
// put, drags scale with the view, and the view never degenerates.
#include "render/FieldFit.h"
#include "common/MouseCodes.h"
#include "render/Navigation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kLeft = mouse::leftButton;
constexpr int kMiddle = mouse::middleButton;
constexpr int kRight = mouse::rightButton;
constexpr int kDown = mouse::pressed;
constexpr int kUp = mouse::released;

// A wide field view right of a 240-pixel panel, and a tall one whose base
// view is widened.
const FieldView kWide{240, 0, 784, 560, 1.0f};
const FieldView kTall{22, 0, 300, 500, 1.3f};

struct Point {
    double x, y;
};

Point at(const Navigation& nav, int px, int py, const FieldView& view) {
    Point p{};
    nav.viewPoint(px, py, view, p.x, p.y);
    return p;
}

double halfHeight(const Camera& camera, const FieldView& view) {
    const Camera::OrthoBox box = camera.projectionBox(view.aspect(), view.fit);
    return (box.top - box.bottom) / 2.0 * std::min(1.0f, view.aspect());
}

}  // namespace

TEST(Navigation, WheelZoomKeepsTheViewPointUnderThePointer) {
    for (const FieldView& view : {kWide, kTall}) {
        Camera camera;
        camera.translationX = 0.05f;
        camera.translationY = -0.1f;
        Navigation nav(camera);
        const int px = view.x + view.width / 5;
        const int py = view.y + view.height * 3 / 4;
        const Point before = at(nav, px, py, view);
        const double h = halfHeight(camera, view);
        nav.zoomAt(1.0 / Navigation::wheelZoomStep, px, py, view);
        const Point in = at(nav, px, py, view);
        EXPECT_NEAR(in.x, before.x, 1e-6);
        EXPECT_NEAR(in.y, before.y, 1e-6);
        EXPECT_NEAR(halfHeight(camera, view), h / Navigation::wheelZoomStep, 1e-6);
        for (int i = 0; i < 3; ++i) nav.zoomAt(Navigation::wheelZoomStep, px, py, view);
        const Point out = at(nav, px, py, view);
        EXPECT_NEAR(out.x, before.x, 1e-6);
        EXPECT_NEAR(out.y, before.y, 1e-6);
        EXPECT_NEAR(halfHeight(camera, view), h * Navigation::wheelZoomStep * Navigation::wheelZoomStep, 1e-5);
    }
}

TEST(Navigation, ZoomStaysBetweenItsBoundsAndMendsATurnedView) {
    Camera camera;
    Navigation nav(camera);
    const double base = Camera::baseHalfHeight;
    for (int i = 0; i < 200; ++i) nav.zoomAt(1.0 / 1.2, 300, 100, kWide);
    EXPECT_NEAR(halfHeight(camera, kWide), base * Navigation::minScale, 1e-7);
    EXPECT_GT(camera.zoom, -Camera::baseHalfHeight);
    for (int i = 0; i < 400; ++i) nav.zoomAt(1.2, 300, 100, kWide);
    EXPECT_NEAR(halfHeight(camera, kWide), base * Navigation::maxScale, 1e-4);

    // An options file may hold a zoom that turns the view over: the next
    // zoom starts again from the smallest sound view.
    camera.reset();
    camera.zoom = -1.0f;
    nav.zoomCentre(1.0 / Navigation::keyZoomStep, kWide);
    const Camera::OrthoBox box = camera.projectionBox(kWide.aspect());
    EXPECT_LT(box.left, box.right);
    EXPECT_LT(box.bottom, box.top);
}

TEST(Navigation, ALeftDragZoomsAboutItsStartByFourPerViewHeight) {
    Camera camera;
    camera.translationX = -0.2f;
    Navigation nav(camera);
    const int px = 500;
    const int py = 150;
    const Point anchor = at(nav, px, py, kWide);
    const double h = halfHeight(camera, kWide);
    nav.mouse(kLeft, kDown, px, py, kWide, true);
    // Many small moves or one jump to the same place: the same view.
    for (int y = py; y <= py + kWide.height / 2; y += 7) nav.motion(px + 40, y, kWide);
    nav.motion(px + 40, py + kWide.height / 2, kWide);
    EXPECT_NEAR(halfHeight(camera, kWide), h * 2.0, 1e-6) << "half the view's height down zooms out twice";
    const Point still = at(nav, px, py, kWide);
    EXPECT_NEAR(still.x, anchor.x, 1e-6);
    EXPECT_NEAR(still.y, anchor.y, 1e-6);
    nav.motion(px, py - kWide.height, kWide);
    EXPECT_NEAR(halfHeight(camera, kWide), h / 4.0, 1e-6) << "the view's height up zooms in four times";
    nav.motion(px, py, kWide);
    nav.mouse(kLeft, kUp, px, py, kWide, true);
    EXPECT_FLOAT_EQ(camera.zoom, 0.0f);
    EXPECT_FLOAT_EQ(camera.translationX, -0.2f);
    EXPECT_FLOAT_EQ(camera.translationY, 0.0f);
}

TEST(Navigation, RightAndMiddleDragsInTheViewMoveThePictureWithThePointer) {
    for (int button : {kRight, kMiddle}) {
        Camera camera;
        Navigation nav(camera);
        const Point grabbed = at(nav, 400, 300, kWide);
        nav.mouse(button, kDown, 400, 300, kWide, true);
        nav.motion(430, 280, kWide);
        nav.motion(470, 250, kWide);
        nav.mouse(button, kUp, 470, 250, kWide, true);
        const Point under = at(nav, 470, 250, kWide);
        EXPECT_NEAR(under.x, grabbed.x, 1e-6) << button;
        EXPECT_NEAR(under.y, grabbed.y, 1e-6) << button;
        EXPECT_FLOAT_EQ(camera.zoom, 0.0f);
    }
    // Below the field view (the editor's strip) a right drag is the editor's.
    Camera camera;
    Navigation nav(camera);
    nav.mouse(kRight, kDown, 400, kWide.height + 20, kWide, true);
    nav.motion(500, kWide.height + 10, kWide);
    EXPECT_EQ(camera.translationX, 0.0f);
    EXPECT_EQ(camera.translationY, 0.0f);
}

TEST(Navigation, TheCamerasOwnDragsStayAsTheyWere) {
    // Left and right held together pan by the offset from the left press.
    Camera camera;
    Navigation nav(camera);
    nav.mouse(kLeft, kDown, 100, 200, kWide, true);
    nav.mouse(kRight, kDown, 100, 200, kWide, true);
    nav.motion(150, 250, kWide);
    EXPECT_FLOAT_EQ(camera.translationX, 0.005f);
    EXPECT_FLOAT_EQ(camera.translationY, 0.005f);
    EXPECT_FLOAT_EQ(camera.zoom, 0.0f);

    // Without the scaled zoom drag a left drag adds its offset every event.
    Camera plain;
    Navigation classic(plain);
    classic.mouse(kLeft, kDown, 100, 200, kWide, false);
    classic.motion(100, 300, kWide);
    classic.motion(100, 300, kWide);
    EXPECT_FLOAT_EQ(plain.zoom, 0.02f);
}

TEST(Navigation, KeyStepsZoomAboutTheMiddleAndPanByPixels) {
    Camera camera;
    Navigation nav(camera);
    const Point middle = at(nav, kWide.x + kWide.width / 2, kWide.height / 2, kWide);
    nav.zoomCentre(1.0 / Navigation::keyZoomStep, kWide);
    EXPECT_NEAR(halfHeight(camera, kWide), Camera::baseHalfHeight / Navigation::keyZoomStep, 1e-6);
    const Point after = at(nav, kWide.x + kWide.width / 2, kWide.height / 2, kWide);
    EXPECT_NEAR(after.x, middle.x, 1e-3);
    EXPECT_NEAR(after.y, middle.y, 1e-3);
    // A pan of one view width moves the view by its whole width.
    const Camera::OrthoBox before = camera.projectionBox(kWide.aspect());
    nav.panPixels(-kWide.width, 0, kWide);
    const Camera::OrthoBox moved = camera.projectionBox(kWide.aspect());
    EXPECT_NEAR(moved.left, before.right, 1e-5);
    EXPECT_NEAR(moved.bottom, before.bottom, 1e-7);
}

TEST(FieldFit, OnlyViewsTooSmallForTheLegendAreWidened) {
    // The legend of a 700-row view: bars and labels in rows 55 to 224, 56 pixels wide.
    const LegendColumns tallLegend{56, 0, 55, 224};
    // The usual window (and the field above the editor): every quad fits beside the legend.
    for (const auto& quad : {std::pair<float, float>{1.3f, 1.3f}, {1.3f, 0.65f}, {0.65f, 1.3f}}) {
        EXPECT_EQ(legendFit(784, 700, quad.first, quad.second, tallLegend), 1.0f);
        EXPECT_EQ(legendFit(784, 560, quad.first, quad.second, tallLegend), 1.0f);
    }
    // A small view: widened just so far that the square quad's left edge
    // clears the legend column (or the arrow legend's at the right).
    const int w = 378;
    const int h = 300;
    for (const LegendColumns& legend : {LegendColumns{56, 0, 15, 184}, LegendColumns{20, 56, 15, 184}}) {
        const float fit = legendFit(w, h, 1.3f, 1.3f, legend);
        ASSERT_GT(fit, 1.0f);
        const double halfWidth = Camera::baseHalfHeight * fit * w / h;
        const double quadLeft = w / 2.0 - 0.65 / halfWidth * w / 2.0;
        EXPECT_NEAR(quadLeft, 56, 0.01);
    }
    // A quad too flat to reach the legend's rows is left alone.
    EXPECT_EQ(legendFit(300, 700, 1.3f, 0.2f, tallLegend), 1.0f);
    EXPECT_GT(legendFit(300, 700, 1.3f, 1.3f, tallLegend), 1.0f);
}

TEST(FieldFit, AxesKeepTheirLabelsBesideTheLegendAndBelowTheQuadFree) {
    // 40 pixels for the y labels right of the 56-pixel legend column: the
    // wide quad's left edge moves to 96 pixels.
    const float wide = legendFit(784, 700, 1.3f, 0.65f, LegendColumns{56, 0, 55, 224, 40, 30});
    EXPECT_NEAR(392.0 - 0.65 / (Camera::baseHalfHeight * wide * 784 / 700) * 392.0, 96.0, 0.01);
    // 30 rows for the x labels: the tall quad's bottom edge rises to row 670.
    const float tall = legendFit(784, 700, 0.65f, 1.3f, LegendColumns{0, 0, 0, 0, 0, 30});
    EXPECT_NEAR(350.0 + 0.65 / (Camera::baseHalfHeight * tall) * 350.0, 670.0, 0.01);
}
