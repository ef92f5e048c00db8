// The "Unit speed" checkbox on the real window: it sits in the "Integration"
// panel, opens up with the streamline section, and each click places the
// streamlines again.

#include "support/PanelDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

using namespace panel_e2e;

namespace {

int lastPointCount(const std::string& text) {
    const std::string key = "Number of points in streamlines: ";
    const auto at = text.rfind(key);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size());
}

TEST(PanelUnitSpeed, TheCheckboxPlacesTheLinesAgainWithUnitSteps) {
    ASSERT_TRUE(Xvfb::shared().ok());
    TempDir dir;
    prepareViewerDir(dir.path());
    // Peak speed 0.31: 6048 points in fragments by default, 18994 with unit speed.
    generateDataset(dir.path(), "slow",
                    {"--field", "gyre", "--nx", "129", "--ny", "65", "--x0", "0", "--x1", "8", "--y0", "0", "--y1", "4",
                     "--speed", "0.31", "--channels", "0"});
    PanelViewer v(dir.path(), {"-datafile", "slow.gri"});
    ASSERT_TRUE(v.ok()) << v.out() << v.err();
    const int opened = lastPointCount(v.out());
    ASSERT_GT(opened, 0) << v.out();
    // The section is collapsed until "Streamlines" is ticked.
    EXPECT_EQ(v.map().enabled("checkbox", "Unit speed"), -1);

    ASSERT_TRUE(v.click("checkbox", "Streamlines"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("checkbox", "Unit speed") == 1; }));
    PanelMap m = v.map();
    EXPECT_EQ(m.state("checkbox", "Unit speed"), "0");
    // Drawn inside the "Integration" panel, between the method and "dt".
    const MapEntry* box = m.find("checkbox", "Unit speed");
    const MapEntry* rungeKutta = m.find("radio", "Runge Kutta");
    const MapEntry* dt = m.find("spinner", "dt");
    ASSERT_TRUE(box && rungeKutta && dt);
    EXPECT_GT(box->y, rungeKutta->y);
    EXPECT_LT(box->y, dt->y);

    std::size_t mark = v.out().size();
    ASSERT_TRUE(v.click("checkbox", "Unit speed"));
    ASSERT_TRUE(v.waitOutput([&](const std::string& o) { return contains(o.substr(mark), "Distance Field OK\n"); }));
    EXPECT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("checkbox", "Unit speed") == "1"; }));
    const int unit = lastPointCount(v.out());
    EXPECT_GT(unit, 2 * opened);

    mark = v.out().size();
    ASSERT_TRUE(v.click("checkbox", "Unit speed"));
    ASSERT_TRUE(v.waitOutput([&](const std::string& o) { return contains(o.substr(mark), "Distance Field OK\n"); }));
    EXPECT_EQ(lastPointCount(v.out()), opened);

    // Unticking "Streamlines" disables it with the rest of the section.
    ASSERT_TRUE(v.click("checkbox", "Streamlines"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Streamlines") == "0"; }));
    EXPECT_NE(v.map().enabled("checkbox", "Unit speed"), 1);
    EXPECT_EQ(v.err(), "");
}

}  // namespace
