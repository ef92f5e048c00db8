#include "streamlines/StreamlineSet.h"

#include "data/Channel.h"
#include "data/FlowData.h"
#include "data/Grid.h"

#include <array>
#include <cmath>
#include <iostream>

// Velocity at (x, y) from slots 0 and 1, negated for direction -1. False
// when the dataset has no velocity channels. Both components share one cell
// search; outside the grid each reports itself, as Channel::sampleAt does.
bool StreamlineSet::velocityAt(float x, float y, float& vx, float& vy) const {
    const Channel* cx = flowData_ ? flowData_->channel(0) : nullptr;
    const Channel* cy = flowData_ ? flowData_->channel(1) : nullptr;
    std::array<int, 4> corners;
    std::array<float, 4> weights;
    if (!cx || !cy || cx->grid() != cy->grid() || !cx->grid()->locateCell(Vec3(x, y, 0.0f), corners, weights))
        return false;
    Channel::interpolatePair(*cx, *cy, corners, weights, vx, vy);
    return true;
}

bool StreamlineSet::sampleVelocity(float x, float y, int direction, float& vx, float& vy) const {
    const Channel* cx = flowData_ ? flowData_->channel(0) : nullptr;
    const Channel* cy = flowData_ ? flowData_->channel(1) : nullptr;
    if (!cx || !cy) return false;
    const Vec3 at(x, y, 0.0f);
    std::array<int, 4> corners;
    std::array<float, 4> weights;
    if (cx->grid() != cy->grid()) {
        vx = cx->sampleAt(at);
        vy = cy->sampleAt(at);
    } else if (cx->grid()->locateCell(at, corners, weights)) {
        Channel::interpolatePair(*cx, *cy, corners, weights, vx, vy);
    } else {
        *err_ << "Outside of the dataset\nOutside of the dataset\n";
        vx = 0.0f;
        vy = 0.0f;
    }
    if (direction < 0) {
        vx = -vx;
        vy = -vy;
    }
    return true;
}

// The velocity a step moves by, per unit of dt. With unit speed it is the
// direction v / |v| (in double); a zero vector stays zero, so the midpoint
// step's unguarded first sample behaves as without unit speed. A NaN or
// infinite component gives NaN, which the steps' finiteness tests catch.
StreamlineSet::StepVelocity StreamlineSet::stepVelocity(float vx, float vy) const {
    const double x = static_cast<double>(vx);
    const double y = static_cast<double>(vy);
    if (unitSpeed_ == 0 || (vx == 0.0f && vy == 0.0f)) return {x, y};
    const double length = std::sqrt(x * x + y * y);
    return {x / length, y / length};
}

StreamPoint* StreamlineSet::failStep(TerminationReason reason) {
    stepFailure_ = reason;
    return nullptr;
}

StreamPoint* StreamlineSet::stepForward(StreamPoint* p) {
    return integration_ == IntegrationMethod::Euler ? eulerStep(p, 1) : midpointStep(p, 1);
}

StreamPoint* StreamlineSet::stepBackward(StreamPoint* p) {
    return integration_ == IntegrationMethod::Euler ? eulerStep(p, -1) : midpointStep(p, -1);
}

// A non-finite result (NaN velocities in the data) ends the line here, so
// no NaN position ever reaches the cell arithmetic or the sampling.
StreamPoint* StreamlineSet::eulerStep(StreamPoint* p, int direction) {
    float vx = 0.0f;
    float vy = 0.0f;
    if (!sampleVelocity(p->x(), p->y(), direction, vx, vy)) return failStep(TerminationReason::ZeroVelocity);
    if (vx == 0.0f && vy == 0.0f) return failStep(TerminationReason::ZeroVelocity);
    const StepVelocity v = stepVelocity(vx, vy);
    const double h = static_cast<double>(dt_);
    const float x = static_cast<float>(static_cast<double>(p->x()) + h * v.x);
    const float y = static_cast<float>(static_cast<double>(p->y()) + h * v.y);
    if (!std::isfinite(x) || !std::isfinite(y)) return failStep(TerminationReason::NonFinite);
    return createPoint(x, y);
}

StreamPoint* StreamlineSet::midpointStep(StreamPoint* p, int direction) {
    float ax = 0.0f;
    float ay = 0.0f;
    if (!sampleVelocity(p->x(), p->y(), direction, ax, ay)) return failStep(TerminationReason::ZeroVelocity);
    const StepVelocity va = stepVelocity(ax, ay);
    const double half = 0.5 * static_cast<double>(dt_);
    const float mx = static_cast<float>(static_cast<double>(p->x()) + half * va.x);
    const float my = static_cast<float>(static_cast<double>(p->y()) + half * va.y);
    if (!std::isfinite(mx) || !std::isfinite(my)) return failStep(TerminationReason::NonFinite);
    const DomainBox& box = box_;
    if (mx > box.xmax || mx < box.xmin || my > box.ymax || my < box.ymin)
        return failStep(TerminationReason::MidpointOutside);

    float vx = 0.0f;
    float vy = 0.0f;
    sampleVelocity(mx, my, direction, vx, vy);
    if (vx == 0.0f && vy == 0.0f) return failStep(TerminationReason::ZeroVelocity);
    const StepVelocity vm = stepVelocity(vx, vy);
    const double h = static_cast<double>(dt_);
    const float x = static_cast<float>(static_cast<double>(p->x()) + h * vm.x);
    const float y = static_cast<float>(static_cast<double>(p->y()) + h * vm.y);
    if (!std::isfinite(x) || !std::isfinite(y)) return failStep(TerminationReason::NonFinite);
    return createPoint(x, y);
}

// A point on the boundary is inside. A NaN position is outside, so that no
// test goes on to compute a cell from it.
bool StreamlineSet::isOutsideDomain(const StreamPoint* p) const {
    const float x = p->x();
    const float y = p->y();
    return !(x <= box_.xmax && x >= box_.xmin && y <= box_.ymax && y >= box_.ymin);
}
