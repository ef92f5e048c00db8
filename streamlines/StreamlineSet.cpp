#include "streamlines/StreamlineSet.h"

#include "data/Channel.h"
#include "data/ColorRGBA.h"
#include "data/FlowData.h"

#include <cmath>

namespace {

// Whole cells of `extent` per `size`, at least 1 and at most the cap. A
// size that is not a positive number, or an empty extent, gives one cell.
int cellCount(float extent, float size) {
    if (!(size > 0.0f) || !std::isfinite(size)) return 1;
    const float quotient = extent / size;
    if (!(quotient >= 1.0f)) return 1;
    if (quotient >= static_cast<float>(StreamlineSet::maxFieldCellsPerAxis)) return StreamlineSet::maxFieldCellsPerAxis;
    return static_cast<int>(quotient);
}

}  // namespace

StreamlineSet::StreamlineSet(FlowData* flowData, int xSlot, int ySlot, float dt, float dsep, float dtest)
    : flowData_(flowData), dt_(dt), dtest_(dtest), dsep_(dsep), xSlot_(xSlot), ySlot_(ySlot) {
    dsepSquared_ = dsep_ * dsep_;
    dtestSquared_ = dtest_ * dtest_;
    updateLimits();
    allocateCaches();
    buildDistanceField();
    color_ = std::make_unique<ColorRGBA>(1.0f, 1.0f, 1.0f, 1.0f);
}

StreamlineSet::~StreamlineSet() = default;

void StreamlineSet::setStepSize(float dt) {
    dt_ = dt;
    allocateCaches();
}

void StreamlineSet::setTestDistance(float dtest) {
    dtest_ = dtest;
    dtestSquared_ = dtest_ * dtest_;
    updateLimits();
}

void StreamlineSet::setSeparation(float dsep) {
    dsep_ = dsep;
    dsepSquared_ = dsep_ * dsep_;
    updateLimits();
    buildDistanceField();
}

void StreamlineSet::updateLimits() {
    const float seedLimit = 0.999f * dsep_;
    seedLimitSquared_ = seedLimit * seedLimit;
    seedReach_ = std::sqrt(static_cast<double>(seedLimitSquared_));
    testReach_ = std::sqrt(static_cast<double>(dtestSquared_));
}

void StreamlineSet::setColor(float r, float g, float b) {
    color_->setRed(r);
    color_->setGreen(g);
    color_->setBlue(b);
}

DomainBox StreamlineSet::domainBox() const {
    DomainBox box;
    const Channel* xs = flowData_ ? flowData_->channel(xSlot_) : nullptr;
    const Channel* ys = flowData_ ? flowData_->channel(ySlot_) : nullptr;
    if (!xs || !ys) return box;  // no dataset: an empty box that refuses every placement
    box.xmin = xs->minValue();
    box.xmax = xs->maxValue();
    box.ymin = ys->minValue();
    box.ymax = ys->maxValue();
    return box;
}

void StreamlineSet::allocateCaches() {
    // trunc(dsep / dt * 1.2). Below 1 (dt > 1.2 dsep) the caches keep one
    // entry; so they do for a dt or dsep that is zero, negative or not
    // finite, and above maxCacheCapacity they keep that many: the evenly
    // spaced placement refuses both before tracing anything.
    const bool usable = std::isfinite(dt_) && dt_ > 0.0f && std::isfinite(dsep_) && dsep_ > 0.0f;
    const double quotient = usable ? static_cast<double>(dsep_ / dt_) * 1.2 : 0.0;
    if (!(quotient >= 1.0)) cacheCapacity_ = 1;
    else if (quotient >= static_cast<double>(maxCacheCapacity)) cacheCapacity_ = maxCacheCapacity;
    else cacheCapacity_ = static_cast<int>(quotient);
    const std::size_t size = static_cast<std::size_t>(cacheCapacity_);
    cacheA_.assign(size, nullptr);
    cacheB_.assign(size, nullptr);
    firstCache_.assign(size, nullptr);
}

void StreamlineSet::buildDistanceField() {
    // At least one cell per axis: with dsep wider than the box (or not
    // positive) the single cell spans the whole box, which still holds every
    // point within dsep of any other.
    box_ = domainBox();
    fieldCellsX_ = cellCount(box_.width(), dsep_);
    fieldCellsY_ = cellCount(box_.height(), dsep_);
    fieldCellWidth_ = box_.width() / static_cast<float>(fieldCellsX_);
    fieldCellHeight_ = box_.height() / static_cast<float>(fieldCellsY_);
    marginX_ = 1e-4 * fieldCellWidth_ + 1e-6 * (std::fabs(box_.xmin) + std::fabs(box_.xmax));
    marginY_ = 1e-4 * fieldCellHeight_ + 1e-6 * (std::fabs(box_.ymin) + std::fabs(box_.ymax));
    cells_.clear();
    cells_.resize(static_cast<std::size_t>(fieldCellsX_) * static_cast<std::size_t>(fieldCellsY_));
    distancesValid_ = false;
}

void StreamlineSet::clearDistanceField() {
    for (auto& c : cells_) c.clear();
    distancesValid_ = false;
}

StreamPoint* StreamlineSet::createPoint(float x, float y) {
    pointPool_.emplace_back(x, y, streamlineNumber_, stepCounter_);
    return &pointPool_.back();
}

void StreamlineSet::discardPoint(StreamPoint* p) {
    if (p && !pointPool_.empty() && p == &pointPool_.back()) pointPool_.pop_back();
}

void StreamlineSet::startPlacement() {
    // Lines and cells refer into the pool, so they go first.
    streamlines_.clear();
    clearDistanceField();
    pointPool_.clear();
    // The field was sized for box_; should the coordinates have changed
    // since, it is sized anew.
    const DomainBox now = domainBox();
    if (now.xmin != box_.xmin || now.xmax != box_.xmax || now.ymin != box_.ymin || now.ymax != box_.ymax)
        buildDistanceField();
    streamlineNumber_ = 0;
    stepCounter_ = 0;
    refusal_.clear();
    warnings_.clear();
}

const std::vector<std::vector<float>>& StreamlineSet::nearestOtherDistances() {
    if (!distancesValid_) {
        distances_.clear();
        distances_.reserve(streamlines_.size());
        for (const auto& line : streamlines_) {
            std::vector<float> d;
            d.reserve(line->points.size());
            for (const StreamPoint* p : line->points) d.push_back(nearestOtherDistance(p));
            distances_.push_back(std::move(d));
        }
        distancesValid_ = true;
        valuesValid_ = false;
    }
    return distances_;
}

const std::vector<std::vector<float>>& StreamlineSet::valuesAlongLines(const Channel* channel) {
    // The lines change only where the distances are invalidated.
    nearestOtherDistances();
    if (valuesValid_ && channel == valuesChannel_) return values_;
    values_.clear();
    for (const auto& line : streamlines_) {
        std::vector<float> v;
        v.reserve(line->points.size());
        for (const StreamPoint* p : line->points) {
            // Held to the box as drawing holds it, so that sampling never misses.
            const float x = std::fmin(std::fmax(p->x(), box_.xmin), box_.xmax);
            const float y = std::fmin(std::fmax(p->y(), box_.ymin), box_.ymax);
            v.push_back(channel ? channel->normalize(channel->sampleAt(Vec3(x, y, 0.0f))) : 0.0f);
        }
        values_.push_back(std::move(v));
    }
    valuesChannel_ = channel;
    valuesValid_ = true;
    return values_;
}
