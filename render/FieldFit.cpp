#include "render/FieldFit.h"

#include "render/Camera.h"

#include <algorithm>

float legendFit(int viewWidth, int viewHeight, float quadWidth, float quadHeight, const LegendColumns& legend) {
    if (viewWidth <= 0 || viewHeight <= 0) return 1.0f;
    const double aspect = static_cast<float>(viewWidth) / static_cast<float>(viewHeight);
    const double halfWidth = Camera::baseHalfHeight * (aspect < 1.0 ? 1.0 : aspect);
    const double halfHeight = Camera::baseHalfHeight * (aspect < 1.0 ? 1.0 / aspect : 1.0);
    // The quad's half-sizes in pixels at the base view.
    const double quadHalfX = quadWidth / 2.0 / halfWidth * viewWidth / 2.0;
    const double quadHalfY = quadHeight / 2.0 / halfHeight * viewHeight / 2.0;
    const double quadTop = viewHeight / 2.0 - quadHalfY;
    const double quadBottom = viewHeight / 2.0 + quadHalfY;
    // A flat quad passes under or over the legend columns.
    const bool besideLegend = quadBottom > legend.top && quadTop < legend.bottom;
    const int left = (besideLegend ? legend.leftWidth : 0) + legend.axisLeft;
    const int right = besideLegend ? legend.rightWidth : 0;
    double fit = 1.0;
    if (left > 0 || right > 0) {
        const double room = viewWidth / 2.0 - std::max(left, right);
        if (room <= 0.0) return maxLegendFit;
        fit = quadHalfX / room;
    }
    if (legend.axisBottom > 0) {
        const double room = viewHeight / 2.0 - legend.axisBottom;
        if (room <= 0.0) return maxLegendFit;
        fit = std::max(fit, quadHalfY / room);
    }
    return static_cast<float>(std::clamp(fit, 1.0, static_cast<double>(maxLegendFit)));
}
