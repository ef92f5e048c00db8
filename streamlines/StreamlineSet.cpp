#include "streamlines/StreamlineSet.h"

#include "data/Channel.h"
#include "data/ColorRGBA.h"
#include "data/FlowData.h"
#include "settings/SystemMemory.h"

#include <atomic>
#include <cmath>
#include <iostream>
#include <limits>

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
    : flowData_(flowData),
      dt_(dt),
      dtest_(dtest),
      dsep_(dsep),
      xSlot_(xSlot),
      ySlot_(ySlot),
      memoryBudget_(static_cast<double>(defaultMemoryBudgetMegabytes()) * 1048576.0),
      out_(&std::cout),
      err_(&std::cerr) {
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
    allocateCaches();
    buildDistanceField();
}

void StreamlineSet::updateLimits() {
    const float seedLimit = 0.999f * dsep_;
    seedLimitSquared_ = seedLimit * seedLimit;
    testReach_ = std::sqrt(static_cast<double>(dtestSquared_));
    seedReach_ = std::sqrt(static_cast<double>(seedLimitSquared_));
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

double StreamlineSet::maxLineLength() const {
    return lineLengthInHalfPerimeters * (static_cast<double>(box_.width()) + static_cast<double>(box_.height()));
}

void StreamlineSet::allocateCaches() {
    // trunc(dsep / dt * 1.2), whatever its size: the caches fill as a line
    // grows, so a large capacity costs nothing until points are placed.
    // Below 1 (dt > 1.2 dsep) the caches hold one point; so they do for a dt
    // or dsep that is zero, negative or not finite, which the evenly spaced
    // placement refuses before tracing anything.
    const bool usable = std::isfinite(dt_) && dt_ > 0.0f && std::isfinite(dsep_) && dsep_ > 0.0f;
    const double quotient = usable ? static_cast<double>(dsep_ / dt_) * 1.2 : 0.0;
    if (!(quotient >= 1.0)) cacheCapacity_ = 1;
    else if (quotient >= static_cast<double>(std::numeric_limits<int>::max()))
        cacheCapacity_ = std::numeric_limits<int>::max();
    else cacheCapacity_ = static_cast<int>(quotient);
    for (auto* cache : {&cacheA_, &cacheB_, &firstCache_}) {
        cache->clear();
        cache->shrink_to_fit();
    }
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
    inverseCellWidth_ = 1.0f / fieldCellWidth_;
    inverseCellHeight_ = 1.0f / fieldCellHeight_;
    marginX_ = 1e-4 * fieldCellWidth_ + 1e-6 * (std::fabs(box_.xmin) + std::fabs(box_.xmax));
    marginY_ = 1e-4 * fieldCellHeight_ + 1e-6 * (std::fabs(box_.ymin) + std::fabs(box_.ymax));
    field_.reset(static_cast<std::size_t>(fieldCellsX_) * static_cast<std::size_t>(fieldCellsY_));
    seedWitness_ = Witness{};
    distancesValid_ = false;
}

void StreamlineSet::clearDistanceField() {
    field_.clear();
    seedWitness_ = Witness{};
    distancesValid_ = false;
}

StreamPoint* StreamlineSet::createPoint(float x, float y) { return points_.add(x, y, streamlineNumber_, stepCounter_); }

void StreamlineSet::discardPoint(StreamPoint* p) {
    const std::size_t n = points_.size();
    if (p && n > 0 && p == points_.at(static_cast<PointStore::Id>(n - 1)) &&
        static_cast<long long>(n - 1) > highestRegistered_)
        points_.popBack();
}

// The store's id of p; a point from elsewhere is copied into the store, so
// that the distance field refers to points of the set only.
PointStore::Id StreamlineSet::idOf(StreamPoint* p) {
    const std::size_t n = points_.size();
    if (n > 0 && p == points_.at(static_cast<PointStore::Id>(n - 1))) return static_cast<PointStore::Id>(n - 1);
    PointStore::Id id = 0;
    if (points_.find(p, id)) return id;
    points_.add(p->x(), p->y(), p->number(), p->index());
    return static_cast<PointStore::Id>(points_.size() - 1);
}

void StreamlineSet::startPlacement() {
    static std::atomic<std::uint64_t> placements{0};
    placement_ = ++placements;
    // Lines and cells refer into the store, so they go first.
    streamlines_.clear();
    clearDistanceField();
    points_.clear();
    emptyReason_.clear();
    highestRegistered_ = -1;
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
