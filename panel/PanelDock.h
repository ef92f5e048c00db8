#pragma once

// Where the panel sits in a window of a given width. Normally it takes its
// full width at the left edge and the graphics area the rest. In a window
// so narrow that the graphics area would be narrower than the panel, the
// panel collapses to a strip at the left edge; pointing at the strip (or
// pressing on it) opens the panel over the graphics area, and it folds back
// once the pointer leaves it, unless a control is in use (a text field being
// edited, a button held).
class PanelDock {
public:
    static constexpr int stripWidth = 22;

    explicit PanelDock(int panelWidth) : panelWidth_(panelWidth) {}

    void setPanelWidth(int width) { panelWidth_ = width; }
    void setWindowWidth(int width) { windowWidth_ = width; }

    // The window leaves the field narrower than the panel.
    bool collapsed() const { return windowWidth_ < 2 * panelWidth_; }
    bool expanded() const { return collapsed() && open_; }
    // Pixels at the left edge kept from the graphics area.
    int reservedWidth() const { return collapsed() ? stripWidth : panelWidth_; }
    // Pixels at the left edge the panel covers now.
    int shownWidth() const { return collapsed() && !open_ ? stripWidth : panelWidth_; }

    // The pointer is at window column x; `busy` tells that a control is in
    // use. Returns whether the shown width changed.
    bool pointerAt(int x, bool busy);
    // The pointer left the window.
    bool pointerGone(bool busy);
    // A button pressed at column x.
    bool pressAt(int x);

private:
    bool setOpen(bool open);

    int panelWidth_;
    int windowWidth_ = 0;
    bool open_ = false;
};
