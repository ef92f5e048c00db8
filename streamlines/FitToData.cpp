#include "streamlines/FitToData.h"

#include "streamlines/StreamlineSet.h"

#include <algorithm>
#include <cmath>
#include <sstream>

FittedSettings fitToBox(const DomainBox& box) {
    const double w = box.width();
    const double h = box.height();
    FittedSettings fit;
    if (!(w > 0.0) || !(h > 0.0) || !std::isfinite(w * h)) return fit;
    // The separation follows the box's area, so that a square and an
    // elongated box of the same area get lines of the same spacing; a flow
    // along the longer side still gets more than 20 lines across the shorter
    // one.
    const double dsep = std::min(std::sqrt(w * h) / 32.0, std::min(w, h) / 24.0);
    fit.dsep = static_cast<float>(dsep);
    fit.dtest = static_cast<float>(dsep * 0.4);
    fit.dt = static_cast<float>(dsep / 40.0);
    // The start values' proportions to the start dsep of 0.4: bands 0.1 and
    // 0.04 wide, glyphs 0.3 apart.
    fit.lineWidthMax = static_cast<float>(dsep * 0.25);
    fit.lineWidthMin = static_cast<float>(dsep * 0.1);
    fit.glyphSpacing = static_cast<float>(dsep * 0.75);
    return fit;
}

std::string describeFit(const DomainBox& box, const FittedSettings& fit) {
    std::ostringstream out;
    out << "Fit to data (box " << box.width() << " x " << box.height() << "): dsep " << fit.dsep << ", dtest "
        << fit.dtest << ", dt " << fit.dt << " with unit speed, line widths " << fit.lineWidthMax << " and "
        << fit.lineWidthMin << ", glyph spacing " << fit.glyphSpacing;
    return out.str();
}

void applyFit(StreamlineSet& set, const FittedSettings& fit) {
    set.setUnitSpeed(1);
    set.setSeparation(fit.dsep);
    set.setTestDistance(fit.dtest);
    set.setStepSize(fit.dt);
}
