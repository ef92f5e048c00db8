// The control panel on the real window: the file browser, what responds
// before a dataset is open, and the arrow and streamline sections. Controls
// are found through the panel map and clicked with xdotool under Xvfb.

#include "support/PanelDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace panel_e2e;

namespace {

class PanelGui : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
    }

    TempDir dir;
};

TEST_F(PanelGui, TheFileBrowserEntersAFolderAndOpensTheGridFileInIt) {
    fs::create_directory(dir.file("flows"));
    prepareViewerDir(dir.file("flows"));  // for the reference run there
    gyreDataset(dir.file("flows"), "flow");
    PanelViewer v(dir.path(), {});
    ASSERT_TRUE(v.ok()) << v.out() << v.err();

    PanelMap m = v.map();
    EXPECT_EQ(m.files(), (std::vector<std::string>{"..", "flows", "img", "src"}));
    EXPECT_EQ(m.enabled("checkbox", "Arrow plot"), 0);
    EXPECT_EQ(m.enabled("rollout", "Background"), 0);
    EXPECT_EQ(m.enabled("rollout", "Save"), 0);
    EXPECT_EQ(m.enabled("button", "Reset Camera"), 0);
    EXPECT_EQ(m.state("rollout", "File Browser"), "1");
    const Image before = v.screenshot(dir.path());
    ASSERT_TRUE(before.ok());

    ASSERT_TRUE(v.click("file", "flows"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) {
        return p.files() == std::vector<std::string>{"..", "img", "src", "flow.00000.dat", "flow.gri"};
    })) << "the folder was not entered";

    const size_t mark = v.out().size();
    ASSERT_TRUE(v.click("file", "flow.gri"));
    ASSERT_TRUE(v.waitOutput([](const std::string& o) { return contains(o, "Distance Field OK\n"); })) << v.out();
    const std::vector<std::string> opened = lines(v.out().substr(mark));
    EXPECT_TRUE(containsInOrder(
        opened, {"- Loading grid file 'flow.gri' ... ", "Dimensions: 129 x 65 x 1", "X Boundaries: 0 ... 2",
                 "Y Boundaries: 0 ... 1", "Channels: 2", "- Loading dat file 'flow.00000.dat' ... ",
                 "texture velocity erzeugt and uploaded", "DEBUG: tf texture uploaded", "Distance Field OK"}))
        << v.out().substr(mark);

    // The dataset controls open up; the two sections wait for their check boxes.
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("checkbox", "Arrow plot") == 1; }));
    m = v.map();
    EXPECT_EQ(m.enabled("checkbox", "Streamlines"), 1);
    EXPECT_EQ(m.enabled("rollout", "Background"), 1);
    EXPECT_EQ(m.state("rollout", "Background"), "1");
    for (const char* choice : {"Velocity", "Channel 1", "Channel 2"})
        EXPECT_EQ(m.enabled("radio", choice), 1) << choice;
    EXPECT_EQ(m.state("radio", "Velocity"), "1");
    EXPECT_EQ(m.enabled("checkbox", "Show TF"), 1);
    EXPECT_EQ(m.enabled("rollout", "Save"), 1);
    EXPECT_EQ(m.enabled("button", "Reset Camera"), 1);
    EXPECT_EQ(m.state("rollout", "File Browser"), "0");
    for (const char* section : {"Arrow Plot", "Streamlines"}) {
        EXPECT_EQ(m.enabled("rollout", section), 0) << section;
        EXPECT_EQ(m.state("rollout", section), "0") << section;
    }

    // The browser moved the current directory: the screenshot lands in the
    // folder, numbered from 0000 there.
    std::string name;
    const Image after = v.screenshot(dir.file("flows"), &name);
    EXPECT_EQ(name, "Quillmere0000.png");
    EXPECT_TRUE(fs::exists(dir.file("flows/Quillmere0000.png")));
    EXPECT_FALSE(fs::exists(dir.file("Quillmere0001.png")));
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(after.width, v.windowWidth() - PanelViewer::panelWidth);
    EXPECT_EQ(after.height, v.windowHeight());
    EXPECT_GT(differingPixels(before, after, 0, 0, StatusReferences::kRows), 0) << "the status line did not change";

    // The same view as the viewer shows for the dataset named on its command line.
    const RunResult ref =
        run(programPath("quillmere"), {"-datafile", "flow.gri", "-screenshot", "ref.png"}, dir.file("flows"));
    ASSERT_EQ(ref.code, 0) << ref.err;
    const Image expected = loadPng(dir.file("flows/ref.png"));
    ASSERT_TRUE(expected.ok());
    EXPECT_EQ(differingPixels(after, expected, 0), 0);
    EXPECT_EQ(v.err(), "");
}

TEST_F(PanelGui, BeforeADatasetOnlyTheBrowserAndScreenshotRespond) {
    { std::ofstream(dir.file("early.xml")) << "<?xml version=\"1.0\"?>\n"; }
    { std::ofstream(dir.file("mixed.Xml")) << "<?xml version=\"1.0\"?>\n"; }
    PanelViewer v(dir.path(), {});
    ASSERT_TRUE(v.ok()) << v.out() << v.err();

    // Clicks on disabled controls are swallowed; the browser click after
    // them shows that they were handled (input is taken in order).
    ASSERT_TRUE(v.click("checkbox", "Arrow plot"));
    ASSERT_TRUE(v.click("checkbox", "Streamlines"));
    ASSERT_TRUE(v.click("rollout", "Background"));
    ASSERT_TRUE(v.click("button", "Reset Camera"));
    const size_t mark = v.out().size();
    ASSERT_TRUE(v.click("file", "early.xml"));
    const Image early = v.screenshot(dir.path());

    const PanelMap m = v.map();
    EXPECT_EQ(m.state("checkbox", "Arrow plot"), "0");
    EXPECT_EQ(m.state("checkbox", "Streamlines"), "0");
    EXPECT_EQ(m.enabled("checkbox", "Arrow plot"), 0);
    for (const char* section : {"Background", "Arrow Plot", "Streamlines", "Save"})
        EXPECT_EQ(m.state("rollout", section), "0") << section;
    EXPECT_EQ(m.find("radio", "Velocity"), nullptr) << "a collapsed section draws nothing";

    // ".Xml" is neither options form: it goes to the grid opener and is refused.
    ASSERT_TRUE(v.click("file", "mixed.Xml"));
    const Image mixed = v.screenshot(dir.path());
    EXPECT_EQ(v.map().state("rollout", "File Browser"), "1");

    const std::string printed = v.out().substr(mark);
    EXPECT_FALSE(contains(printed, "Loading grid file")) << printed;
    EXPECT_FALSE(contains(printed, "Distance Field")) << printed;
    EXPECT_EQ(v.err(), "");
    v.process().kill();

    TempDir refs;
    StatusReferences status(refs.path());
    EXPECT_TRUE(status.reads(early, "Error! No data file loaded."));
    EXPECT_TRUE(status.reads(mixed, "Error! Only gri-files and xml-files are permitted."));
    EXPECT_FALSE(status.reads(mixed, "Error! No data file loaded."));
}

TEST_F(PanelGui, TheArrowAndStreamlineSectionsOpenWithTheirCheckBoxesAndShowInScreenshots) {
    gyreDataset(dir.path(), "flow");
    PanelViewer v(dir.path(), {"-datafile", "flow.gri"});
    ASSERT_TRUE(v.ok()) << v.out() << v.err();
    std::string name;
    const Image plain = v.screenshot(dir.path(), &name);
    EXPECT_EQ(name, "Quillmere0000.png");
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(plain.width, v.windowWidth() - PanelViewer::panelWidth);
    EXPECT_EQ(plain.height, v.windowHeight());
    EXPECT_EQ(orangePixels(plain), 0);

    ASSERT_TRUE(v.click("checkbox", "Arrow plot"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Arrow Plot") == "1"; }));
    PanelMap m = v.map();
    EXPECT_EQ(m.enabled("rollout", "Arrow Plot"), 1);
    for (const char* spinner : {"# of arrows in x dir", "# of arrows in y dir", "Size:"})
        EXPECT_EQ(m.enabled("spinner", spinner), 1) << spinner;
    EXPECT_EQ(m.enabled("checkbox", "Enable Size Modification"), 1);
    EXPECT_EQ(m.state("checkbox", "Enable Size Modification"), "1");
    EXPECT_EQ(m.enabled("checkbox", "Apply TF"), 1);
    EXPECT_EQ(m.state("rollout", "Streamlines"), "0");
    const Image arrows = v.screenshot(dir.path(), &name);
    EXPECT_EQ(name, "Quillmere0001.png");
    EXPECT_GT(orangePixels(arrows), 2000);

    // Typed values are clamped to the spinner's limits.
    ASSERT_TRUE(v.typeInto("# of arrows in x dir", "0"));
    EXPECT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "# of arrows in x dir") == "2"; }));
    const Image fewer = v.screenshot(dir.path());
    EXPECT_LT(orangePixels(fewer), orangePixels(arrows)) << "two columns of arrows instead of ten";
    ASSERT_TRUE(v.typeInto("Size:", "500"));
    EXPECT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "Size:") == "200"; }));
    const Image bigger = v.screenshot(dir.path());
    EXPECT_GT(orangePixels(bigger), orangePixels(fewer)) << "arrows of size 200 instead of 40";

    ASSERT_TRUE(v.click("checkbox", "Streamlines"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Streamlines") == "1"; }));
    m = v.map();
    for (const char* mode : {"Evenly", "Normal", "Tapering", "Glyph mapping", "Texture generation"})
        EXPECT_EQ(m.enabled("radio", mode), 1) << mode;
    EXPECT_EQ(m.state("radio", "Evenly"), "1");
    for (const char* spinner : {"Seedpoints", "Line Width Max", "Line Width Min", "Period"})
        EXPECT_EQ(m.enabled("spinner", spinner), 0) << spinner;
    EXPECT_EQ(m.enabled("radio", "f1"), 0);
    EXPECT_EQ(m.enabled("radio", "f2"), 0);
    for (const char* method : {"Euler", "Runge Kutta"}) EXPECT_EQ(m.enabled("radio", method), 1) << method;
    for (const char* spinner : {"dt", "dsep", "dtest"}) EXPECT_EQ(m.enabled("spinner", spinner), 1) << spinner;
    EXPECT_EQ(m.enabled("button", "Color from CC"), 1);
    EXPECT_EQ(m.state("rollout", "Arrow Plot"), "1");

    // White lines over the field: many pixels turn bright grey or white.
    const Image lines = v.screenshot(dir.path());
    int drawn = 0;
    for (int y = 0; y < lines.height; ++y)
        for (int x = 0; x < lines.width; ++x) {
            const std::uint8_t* p = lines.at(x, y);
            const bool whiteish = p[0] > 150 && p[0] == p[1] && p[1] == p[2];
            if (whiteish && level(lines, x, y) > level(bigger, x, y) + 60) ++drawn;
        }
    EXPECT_GT(drawn, 500);

    // Unticking the arrow plot closes its section only.
    ASSERT_TRUE(v.click("checkbox", "Arrow plot"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Arrow Plot") == "0"; }));
    m = v.map();
    EXPECT_EQ(m.enabled("rollout", "Arrow Plot"), 0);
    EXPECT_EQ(m.state("rollout", "Streamlines"), "1");
    EXPECT_EQ(m.enabled("radio", "Evenly"), 1);
    const Image noArrows = v.screenshot(dir.path(), &name);
    EXPECT_EQ(name, "Quillmere0005.png");
    EXPECT_EQ(orangePixels(noArrows), 0);
    EXPECT_EQ(v.err(), "");
}

}  // namespace
