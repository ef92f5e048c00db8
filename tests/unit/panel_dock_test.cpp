// The panel collapses to a strip in a narrow window and opens over the
// graphics area while the pointer is on it.
#include "panel/PanelDock.h"

#include <gtest/gtest.h>

TEST(PanelDock, AWindowTooNarrowForPanelAndFieldLeavesTheStrip) {
    PanelDock dock(240);
    dock.setWindowWidth(480);
    EXPECT_FALSE(dock.collapsed());
    EXPECT_EQ(dock.reservedWidth(), 240);
    EXPECT_EQ(dock.shownWidth(), 240);
    EXPECT_FALSE(dock.pointerAt(5, false)) << "a docked panel does not move";

    dock.setWindowWidth(479);
    EXPECT_TRUE(dock.collapsed());
    EXPECT_EQ(dock.reservedWidth(), PanelDock::stripWidth);
    EXPECT_EQ(dock.shownWidth(), PanelDock::stripWidth);
}

TEST(PanelDock, TheStripOpensUnderThePointerAndFoldsWhenItLeaves) {
    PanelDock dock(240);
    dock.setWindowWidth(400);
    EXPECT_FALSE(dock.pointerAt(100, false));
    EXPECT_TRUE(dock.pointerAt(PanelDock::stripWidth - 1, false));
    EXPECT_TRUE(dock.expanded());
    EXPECT_EQ(dock.shownWidth(), 240);
    EXPECT_EQ(dock.reservedWidth(), PanelDock::stripWidth) << "the graphics area keeps its size";
    EXPECT_FALSE(dock.pointerAt(239, false));
    EXPECT_FALSE(dock.pointerAt(300, true)) << "a control in use keeps it open";
    EXPECT_TRUE(dock.pointerAt(240, false));
    EXPECT_EQ(dock.shownWidth(), PanelDock::stripWidth);

    EXPECT_TRUE(dock.pressAt(3));
    EXPECT_FALSE(dock.pointerGone(true));
    EXPECT_TRUE(dock.pointerGone(false));
    EXPECT_FALSE(dock.expanded());

    // Opened, then the window grows: docked beside the field again.
    dock.pressAt(3);
    dock.setWindowWidth(1024);
    EXPECT_FALSE(dock.expanded());
    EXPECT_EQ(dock.reservedWidth(), 240);
}
