#include "streamlines/StreamlineSet.h"

#include "data/Channel.h"
#include "data/FlowData.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <limits>
#include <sstream>

namespace {

constexpr double kMiB = 1048576.0;

// A line's point list: its points and the blocks around them.
constexpr double kBytesPerLine = 640.0;

// A whole number as digits, a huge one in three significant digits.
std::string count(double value) {
    std::ostringstream text;
    if (value < 1e15) text << static_cast<long long>(std::llround(value));
    else text << std::setprecision(3) << value;
    return text.str();
}

}  // namespace

// The mean speed of the nodes with a finite velocity, 0 when there is none.
double StreamlineSet::meanSpeed() const {
    if (meanSpeed_ >= 0.0) return meanSpeed_;
    const Channel* vx = flowData_ ? flowData_->channel(0) : nullptr;
    const Channel* vy = flowData_ ? flowData_->channel(1) : nullptr;
    double sum = 0.0;
    long long count = 0;
    if (vx && vy && vx->valueCount() == vy->valueCount()) {
        for (int k = 0; k < vx->valueCount(); ++k) {
            const double x = vx->valueAt(k);
            const double y = vy->valueAt(k);
            const double speed = std::sqrt(x * x + y * y);
            if (!std::isfinite(speed)) continue;
            sum += speed;
            ++count;
        }
    }
    meanSpeed_ = count > 0 ? sum / static_cast<double>(count) : 0.0;
    return meanSpeed_;
}

// Lines about dsep apart fill the box, so together they are about its area
// over dsep long, and a step covers dt times the speed (dt with unit
// speed). Nothing moves in a field without speed.
StreamlineSet::Estimate StreamlineSet::estimateEvenlySpaced() const {
    const double area = static_cast<double>(box_.width()) * static_cast<double>(box_.height());
    const double speed = unitSpeed_ != 0 ? 1.0 : meanSpeed();
    Estimate e{0.0, static_cast<double>(field_.bytes())};
    if (speed > 0.0) e.points = area / (static_cast<double>(dsep_) * static_cast<double>(dt_) * speed);
    e.bytes += e.points * bytesPerPoint;
    return e;
}

double StreamlineSet::memoryInUse() const {
    double bytes = static_cast<double>(points_.bytes()) + static_cast<double>(field_.bytes());
    bytes += static_cast<double>(points_.size()) * sizeof(StreamPoint*);
    bytes += static_cast<double>(streamlines_.size()) * kBytesPerLine;
    for (const auto* cache : {&cacheA_, &cacheB_, &firstCache_})
        bytes += static_cast<double>(cache->capacity() * sizeof(PointStore::Id));
    return bytes;
}

// "dsep X or larger would fit": the points, and so their bytes, shrink as
// 1 / dsep; rounded up to three digits.
std::string StreamlineSet::budgetAdvice(double pointBytes) const {
    const double room = memoryBudget_ - static_cast<double>(field_.bytes());
    std::ostringstream text;
    if (!(room > 0.0) || !(pointBytes > 0.0)) {
        text << "the distance field alone needs more";
        return text.str();
    }
    const double fits = static_cast<double>(dsep_) * pointBytes / room;
    const double unit = std::pow(10.0, std::floor(std::log10(fits)) - 2.0);
    text << "dsep " << std::ceil(fits / unit) * unit << " or larger would fit";
    return text.str();
}

// Refuses a placement whose estimate exceeds the budget; otherwise sets the
// number of points the placement may hold.
bool StreamlineSet::refusedByBudget() {
    const Estimate e = estimateEvenlySpaced();
    const double room = memoryBudget_ - static_cast<double>(field_.bytes());
    const double ceiling = room > 0.0 ? room / bytesPerPoint : 0.0;
    // Entries of the distance field are counted in 32-bit ints.
    pointCeiling_ = static_cast<std::size_t>(std::fmin(ceiling, static_cast<double>(std::numeric_limits<int>::max())));
    if (e.bytes <= memoryBudget_) return false;
    limitedByBudget_ = true;
    std::ostringstream why;
    why << "about " << count(e.points) << " points (" << count(std::ceil(e.bytes / kMiB))
        << " MiB) would exceed the memory budget of " << count(memoryBudget_ / kMiB) << " MiB; "
        << budgetAdvice(e.points * bytesPerPoint);
    refuse(why.str());
    return true;
}

void StreamlineSet::reportBudgetUsedUp() {
    std::ostringstream line;
    line << "Stopped after " << theoreticalPoints_ << " points: the memory budget of " << count(memoryBudget_ / kMiB)
         << " MiB is used up (about " << count(estimateEvenlySpaced().points) << " points were expected)";
    warn(line.str());
}
