#pragma once

#include <functional>
#include <map>
#include <vector>

class PanelControl;
class PanelWindow;

struct PanelRect {
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
};

// What one frame of drawing produced: the user's changes, applied to the
// model only after the frame so that control callbacks run outside it, and
// where each control (and each file-browser entry) was drawn, in window
// pixels from the top left.
struct PanelFrameResult {
    std::vector<std::function<void()>> actions;
    std::map<const PanelControl*, PanelRect> rects;
    std::vector<PanelRect> fileEntryRects;
    // Height of everything drawn; ImGui sizes the scroll bar from the last
    // frame's content, so a change needs one more frame to show right.
    float contentHeight = 0.0f;
};

// Draws the panel as a window docked on the left edge at full height,
// between ImGui::NewFrame and ImGui::Render.
void drawPanelWindow(PanelWindow& window, float displayHeight, PanelFrameResult& result);
