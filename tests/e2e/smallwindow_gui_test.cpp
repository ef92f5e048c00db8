// Small windows: a window too narrow for the panel beside the field leaves
// the panel a strip that opens under the pointer, and the field keeps clear
// of the legend.

#include "support/PanelDriver.h"
#include "support/ScreenGrab.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace panel_e2e;

namespace {

class SmallWindow : public ViewerFolderTest {
protected:
    void SetUp() override {
        ViewerFolderTest::SetUp();
        ASSERT_TRUE(start({"-datafile", "flow.gri"}).ok());
    }

    // In a screenshot of the graphics area: the field quad's left edge,
    // measured on rows below the legend, and the rightmost lit column of
    // the legend's labels left of it.
    static void measure(const Image& image, int& quadLeft, int& labelsRight) {
        // The bars' top: 90 % up, or lower where the status line needs the room.
        const double top = std::min(0.9 * image.height, image.height - 38.0);
        const int legendBottom = image.height - 1 - static_cast<int>(top - 150) + 4;
        quadLeft = litBox(image, 0, legendBottom + 1).x0;
        labelsRight = -1;
        for (int y = StatusReferences::kRows; y <= legendBottom; ++y)
            for (int x = 0; x < quadLeft; ++x)
                if (level(image, x, y) > 0) labelsRight = std::max(labelsRight, x);
    }
};

}  // namespace

TEST_F(SmallWindow, ThePanelBecomesAStripThatOpensUnderThePointer) {
    PanelViewer& v = *viewer;
    ASSERT_TRUE(v.resize(400, 300));
    PanelMap m = v.map();
    ASSERT_NE(m.dock(), nullptr);
    EXPECT_EQ(m.dock()->label, "strip");
    EXPECT_EQ(m.dock()->w, 22);
    EXPECT_EQ(m.find("button", "Screenshot"), nullptr) << "the strip draws no controls";
    const Image picture = v.keyScreenshot(dir.path(), 300, 200);
    EXPECT_EQ(picture.width, 378);
    EXPECT_EQ(picture.height, 300);
    const Image closed = grabScreen();
    // Right of the strip the screen shows the whole picture (below the
    // screenshot's message).
    int hidden = 0;
    for (int y = 60; y < 300; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (level(closed, v.originX() + 22 + x, v.originY() + y) != level(picture, x, y)) ++hidden;
    EXPECT_EQ(hidden, 0);

    xdotool(v.at(10, 150));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.dock()->label == "open"; }));
    m = v.map();
    EXPECT_EQ(m.dock()->w, PanelViewer::panelWidth);
    EXPECT_NE(m.find("button", "Screenshot"), nullptr);
    // The panel lies over the field; the field keeps its size.
    const Image open = grabScreen();
    const int x = v.originX() + 200;
    const int y = v.originY() + 150;
    EXPECT_NE(level(open, x, y), level(closed, x, y));
    // Its controls work: "Reset Camera" is pressed over the field.
    ASSERT_TRUE(v.click("button", "Reset Camera"));

    xdotool(v.at(330, 150));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.dock()->label == "strip"; }));
    const Image again = v.keyScreenshot(dir.path(), 330, 150);
    EXPECT_EQ(differingPixels(again, picture, 0), 0);

    ASSERT_TRUE(v.resize(640, 400));
    EXPECT_EQ(v.map().dock()->label, "docked");
    EXPECT_EQ(v.map().dock()->w, PanelViewer::panelWidth);
    EXPECT_EQ(v.err(), "");
}

TEST_F(SmallWindow, TheFieldKeepsClearOfTheLegend) {
    PanelViewer& v = *viewer;
    for (const auto& size : {std::pair<int, int>{400, 300}, {640, 400}}) {
        SCOPED_TRACE(std::to_string(size.first) + " x " + std::to_string(size.second));
        ASSERT_TRUE(v.resize(size.first, size.second));
        const Image picture = v.keyScreenshot(dir.path(), size.first - 40, size.second - 40);
        int quadLeft = 0;
        int labelsRight = 0;
        measure(picture, quadLeft, labelsRight);
        EXPECT_GT(labelsRight, 30) << "the labels are drawn left of the field";
        EXPECT_GE(quadLeft - labelsRight, 4) << "a gap between the labels and the field";
    }
    // The usual window is drawn as it always was: the quad 650 pixels wide, centred.
    ASSERT_TRUE(v.resize(1024, 700));
    const Image usual = v.keyScreenshot(dir.path(), 700, 650);
    const Box quad = litBox(usual, 60, StatusReferences::kRows);
    EXPECT_EQ(quad.x1 - quad.x0 + 1, 650);
    EXPECT_EQ(quad.x0 + quad.x1 + 1, 784);
}
