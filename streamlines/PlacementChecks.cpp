#include "streamlines/StreamlineSet.h"

#include "data/FlowData.h"

#include <cmath>
#include <iostream>
#include <sstream>

namespace {

bool isPositiveFinite(float v) { return std::isfinite(v) && v > 0.0f; }

}  // namespace

// The panel does not bound dt, dsep and dtest. Values the placement cannot
// work with are refused with one line on standard error and the list stays
// empty; the seeded placement needs only dt and the velocity.
bool StreamlineSet::placementRefused(bool evenlySpaced) {
    std::ostringstream why;
    if (!flowData_ || !flowData_->channel(0) || !flowData_->channel(1)) {
        why << "the dataset has no velocity channels";
    } else if (!isPositiveFinite(dt_)) {
        why << "dt must be a positive number (dt = " << dt_ << ")";
    } else if (!evenlySpaced) {
        return false;
    } else if (!isPositiveFinite(dsep_)) {
        why << "dsep must be a positive number (dsep = " << dsep_ << ")";
    } else if (!isPositiveFinite(dtest_)) {
        why << "dtest must be a positive number (dtest = " << dtest_ << ")";
    } else {
        const DomainBox box = domainBox();
        if (isPositiveFinite(box.width()) && isPositiveFinite(box.height())) return false;
        why << "the domain has no area";
    }
    refuse(why.str());
    return true;
}

void StreamlineSet::refuse(const std::string& why) {
    refusal_ = "Streamlines not placed: " + why;
    *err_ << refusal_ << std::endl;
}

// Values the placement clamps and then works with: one line each on
// standard output, among the placement's other lines.
void StreamlineSet::reportClamping() {
    if (static_cast<double>(dsep_ / dt_) * 1.2 < 1.0) {
        std::ostringstream line;
        line << "dt = " << dt_ << " is larger than 1.2 * dsep (dsep = " << dsep_ << "): the point caches hold 1 point";
        warn(line.str());
    }
    const DomainBox box = domainBox();
    if (box.width() < dsep_ || box.height() < dsep_) {
        std::ostringstream line;
        line << "dsep = " << dsep_ << " is larger than the domain (" << box.width() << " x " << box.height()
             << "): the distance field has " << fieldCellsX_ << " x " << fieldCellsY_ << " cells";
        warn(line.str());
    }
}

void StreamlineSet::warn(const std::string& line) {
    warnings_.push_back(line);
    *out_ << line << std::endl;
}
