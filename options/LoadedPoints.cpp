#include "options/LoadedPoints.h"

#include <algorithm>
#include <cmath>

#include "tf/TfPointList.h"

void sanitizeLoadedPoints(std::vector<TfPoint>& points, float defaultWidth) {
    for (TfPoint& p : points) {
        if (!(p.position > 0.0f)) p.position = 0.0f;
        if (p.position > TfPointList::endPosition) p.position = TfPointList::endPosition;
        if (!(p.markerWidth > 0.0f) || !std::isfinite(p.markerWidth)) p.markerWidth = defaultWidth;
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const TfPoint& a, const TfPoint& b) { return a.position < b.position; });
    if (points.size() < 2) return;
    // The end points are never moved in the editor, so they have to sit at the ends.
    points.front().position = 0.0f;
    points.back().position = TfPointList::endPosition;
}
