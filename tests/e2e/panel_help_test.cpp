// Tooltips on the real window: a control says what it does when the pointer
// rests on it, in the words of the settings table, disabled or not.

#include "settings/Settings.h"
#include "support/PanelDriver.h"
#include "support/ScreenGrab.h"

#include <gtest/gtest.h>

using namespace panel_e2e;

namespace {

class PanelHelp : public ViewerFolderTest {
protected:
    // Rests the pointer on a control's middle and returns the tooltip shown.
    MapEntry hover(PanelViewer& v, const std::string& kind, const std::string& label) {
        MapEntry e;
        EXPECT_TRUE(v.reveal(kind, label, e)) << label;
        const long frame = v.map().frame;
        xdotool(v.at(e.x + e.w / 2, e.y + e.h / 2));
        MapEntry tip;
        v.waitMap([&](const PanelMap& m) {
            for (const MapEntry& line : m.entries)
                if (line.kind == "tooltip") tip = line;
            return m.frame > frame && !tip.label.empty();
        });
        return tip;
    }

    // Bright text pixels on the screen inside a tooltip's rectangle.
    static int textPixels(const Image& screen, const PanelViewer& v, const MapEntry& tip) {
        int n = 0;
        for (int y = v.originY() + tip.y; y < v.originY() + tip.y + tip.h; ++y)
            for (int x = v.originX() + tip.x; x < v.originX() + tip.x + tip.w; ++x)
                if (level(screen, x, y) > 200) ++n;
        return n;
    }
};

}  // namespace

TEST_F(PanelHelp, ControlsShowTheirMeaningFromTheSettingsTable) {
    PanelViewer& v = start({"-datafile", "flow.gri", "-showStreamlines", "1"});
    ASSERT_TRUE(v.ok());

    const Image before = grabScreen();
    const MapEntry dsep = hover(v, "spinner", "dsep");
    EXPECT_EQ(dsep.label, findSetting("dsep")->meaning);
    const Image shown = grabScreen();
    EXPECT_GT(textPixels(shown, v, dsep), 100) << "the tooltip's text is on the screen";
    EXPECT_GT(differingPixels(shown, before, 10, v.originY() + dsep.y, v.originY() + dsep.y + dsep.h), 1000);

    // A radio button shows its group's meaning.
    EXPECT_EQ(hover(v, "radio", "Tapering").label, findSetting("streamlineMode")->meaning);
    // The file list's shows beside the panel, hiding no entry.
    ASSERT_TRUE(v.click("rollout", "File Browser"));
    const MapEntry list = hover(v, "filebrowser", "");
    EXPECT_EQ(list.label.rfind("click a folder to enter it", 0), 0u) << list.label;
    EXPECT_GE(list.x, PanelViewer::panelWidth);
}

TEST_F(PanelHelp, DisabledControlsExplainThemselvesToo) {
    PanelViewer& v = start({});
    ASSERT_TRUE(v.ok());
    ASSERT_EQ(v.map().enabled("button", "Reset Camera"), 0);
    EXPECT_EQ(hover(v, "button", "Reset Camera").label, "show the whole field again: no zoom, no pan (key Home or r)");
    EXPECT_EQ(hover(v, "checkbox", "Streamlines").label, findSetting("showStreamlines")->meaning);
}
