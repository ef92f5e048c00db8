// Zoom and pan of the real window: the wheel zooms about the pointer, drags
// move or zoom the picture by the pointer's travel, keys step, reset, save a
// picture and quit. Each check measures the field quad in a screenshot.

#include "support/PanelDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace panel_e2e;

namespace {

// Edges of the quad as pixel boundaries: the first lit column and row, and
// one past the last.
struct Edges {
    double left = 0, top = 0, right = 0, bottom = 0;
};

::testing::AssertionResult near(const Edges& got, const Edges& want, double tolerance) {
    const double worst = std::max({std::fabs(got.left - want.left), std::fabs(got.top - want.top),
                                   std::fabs(got.right - want.right), std::fabs(got.bottom - want.bottom)});
    if (worst <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "edges (" << got.left << ", " << got.top << ")-(" << got.right << ", "
                                         << got.bottom << ") instead of (" << want.left << ", " << want.top << ")-("
                                         << want.right << ", " << want.bottom << ")";
}

// Edges scaled by `factor` about the middle of pixel (px, py), or moved.
Edges scaled(const Edges& e, double px, double py, double factor) {
    const double cx = px + 0.5;
    const double cy = py + 0.5;
    return {cx + (e.left - cx) * factor, cy + (e.top - cy) * factor, cx + (e.right - cx) * factor,
            cy + (e.bottom - cy) * factor};
}
Edges moved(const Edges& e, double dx, double dy) { return {e.left + dx, e.top + dy, e.right + dx, e.bottom + dy}; }

class Navigation : public ViewerFolderTest {
protected:
    void SetUp() override {
        ViewerFolderTest::SetUp();
        ASSERT_TRUE(start({"-datafile", "flow.gri"}).ok());
        initial = quad(shot());
    }

    // A screenshot taken with the "s" key, the pointer resting in the view.
    Image shot() { return viewer->keyScreenshot(dir.path(), kLeft + 700, 650); }

    // The field quad of a screenshot: lit pixels right of the legend and
    // below the status line.
    static Edges quad(const Image& image) {
        const Box b = litBox(image, 60, StatusReferences::kRows);
        return {static_cast<double>(b.x0), static_cast<double>(b.y0), b.x1 + 1.0, b.y1 + 1.0};
    }

    static constexpr int kLeft = PanelViewer::panelWidth;  // the graphics area's first column
    Edges initial;  // the quad at the reset view
};

}  // namespace

TEST_F(Navigation, TheWheelZoomsAboutThePointer) {
    // Image (500, 300) lies inside the quad, right of and above its middle.
    viewer->wheel(kLeft + 500, 300, -1);
    EXPECT_TRUE(near(quad(shot()), scaled(initial, 500, 300, 1 / 1.2), 1.5)) << "one notch towards the user";
    viewer->wheel(kLeft + 500, 300, 1);
    EXPECT_TRUE(near(quad(shot()), initial, 1.0)) << "and one back";
    EXPECT_EQ(viewer->err(), "");
}

TEST_F(Navigation, DragsMoveThePictureWithThePointerAndZoomByTheirLength) {
    viewer->drag(3, kLeft + 400, 300, kLeft + 460, 260, 6);
    EXPECT_TRUE(near(quad(shot()), moved(initial, 60, -40), 1.0)) << "right drag";
    viewer->drag(2, kLeft + 460, 260, kLeft + 400, 300, 6);
    EXPECT_TRUE(near(quad(shot()), initial, 1.0)) << "middle drag back";
    // Half the view's height down from (500, 200): half the size, about there.
    viewer->drag(kLeft + 500, 200, kLeft + 500, 550, 10);
    EXPECT_TRUE(near(quad(shot()), scaled(initial, 500, 200, 0.5), 1.5)) << "left drag";
    EXPECT_EQ(viewer->err(), "");
}

TEST_F(Navigation, KeysZoomMoveAndReset) {
    PanelViewer& v = *viewer;
    const Image original = v.keyScreenshot(dir.path(), kLeft + 700, 650);
    const int x = kLeft + 700;
    const int y = 650;
    v.key("minus minus", x, y);
    const Edges out = quad(shot());
    // The middle of the 784 x 700 view lies between pixels 391 and 392.
    EXPECT_TRUE(near(out, scaled(initial, 391.5, 349.5, 1 / 1.5625), 1.5)) << "- twice";
    v.key("Right", x, y);
    const Edges right = quad(shot());
    EXPECT_TRUE(near(right, moved(out, -78.4, 0), 1.0)) << "Right shows more of the right";
    v.key("Up", x, y);
    const Edges up = quad(shot());
    EXPECT_TRUE(near(up, moved(right, 0, 70), 1.0)) << "Up shows more of the top";
    v.key("shift+Left Down", x, y);
    EXPECT_TRUE(near(quad(shot()), out, 1.0)) << "Shift+Left and Down";
    v.key("plus plus", x, y);
    EXPECT_TRUE(near(quad(shot()), initial, 1.0)) << "+ twice";
    v.key("plus Right Home", x, y);
    EXPECT_EQ(differingPixels(shot(), original, 0), 0) << "Home";
    v.key("minus Up r", x, y);
    EXPECT_EQ(differingPixels(shot(), original, 0), 0) << "r";
    EXPECT_EQ(v.err(), "");
}

TEST_F(Navigation, SSavesAScreenshotAndQQuitsLikeClosingTheWindow) {
    PanelViewer& v = *viewer;
    // SetUp saved the first one with "s".
    EXPECT_TRUE(contains(v.out(), "- Saving screenshot to 'Quillmere0000.png' ...\n- Screenshot saved.\n"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("Quillmere0000.png")));
    v.key("q", kLeft + 300, 300);
    EXPECT_EQ(v.process().wait(30), 0);
    const std::string out = v.out();
    EXPECT_EQ(out.substr(out.size() - 24), "cleaned up and exit now\n");
    EXPECT_EQ(v.err(), "");
}

TEST_F(Navigation, EscapeQuitsToo) {
    viewer->key("Escape", kLeft + 300, 300);
    EXPECT_EQ(viewer->process().wait(30), 0);
    EXPECT_TRUE(contains(viewer->out(), "cleaned up and exit now\n"));
}

TEST_F(Navigation, APointerMovingWithoutButtonsRedrawsOnlyOverThePanel) {
    const auto movesAcross = [&](int x0, int x1) {
        std::string path;
        for (int i = 0; i <= 10; ++i) path += viewer->at(x0 + (x1 - x0) * i / 10, 400) + " sleep 0.03 ";
        xdotool(path);
        pollUntil([&] { return viewer->map().settled; }, 10.0);
    };
    movesAcross(kLeft + 300, kLeft + 310);  // the pointer comes in
    const long before = viewer->map().frame;
    movesAcross(kLeft + 300, kLeft + 700);
    EXPECT_LE(viewer->map().frame - before, 1) << "the view redrew for a pointer without buttons";
    movesAcross(20, PanelViewer::panelWidth - 20);
    EXPECT_GE(viewer->map().frame - before, 5) << "the panel did not follow the pointer";
}
