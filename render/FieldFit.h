#pragma once

// The legend bars and their labels stand in a column at the left edge of the
// field view (and, with the arrow legend, one at the right edge). In a small
// view the field quad, centred at the reset view, would reach under them.
struct LegendColumns {
    int leftWidth = 0;   // pixels from the view's left edge the legend takes
    int rightWidth = 0;  // the same from the right edge; 0 without the arrow legend
    int top = 0;         // the legend's rows, from the view's top
    int bottom = 0;
    // With axes: pixels the quad leaves free beside the left column for the
    // y labels, and at the bottom edge for the x labels.
    int axisLeft = 0;
    int axisBottom = 0;
};

// How much to widen the base view (Camera::projectionBox's fit) so that the
// quad of `quadWidth` x `quadHeight` view units, centred, clears the legend
// columns of a `viewWidth` x `viewHeight` pixel view and the axes' margins:
// 1 when it already does, which is the case in a window of the usual size
// without axes; at most maxLegendFit.
constexpr float maxLegendFit = 4.0f;
float legendFit(int viewWidth, int viewHeight, float quadWidth, float quadHeight, const LegendColumns& legend);
