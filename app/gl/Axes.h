#pragma once

#include "render/Camera.h"
#include "render/FieldFit.h"

// With "Axes": a frame around the field as far as the view shows it, with
// ticks at round values of the data coordinates on x (below) and y (left)
// and their labels; it follows zoom and pan.

struct AxisMargins {
    int left = 0;    // pixels the y labels take left of the frame
    int bottom = 0;  // pixels the x labels take below it
};
// The room the labels need in a view `height` pixels high; none without
// axes or dataset.
AxisMargins axisMargins(int height);

// Draws the axes over a `width` x `height` field view seen through `box`,
// keeping the frame clear of the legend columns and inside the view.
void drawAxes(int width, int height, const Camera::OrthoBox& box, const LegendColumns& legend);
