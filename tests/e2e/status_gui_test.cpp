// What the user caused is said in the window: under the status line, in the
// colour of its kind, until the next press or key; the console keeps its
// own lines unchanged and screenshots show no messages.

#include "support/PanelDriver.h"
#include "support/ScreenGrab.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace panel_e2e;

namespace {

struct Rgb {
    int r, g, b;
};
const Rgb kInfo{140, 230, 100};
const Rgb kWarning{255, 200, 60};
const Rgb kError{255, 110, 80};

// Pixels of a colour on the screen inside a map entry's rectangle.
int pixelsIn(const Image& screen, const PanelViewer& v, const MapEntry& e, Rgb c) {
    const int x = v.originX() + e.x;
    const int y = v.originY() + e.y;
    return screen.count(x, y, x + e.w, y + e.h, c.r, c.g, c.b, 0);
}

int messagePixels(const Image& image, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (Rgb c : {kInfo, kWarning, kError}) n += image.count(x0, y0, x1, y1, c.r, c.g, c.b, 0);
    return n;
}

class StatusMessages : public ViewerFolderTest {
protected:
    void SetUp() override {
        ViewerFolderTest::SetUp();
        folder = fs::canonical(dir.path()).string();
    }

    // Waits until the window shows exactly these messages ("kind: text").
    static ::testing::AssertionResult shows(PanelViewer& v, const std::vector<std::string>& messages) {
        if (v.waitMap([&](const PanelMap& m) { return m.messages() == messages; }))
            return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "the window shows:";
        for (const std::string& shown : v.map().messages()) failure << "\n  " << shown;
        return failure;
    }

    std::string folder;
};

}  // namespace

TEST_F(StatusMessages, EachKindShowsInItsColourUntilTheNextPressAndNeverInScreenshots) {
    PanelViewer& v = start({"-datafile", "flow.gri", "-arrowSize", "500", "-dsep", "abc"});
    ASSERT_TRUE(shows(v, {"warning: -arrowSize 500 is outside 0.1 .. 200: set to 200",
                          "error: Ignoring -dsep: 'abc' is not a number"}));
    PanelMap m = v.map();
    ASSERT_EQ(m.status().size(), 3u);
    EXPECT_EQ(m.status()[0].label, "Datafile: flow.gri");
    Image screen = grabScreen();
    const MapEntry warning = m.status()[1];
    const MapEntry error = m.status()[2];
    EXPECT_GT(pixelsIn(screen, v, warning, kWarning), 50);
    EXPECT_EQ(pixelsIn(screen, v, warning, kError), 0);
    EXPECT_GT(pixelsIn(screen, v, error, kError), 50);
    EXPECT_EQ(pixelsIn(screen, v, error, kWarning), 0);
    EXPECT_GT(error.y, warning.y);

    // A key is the next action: the command line's messages go, the
    // screenshot says where it went, and the picture holds no message.
    const Image picture = v.keyScreenshot(dir.path(), 700, 650);
    ASSERT_TRUE(shows(v, {"info: Screenshot saved to " + folder + "/Quillmere0000.png"}));
    screen = grabScreen();
    EXPECT_GT(pixelsIn(screen, v, v.map().status()[1], kInfo), 50);
    EXPECT_EQ(messagePixels(picture, 0, 0, picture.width, picture.height), 0);

    // So is a press in the view.
    v.mouse(v.at(700, 650) + " click 1", 2);
    ASSERT_TRUE(shows(v, {}));
    screen = grabScreen();
    EXPECT_EQ(messagePixels(screen, v.originX() + PanelViewer::panelWidth, v.originY(), v.originX() + 1024,
                            v.originY() + 100),
              0);
    // The console says what it always said.
    EXPECT_EQ(v.err(), "Ignoring -dsep: 'abc' is not a number\n");
}

TEST_F(StatusMessages, RefusedClampedAndFruitlessSettingsAreExplained) {
    PanelViewer& v = start({"-datafile", "flow.gri"});
    ASSERT_TRUE(v.click("checkbox", "Streamlines"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("spinner", "dsep") == 1; }));

    ASSERT_TRUE(v.typeInto("dsep", "-0.01"));
    const std::string refused = "Streamlines not placed: dsep must be a positive number (dsep = -0.01)";
    ASSERT_TRUE(shows(v, {"error: " + refused}));
    EXPECT_EQ(countOf(v.err(), refused + "\n"), 1);

    ASSERT_TRUE(v.typeInto("dsep", "2.5"));
    ASSERT_TRUE(
        shows(v, {"warning: dsep = 2.5 is larger than the domain (2 x 1): the distance field has 1 x 1 cells"}));
    ASSERT_TRUE(v.typeInto("dsep", "1e"));  // the field takes digits, signs, points and e only
    ASSERT_TRUE(shows(v, {"error: dsep: '1e' is not a number"}));
    EXPECT_EQ(v.map().state("spinner", "dsep"), "2.5");

    // A step keeps its proportion: 0.001 goes to 0.0008, not below zero.
    ASSERT_TRUE(v.typeInto("dsep", "0.001"));
    MapEntry dsep;
    ASSERT_TRUE(v.reveal("spinner", "dsep", dsep));
    ASSERT_TRUE(v.click("spinner", "dsep", (dsep.w - 1.5 * dsep.h - 4) / dsep.w));  // the "-" button
    EXPECT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "dsep") == "0.0008"; }))
        << v.map().state("spinner", "dsep");

    ASSERT_TRUE(v.click("radio", "Normal"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("spinner", "Seedpoints") == 1; }));
    ASSERT_TRUE(v.typeInto("Seedpoints", "0"));
    ASSERT_TRUE(shows(v, {"warning: No streamlines were placed with these settings"}));

    ASSERT_TRUE(v.click("checkbox", "Arrow plot"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("spinner", "Size:") == 1; }));
    ASSERT_TRUE(v.typeInto("Size:", "500"));
    ASSERT_TRUE(shows(v, {"warning: Size: 500 is outside 0.1 .. 200, set to 200"}));
}

TEST_F(StatusMessages, SavedAndLoadedOptionsSayWhereAndWhyNot) {
    { std::ofstream(dir.file("broken.xml")) << "<?xml version=\"1.0\"?>\n<flow_visualization_options>"; }
    PanelViewer& v = start({"-datafile", "flow.gri"});
    ASSERT_TRUE(v.click("rollout", "Save"));
    ASSERT_TRUE(v.click("button", "Save Options"));
    ASSERT_TRUE(shows(v, {"info: Options saved to " + folder + "/options.xml"}));

    ASSERT_TRUE(v.click("rollout", "Save"));
    ASSERT_TRUE(v.click("edittext", "Filename: "));
    xdotool("key ctrl+a");
    xdotool("type --delay 20 'nowhere/x.xml'");
    xdotool("key Return");
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("edittext", "Filename: ") == "nowhere/x.xml"; }));
    ASSERT_TRUE(v.click("button", "Save Options"));
    ASSERT_TRUE(shows(v, {"error: Options not saved: could not write " + folder + "/nowhere/x.xml"}));

    ASSERT_TRUE(v.click("rollout", "File Browser"));
    ASSERT_TRUE(v.click("file", "broken.xml"));
    ASSERT_TRUE(
        shows(v, {"error: Options not loaded from " + folder + "/broken.xml: the file is missing or not an XML file"}));
    // A load closes the browser, whatever came of it.
    ASSERT_TRUE(v.click("rollout", "File Browser"));
    ASSERT_TRUE(v.click("file", "options.xml"));
    ASSERT_TRUE(shows(v, {"info: Options loaded from " + folder + "/options.xml"}));

    std::string wide = readFile(dir.file("options.xml"));
    wide.replace(wide.find("<count_x>10<"), 12, "<count_x>500<");
    { std::ofstream(dir.file("wide.xml")) << wide; }
    ASSERT_TRUE(v.click("rollout", "File Browser"));
    ASSERT_TRUE(v.click("file", "wide.xml"));
    ASSERT_TRUE(
        shows(v, {"warning: Options loaded from " + folder + "/wide.xml; held to their limits: arrowplot/count_x"}));
    EXPECT_EQ(v.err(), "Save Error\nerror while loeding the xml config file: file not found\n");

    EXPECT_TRUE(shows(start({"-options", "options.xml"}), {"error: Ignoring -options: no dataset is open"}));
}
