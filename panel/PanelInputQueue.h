#pragma once

#include <deque>
#include <vector>

// One window-system input event waiting for the panel's next frame.
struct PanelInputEvent {
    enum class Type { Move, Button, Wheel, Key };
    Type type = Type::Move;
    int x = 0;
    int y = 0;
    int button = 0;     // Button: 0 left, 1 middle, 2 right
    bool down = false;  // Button, Key
    int wheel = 0;      // Wheel: +1 away from the user, -1 towards
    int key = 0;        // Key: character, or special-key code when `special`
    bool special = false;
    int modifiers = 0;  // Button, Key: shift 1, ctrl 2, alt 4, as the window system reports them
};

// The user interface library samples the input state once per frame, so a
// press and a release that arrive between two frames would cancel out and
// the click would be lost. Events wait here instead and each frame takes
// one of them: a pointer move or a state change (button, wheel or key), so
// a drag between a press and its release is seen as such. Consecutive moves
// collapse into the last one.
class PanelInputQueue {
public:
    void pushMove(int x, int y);
    void pushButton(int button, bool down, int x, int y, int modifiers = 0);
    void pushWheel(int steps, int x, int y);
    // A key stroke: the window system reports presses only, so a stroke is
    // queued as a press and a release, one frame apart.
    void pushKeyStroke(int key, bool special, int modifiers);

    std::vector<PanelInputEvent> takeFrame();
    bool empty() const { return events_.empty(); }
    std::size_t size() const { return events_.size(); }

private:
    std::deque<PanelInputEvent> events_;
};
