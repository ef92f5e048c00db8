// The streamline section on the real window: the mode radio buttons switch
// their spinners and the placement, typed values re-place the lines, and
// "Color from CC" recolours them.

#include "support/PanelDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

using namespace panel_e2e;

namespace {

// The value of the last "Number of points in streamlines: " line, -1 without one.
int lastPointCount(const std::string& text) {
    const std::string key = "Number of points in streamlines: ";
    const auto at = text.rfind(key);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size());
}

// Pixels where the streamlines show over the field (white lines vanish where
// the field is white itself).
// Below the status line, which may hint at "Fit to data" when few lines are placed.
int linePixels(const Image& with, const Image& field) {
    return differingPixels(with, field, 40, StatusReferences::kRows);
}

class PanelStreamlines : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
        gyreDataset(dir.path(), "flow");
        viewer = std::make_unique<PanelViewer>(dir.path(), std::vector<std::string>{"-datafile", "flow.gri"});
        ASSERT_TRUE(viewer->ok()) << viewer->out() << viewer->err();
        field = viewer->screenshot(dir.path());
        ASSERT_TRUE(viewer->click("checkbox", "Streamlines"));
        ASSERT_TRUE(viewer->waitMap([](const PanelMap& p) { return p.state("rollout", "Streamlines") == "1"; }));
    }

    TempDir dir;
    std::unique_ptr<PanelViewer> viewer;
    Image field;  // the view before the streamlines were ticked
};

TEST_F(PanelStreamlines, ModesSwitchTheirSpinnersAndTypedValuesPlaceTheLinesAgain) {
    PanelViewer& v = *viewer;
    const int openedWith = lastPointCount(v.out());
    ASSERT_GT(openedWith, 0) << v.out();
    const Image evenly = v.screenshot(dir.path());
    EXPECT_GT(linePixels(evenly, field), 500);

    size_t mark = v.out().size();
    ASSERT_TRUE(v.click("radio", "Tapering"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("spinner", "Line Width Max") == 1; }));
    PanelMap m = v.map();
    EXPECT_EQ(m.enabled("spinner", "Line Width Min"), 1);
    EXPECT_EQ(m.enabled("spinner", "Seedpoints"), 0);
    EXPECT_EQ(m.enabled("spinner", "Period"), 0);
    EXPECT_EQ(m.enabled("radio", "f1"), 0);
    // Tapering keeps the evenly spaced placement, run again.
    ASSERT_TRUE(v.waitOutput([&](const std::string& o) { return contains(o.substr(mark), "Distance Field OK\n"); }));
    EXPECT_EQ(lastPointCount(v.out()), openedWith);

    mark = v.out().size();
    ASSERT_TRUE(v.click("radio", "Normal"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("spinner", "Seedpoints") == 1; }));
    m = v.map();
    EXPECT_EQ(m.state("radio", "Normal"), "1");
    EXPECT_EQ(m.enabled("spinner", "Line Width Max"), 0);
    EXPECT_EQ(m.enabled("spinner", "Line Width Min"), 0);
    const Image seeded = v.screenshot(dir.path());
    // Seeded lines are traced one by one, without the evenly spaced list.
    const std::string printed = v.out().substr(mark);
    EXPECT_FALSE(contains(printed, "Take next streamline of the list")) << printed;
    EXPECT_FALSE(contains(printed, "Number of points in streamlines: ")) << printed;
    EXPECT_GT(linePixels(seeded, field), 200);
    EXPECT_GT(differingPixels(seeded, evenly, 30), 500) << "the seeded lines look like the evenly spaced ones";

    // Fewer seeds, fewer lines.
    ASSERT_TRUE(v.typeInto("Seedpoints", "2"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "Seedpoints") == "2"; }));
    const Image fewerSeeds = v.screenshot(dir.path());
    EXPECT_LT(linePixels(fewerSeeds, field), linePixels(seeded, field) - 200);
    EXPECT_GT(linePixels(fewerSeeds, field), 0);

    // Back to evenly spaced lines; a smaller dsep places them again.
    mark = v.out().size();
    ASSERT_TRUE(v.click("radio", "Evenly"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("spinner", "Seedpoints") == 0; }));
    ASSERT_TRUE(v.waitOutput([&](const std::string& o) { return contains(o.substr(mark), "Distance Field OK\n"); }));
    EXPECT_EQ(lastPointCount(v.out()), openedWith);

    mark = v.out().size();
    ASSERT_TRUE(v.typeInto("dsep", "0.2"));
    ASSERT_TRUE(v.waitOutput([&](const std::string& o) { return contains(o.substr(mark), "Distance Field OK\n"); }));
    EXPECT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "dsep") == "0.2"; }));
    const std::vector<std::string> placed = lines(v.out().substr(mark));
    EXPECT_TRUE(containsInOrder(
        placed, {"Take next streamline of the list", "Current streamline has number: 2",
                 "At the end of the streamline-list, let's end", "Distance Field OK",
                 "Please wait for the changes to take place.", " This could be a short amount of time!"}))
        << v.out().substr(mark);
    // The lines of these settings, as a fresh start with them places them.
    const RunResult traced =
        run(programPath("quillmere-trace"), {"flow.gri", "--dsep", "0.2", "-o", dir.file("lines.csv")}, dir.path());
    ASSERT_EQ(traced.code, 0) << traced.err;
    EXPECT_EQ(lastPointCount(v.out()), lastPointCount(traced.out));
    EXPECT_NE(lastPointCount(v.out()), openedWith);
    EXPECT_GT(differingPixels(v.screenshot(dir.path()), evenly, 40), 200);
    EXPECT_EQ(v.err(), "");
}

TEST_F(PanelStreamlines, ColorFromCcTakesTheChoosersGreyForTheLines) {
    PanelViewer& v = *viewer;
    const Image white = v.screenshot(dir.path());
    ASSERT_TRUE(v.click("button", "Color from CC"));
    const Image grey = v.screenshot(dir.path());
    ASSERT_TRUE(white.ok() && grey.ok());

    // The chooser starts at 127, 127, 127. Where a line crosses the dark
    // part of the field, a pixel is field · (1 − a) + colour · a for its
    // coverage a: the white picture gives a, the grey one the new colour.
    int measured = 0;
    int greyish = 0;
    int brighter = 0;
    for (int y = 0; y < white.height; ++y)
        for (int x = 0; x < white.width; ++x) {
            const std::uint8_t* f = field.at(x, y);
            const std::uint8_t* a = white.at(x, y);
            const std::uint8_t* b = grey.at(x, y);
            if (b[0] > a[0] || b[1] > a[1] || b[2] > a[2]) ++brighter;
            if (f[0] >= 100 || a[0] - f[0] <= 60) continue;
            ++measured;
            const double coverage = double(a[0] - f[0]) / (255 - f[0]);
            const double colour = f[0] + (b[0] - f[0]) / coverage;
            if (std::abs(colour - 127.0) <= 8.0 && b[0] == b[1] && b[1] == b[2]) ++greyish;
        }
    EXPECT_GT(measured, 100);
    EXPECT_GE(greyish, measured * 9 / 10);
    EXPECT_EQ(brighter, 0);
    EXPECT_GT(linePixels(white, field), 500);
    EXPECT_EQ(v.err(), "");
}

}  // namespace

TEST_F(PanelStreamlines, TheMemorySpinnerRefusesAPlacementAndARaisedBudgetPlacesIt) {
    PanelViewer& v = *viewer;
    EXPECT_GT(linePixels(v.screenshot(dir.path()), field), 500);
    // A lower budget alone places nothing again.
    std::size_t mark = v.out().size();
    ASSERT_TRUE(v.typeInto("Memory (MiB)", "16"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "Memory (MiB)") == "16"; }));
    EXPECT_FALSE(contains(v.out().substr(mark), "Number of points in streamlines: ")) << v.out().substr(mark);

    // A step too fine for 16 MiB: refused, with the estimate, and no lines.
    mark = v.out().size();
    ASSERT_TRUE(v.typeInto("dt", "0.00001"));
    ASSERT_TRUE(pollUntil([&] { return contains(v.err(), "would exceed the memory budget of 16 MiB; dsep "); }, 20.0))
        << v.err();
    EXPECT_FALSE(contains(v.out().substr(mark), "Distance Field OK")) << v.out().substr(mark);
    const Image refused = v.screenshot(dir.path());
    EXPECT_LT(linePixels(refused, field), 20);

    // Room enough: the refused placement runs.
    mark = v.out().size();
    ASSERT_TRUE(v.typeInto("Memory (MiB)", "1024"));
    ASSERT_TRUE(v.waitOutput([&](const std::string& o) { return contains(o.substr(mark), "Distance Field OK\n"); }));
    EXPECT_GT(lastPointCount(v.out()), 10 * lastPointCount(v.out().substr(0, mark)));
}

// While a dense placement runs the window answers: a screenshot is taken, and
// a new dsep cancels the placement, which prints nothing, and places exactly
// the lines, with the same console lines, as that dsep placed before.
TEST_F(PanelStreamlines, ANewSettingCancelsARunningPlacementAndTheWindowAnswersMeanwhile) {
    PanelViewer& v = *viewer;
    ASSERT_TRUE(v.typeInto("dtest", "0.0002"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "dtest") == "0.0002"; }));
    std::size_t mark = v.out().size();
    ASSERT_TRUE(v.typeInto("dsep", "0.1"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "dsep") == "0.1"; }));
    const std::string placedAlone = v.out().substr(mark);
    ASSERT_EQ(countOf(placedAlone, "Distance Field OK\n"), 1) << placedAlone;

    // The spinner stays where it is while the panel is busy: type into it directly.
    MapEntry dsep;
    ASSERT_TRUE(v.reveal("spinner", "dsep", dsep));
    const auto typeDsep = [&](const std::string& text) {
        xdotool(v.at(dsep.x + dsep.w / 10, dsep.y + dsep.h / 2) + " click 1");
        xdotool("type --delay 20 -- '" + text + "'");
        xdotool("key Return");
    };
    typeDsep("0.0005");
    ASSERT_TRUE(pollUntil([&] { return v.map().state("spinner", "dsep") == "0.0005"; }, 20.0));
    mark = v.out().size();
    const Image during = v.keyScreenshot(dir.path(), v.windowWidth() / 2, v.windowHeight() / 2);
    EXPECT_GT(during.width, 0);
    EXPECT_FALSE(contains(v.out().substr(mark), "Distance Field OK")) << "the placement ended before the screenshot";

    typeDsep("0.1");
    ASSERT_TRUE(v.waitOutput([&](const std::string& o) { return contains(o.substr(mark), "Distance Field OK\n"); }));
    const std::string after = v.out().substr(mark);
    EXPECT_EQ(after.substr(after.find("- Screenshot saved.\n") + 20), placedAlone);
}
