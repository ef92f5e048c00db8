// The "Time" section on the real window: closed for a single step, open for
// a series; "Next >" and the arrow keys step (Shift+arrow does not), and
// "Play" runs to the last step and stops there.

#include "support/PanelDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

using namespace panel_e2e;

namespace {

std::string gyre(const std::string& dir, const std::string& name, const std::string& steps) {
    return generateDataset(dir, name,
                           {"--field", "gyre", "--nx", "65", "--ny", "25", "--x0", "0", "--x1", "2.5", "--y0", "0",
                            "--y1", "1", "--channels", "0", "--steps", steps});
}

TEST(PanelTime, StepsWithTheButtonsTheArrowKeysAndPlay) {
    ASSERT_TRUE(Xvfb::shared().ok());
    TempDir dir;
    prepareViewerDir(dir.path());
    gyre(dir.path(), "single", "1");
    {
        PanelViewer v(dir.path(), {"-datafile", "single.gri"});
        ASSERT_TRUE(v.ok()) << v.err();
        EXPECT_EQ(v.map().state("rollout", "Time"), "0");
        EXPECT_EQ(v.map().enabled("rollout", "Time"), 0);
    }

    gyre(dir.path(), "series", "4");
    PanelViewer v(dir.path(), {"-datafile", "series.gri"});
    ASSERT_TRUE(v.ok()) << v.err();
    EXPECT_EQ(v.map().state("rollout", "Time"), "1");
    EXPECT_EQ(v.map().state("spinner", "Time step"), "0");

    ASSERT_TRUE(v.click("button", "Next >"));
    EXPECT_TRUE(v.waitMap([](const PanelMap& m) { return m.state("spinner", "Time step") == "1"; }));
    EXPECT_TRUE(contains(v.out(), "- Loading dat file 'series.00001.dat' ... \n"));

    // Keys go to the window under the pointer: the field view.
    xdotool("mousemove --window $(xdotool search --name '^" + std::string(kTitle) + "$') 600 300");
    xdotool("key Right");
    EXPECT_TRUE(v.waitMap([](const PanelMap& m) { return m.state("spinner", "Time step") == "2"; }));
    xdotool("key shift+Left");
    xdotool("key Left");
    EXPECT_TRUE(
        v.waitOutput([](const std::string& o) { return countOf(o, "- Loading dat file 'series.00001.dat'") == 2; }));
    EXPECT_TRUE(v.waitMap([](const PanelMap& m) { return m.state("spinner", "Time step") == "1"; }));

    // Play from step 1: steps 2 and 3, then it stops at the end.
    ASSERT_TRUE(v.click("checkbox", "Play"));
    EXPECT_TRUE(v.waitOutput([](const std::string& o) { return contains(o, "- Played 2 time steps in "); }));
    EXPECT_TRUE(v.waitMap([](const PanelMap& m) {
        return m.state("checkbox", "Play") == "0" && m.state("spinner", "Time step") == "3";
    }));
    EXPECT_EQ(countOf(v.out(), "- Loading dat file 'series.00003.dat'"), 1);
    // Every key and click has been handled by now: Shift+Left did not step
    // (it would have gone on to step 0).
    EXPECT_EQ(countOf(v.out(), "- Loading dat file 'series.00000.dat'"), 1);
    EXPECT_EQ(v.err(), "");
}

}  // namespace
