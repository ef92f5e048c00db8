#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

class PanelControl;
class PanelWindow;

struct PanelRect {
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
    bool operator==(const PanelRect& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

// What one frame of drawing produced: the user's changes, applied to the
// model only after the frame so that control callbacks run outside it, and
// where each control (and each file-browser entry) was drawn, in window
// pixels from the top left.
struct PanelFrameResult {
    std::vector<std::function<void()>> actions;
    std::map<const PanelControl*, PanelRect> rects;
    std::vector<PanelRect> fileEntryRects;
    // The file browser's folder field: where it was drawn and what it showed.
    PanelRect folderRect;
    std::string folderText;
    // The tooltip shown, if any, and where.
    std::string tooltip;
    PanelRect tooltipRect;
    // Height of everything drawn; ImGui sizes the scroll bar from the last
    // frame's content, so a change needs one more frame to show right.
    float contentHeight = 0.0f;
    // Something drawn in this frame shows right only in the next one (a list
    // scrolled back to its top).
    bool needsFrame = false;
    // A control is in use: a field being edited or a button held.
    bool busy = false;
};

// Draws the panel as a window docked on the left edge at full height and
// `width` pixels wide, between ImGui::NewFrame and ImGui::Render. A `strip`
// stands for the collapsed panel (PanelDock) and draws no controls.
void drawPanelWindow(PanelWindow& window, float width, float displayHeight, bool strip, PanelFrameResult& result);
