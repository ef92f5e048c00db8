#pragma once

// Decides which mouse events belong to the panel, docked on the left edge
// at `panelWidth` pixels. A press lands where the pointer is; its motion and
// its release stay with whoever got the press, so a drag of the camera that
// passes over the panel keeps moving the camera and a spinner drag that
// leaves the panel keeps its button. Button numbers and states are the
// window system's: 0 left, 1 middle, 2 right, 3 and 4 the wheel; state 0
// pressed, 1 released.
class PanelMouseRouter {
public:
    explicit PanelMouseRouter(int panelWidth) : panelWidth_(panelWidth) {}

    void setPanelWidth(int width) { panelWidth_ = width; }
    bool overPanel(int x) const { return x < panelWidth_; }
    // A button pressed on the panel is still held.
    bool holdsButtons() const { return panelButtons_ != 0; }

    bool mouse(int button, int state, int x);
    bool motion(int x) const;

private:
    int panelWidth_;
    unsigned panelButtons_ = 0;
    unsigned viewButtons_ = 0;
};
