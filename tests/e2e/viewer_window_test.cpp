// The main window squeezed to a single row: the display must neither divide
// by zero nor stop drawing once the window grows again.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

std::string findWindow(Process& viewer) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < end && viewer.running()) {
        const auto found = lines(xdotool("search --name \"Flow Visualization Application\""));
        if (!found.empty()) return found.front();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "";
}

// The panel map's frame counter: how many frames the viewer has drawn.
int framesDrawn(const std::string& map) {
    const std::string text = readFile(map);
    return text.rfind("frame\t", 0) == 0 ? std::atoi(text.c_str() + 6) : -1;
}

// Waits until the viewer has drawn a frame after `after`.
bool waitForFrameAfter(Process& viewer, const std::string& map, int after) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end && viewer.running()) {
        if (framesDrawn(map) > after) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace

TEST(ViewerWindow, AWindowWithoutFieldRowsKeepsRunningWithTheEditorShown) {
    ASSERT_TRUE(Xvfb::shared().ok());
    TempDir dir;
    prepareViewerDir(dir.path());
    const std::string grid = generateDataset(dir.path(), "gyre", {"--field", "gyre", "--nx", "33", "--ny", "17"});
    const std::string map = dir.file("panel.map");
    setenv("QUILLMERE_PANEL_MAP", map.c_str(), 1);
    Process viewer(programPath("quillmere"), {"-datafile", grid, "-showTfEditor", "1"}, dir.path());
    unsetenv("QUILLMERE_PANEL_MAP");

    const std::string window = findWindow(viewer);
    ASSERT_FALSE(window.empty()) << viewer.err();
    ASSERT_TRUE(waitForFrameAfter(viewer, map, -1)) << viewer.err();

    // One row: the field view gets (int)(1 * 0.8) = 0 rows. Without a window
    // manager the window sits at y = -1, where a single row would be off the
    // screen and never drawn: move it onto the screen first. Moving the
    // pointer over the row makes the panel ask for frames.
    xdotool("windowmove " + window + " 0 0");
    int seen = framesDrawn(map);
    xdotool("windowsize " + window + " 1024 1");
    xdotool("mousemove 300 0");
    xdotool("mousemove 320 0");
    EXPECT_TRUE(waitForFrameAfter(viewer, map, seen)) << viewer.err();
    EXPECT_TRUE(viewer.running()) << viewer.err();

    seen = framesDrawn(map);
    xdotool("windowsize " + window + " 1024 700");
    EXPECT_TRUE(waitForFrameAfter(viewer, map, seen)) << viewer.err();
    EXPECT_TRUE(viewer.running());
    EXPECT_EQ(viewer.err().find("OpenGL Error"), std::string::npos) << viewer.err();
}
