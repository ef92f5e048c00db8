#include "streamlines/StreamlineSet.h"

#include "data/FlowData.h"

#include <cmath>
#include <iostream>

namespace {

bool isPositiveFinite(float v) { return std::isfinite(v) && v > 0.0f; }

}  // namespace

// The panel does not bound dt, dsep and dtest. Values the placement cannot
// work with are refused with one line on standard error and the list stays
// empty; the seeded placement needs only dt and the velocity.
bool StreamlineSet::placementRefused(bool evenlySpaced) const {
    const char* const prefix = "Streamlines not placed: ";
    if (!flowData_ || !flowData_->channel(0) || !flowData_->channel(1)) {
        std::cerr << prefix << "the dataset has no velocity channels" << std::endl;
        return true;
    }
    if (!isPositiveFinite(dt_)) {
        std::cerr << prefix << "dt must be a positive number (dt = " << dt_ << ")" << std::endl;
        return true;
    }
    if (!evenlySpaced) return false;
    if (!isPositiveFinite(dsep_)) {
        std::cerr << prefix << "dsep must be a positive number (dsep = " << dsep_ << ")" << std::endl;
        return true;
    }
    if (!isPositiveFinite(dtest_)) {
        std::cerr << prefix << "dtest must be a positive number (dtest = " << dtest_ << ")" << std::endl;
        return true;
    }
    const DomainBox box = domainBox();
    if (!isPositiveFinite(box.width()) || !isPositiveFinite(box.height())) {
        std::cerr << prefix << "the domain has no area" << std::endl;
        return true;
    }
    return false;
}

// Values the placement clamps and then works with: one line each on
// standard output, among the placement's other lines.
void StreamlineSet::reportClamping() const {
    if (static_cast<double>(dsep_ / dt_) * 1.2 < 1.0)
        std::cout << "dt = " << dt_ << " is larger than 1.2 * dsep (dsep = " << dsep_
                  << "): the point caches hold 1 point" << std::endl;
    const DomainBox box = domainBox();
    if (box.width() < dsep_ || box.height() < dsep_)
        std::cout << "dsep = " << dsep_ << " is larger than the domain (" << box.width() << " x " << box.height()
                  << "): the distance field has " << fieldCellsX_ << " x " << fieldCellsY_ << " cells" << std::endl;
}
