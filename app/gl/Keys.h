#pragma once

// Keys of the main window that no panel text field takes: "+" (or "=") and
// "-" zoom about the middle of the view, the arrows move the view, Home or
// "r" resets the camera, "s" takes a screenshot as the button does, "q" or
// Esc quits as closing the window does.
void viewerKey(unsigned char key);
void viewerSpecialKey(int key, bool shift);

// Left and right without Shift go to this handler first (the time steps of a
// dataset with several take them); when there is none, or it returns false,
// they move the view like Shift+left and Shift+right always do. Up and down
// always move the view. `direction` is -1 for left, 1 for right.
using HorizontalArrowHandler = bool (*)(int direction);
void setHorizontalArrowHandler(HorizontalArrowHandler handler);

// Moves the view by a tenth of its width (dx) or height (dy) per unit, in
// the arrows' directions: dx 1 shows more of the right, dy 1 more of the top.
void panView(int dx, int dy);
