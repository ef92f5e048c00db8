#pragma once

#include <vector>
#include <functional>

class PanelSpinner;

// Draws a spinner: its label, a number field and the two step buttons.
// A typed value counts when the field is left (Enter, Tab or a click
// elsewhere) and is clamped by the model; a click on a step button moves one
// step; pressing a step button and dragging moves one step per few pixels,
// up for more. Changes are appended to `actions`, to be applied after the frame.
void drawSpinner(PanelSpinner& spinner, std::vector<std::function<void()>>& actions);
