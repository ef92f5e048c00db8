// Buttons that act on the whole view, on the real window: "Reset Camera"
// after a zoom with the mouse, and "Save Options" followed by loading the
// saved file through the file browser.

#include "support/PanelDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace panel_e2e;

namespace {

class PanelView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
        gyreDataset(dir.path(), "flow");
        viewer = std::make_unique<PanelViewer>(dir.path(), std::vector<std::string>{"-datafile", "flow.gri"});
        ASSERT_TRUE(viewer->ok()) << viewer->out() << viewer->err();
    }

    // The field quad: lit pixels right of the legend and below the status line.
    static Box quad(const Image& image) { return litBox(image, 60, StatusReferences::kRows); }

    // A drag down the middle of the graphics area with the left button zooms out.
    void zoomOut() {
        const int x = PanelViewer::panelWidth + (viewer->windowWidth() - PanelViewer::panelWidth) / 2;
        viewer->drag(x, 300, x, 500, 10);
    }

    TempDir dir;
    std::unique_ptr<PanelViewer> viewer;
};

TEST_F(PanelView, ResetCameraBringsBackTheViewAfterAZoom) {
    PanelViewer& v = *viewer;
    const Image original = v.screenshot(dir.path());
    const Box start = quad(original);
    ASSERT_FALSE(start.empty());

    zoomOut();
    const Image zoomed = v.screenshot(dir.path());
    const Box smaller = quad(zoomed);
    EXPECT_GT(smaller.x0, start.x0) << describe(smaller) << " in " << describe(start);
    EXPECT_GT(smaller.y0, start.y0) << describe(smaller) << " in " << describe(start);
    EXPECT_LT(smaller.x1, start.x1) << describe(smaller) << " in " << describe(start);
    EXPECT_LT(smaller.y1, start.y1) << describe(smaller) << " in " << describe(start);

    ASSERT_TRUE(v.click("button", "Reset Camera"));
    const Image reset = v.screenshot(dir.path());
    EXPECT_EQ(quad(reset), start) << describe(quad(reset)) << " instead of " << describe(start);
    EXPECT_EQ(differingPixels(reset, original, 0), 0);
    EXPECT_EQ(v.err(), "");
}

TEST_F(PanelView, SavedOptionsPickedInTheBrowserBringBackTheView) {
    PanelViewer& v = *viewer;
    ASSERT_TRUE(v.click("checkbox", "Streamlines"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Streamlines") == "1"; }));
    const Image saved = v.screenshot(dir.path());

    // The file name field starts with "options.xml"; saving closes the section.
    ASSERT_TRUE(v.click("rollout", "Save"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Save") == "1"; }));
    EXPECT_EQ(v.map().state("edittext", "Filename: "), "options.xml");
    ASSERT_TRUE(v.click("button", "Save Options"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Save") == "0"; }));
    ASSERT_TRUE(fs::exists(dir.file("options.xml")));
    EXPECT_EQ(readFile(dir.file("options.xml")).rfind("<?xml", 0), 0u);

    // Another background, seeded lines and a zoom.
    ASSERT_TRUE(v.click("radio", "Channel 1"));
    ASSERT_TRUE(v.click("radio", "Normal"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) {
        return p.state("radio", "Channel 1") == "1" && p.enabled("spinner", "Seedpoints") == 1;
    }));
    zoomOut();
    const Image changed = v.screenshot(dir.path());
    EXPECT_GT(differingPixels(changed, saved, 40), 10000);

    ASSERT_TRUE(v.click("rollout", "File Browser"));
    // With the streamline section open the browser may lie below the window;
    // its entries are drawn once it is scrolled into view.
    MapEntry browser;
    ASSERT_TRUE(v.reveal("filebrowser", "", browser));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.find("file", "options.xml") != nullptr; }));
    const size_t mark = v.out().size();
    ASSERT_TRUE(v.click("file", "options.xml"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "File Browser") == "0"; }));
    const PanelMap m = v.map();
    EXPECT_EQ(m.state("radio", "Velocity"), "1");
    EXPECT_EQ(m.state("radio", "Evenly"), "1");
    EXPECT_EQ(m.enabled("spinner", "Seedpoints"), 0);
    EXPECT_EQ(m.state("checkbox", "Streamlines"), "1");
    // The settings are applied in turn; the evenly spaced placement runs again.
    const std::string printed = v.out().substr(mark);
    EXPECT_TRUE(contains(printed, "Distance Field OK\n")) << printed;
    EXPECT_TRUE(contains(printed, "DEBUG: tf texture uploaded\n")) << printed;

    const Image loaded = v.screenshot(dir.path());
    EXPECT_EQ(quad(loaded), quad(saved)) << describe(quad(loaded)) << " instead of " << describe(quad(saved));
    EXPECT_EQ(differingPixels(loaded, saved, 0), 0);
    EXPECT_EQ(v.err(), "");
}

}  // namespace
