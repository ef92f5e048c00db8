#pragma once

#include <vector>

#include "tf/TfPoint.h"

// Brings points read from an options file into the shape the editor and the
// colour table rely on: positions clamped to [0, 4.0] (NaN counts as 0),
// ordered by position (equal ones keep their file order), the first point at
// 0 and the last at 4.0, and every marker width positive and finite
// (otherwise defaultWidth). Expects at least two points.
void sanitizeLoadedPoints(std::vector<TfPoint>& points, float defaultWidth);
