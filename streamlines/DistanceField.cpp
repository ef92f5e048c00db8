#include "streamlines/StreamlineSet.h"

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <iostream>

namespace {

// trunc((coord - min) / size) in float, the upper boundary folded into the
// last cell. Never converts a NaN or huge quotient to int (undefined).
// `inverse` is 1 / size in float. The product with it differs from the
// float quotient by less than 4 * 2^-24 * count; farther than that from a
// whole number (almost always) it truncates to the same cell, so the
// division is left out. The slack allows four times as much.
inline int cellIndex(float coord, float min, float size, float inverse, int count) {
    const float d = coord - min;
    const float guess = d * inverse;
    if (guess >= 0.0f && guess < static_cast<float>(count)) {
        const int i = static_cast<int>(guess);
        const float fraction = guess - static_cast<float>(i);  // exact
        const float slack = static_cast<float>(count) * 0x1p-20f;
        if (fraction > slack && fraction < 1.0f - slack) return i;
    }
    const float q = d / size;
    if (q >= 0.0f && q < static_cast<float>(count) + 1.0f) {
        const int i = static_cast<int>(q);
        return i == count ? count - 1 : i;
    }
    if (std::isnan(q)) return -1;
    const float limit = 1.0e9f;
    if (q <= -limit) return -static_cast<int>(limit);
    if (q >= limit) return static_cast<int>(limit);
    const int i = static_cast<int>(q);
    return i == count ? count - 1 : i;
}

}  // namespace

int StreamlineSet::cellIndexX(float x) const {
    return cellIndex(x, box_.xmin, fieldCellWidth_, inverseCellWidth_, fieldCellsX_);
}

int StreamlineSet::cellIndexY(float y) const {
    return cellIndex(y, box_.ymin, fieldCellHeight_, inverseCellHeight_, fieldCellsY_);
}

std::vector<FieldEntry> StreamlineSet::cell(int i, int j) const {
    std::vector<FieldEntry> out;
    for (const ProximityIndex::Entry& e : field_.entries(cellSlot(i, j)))
        out.push_back(FieldEntry{e.x, e.y, points_.at(e.id)});
    return out;
}

// A point off the field is reported and not stored; it still counts as a
// registration, so the two statistics lines then differ.
void StreamlineSet::registerPoint(StreamPoint* p) { registerId(idOf(p)); }

void StreamlineSet::registerId(PointStore::Id id) {
    const StreamPoint* p = points_.at(id);
    const int i = cellIndexX(p->x());
    const int j = cellIndexY(p->y());
    const bool validX = i >= 0 && i < fieldCellsX_;
    const bool validY = j >= 0 && j < fieldCellsY_;
    if (!validX) *out_ << "Invalid x-Index: " << i << '\n';
    if (!validY) *out_ << "Invalid y-Index: " << j << '\n';
    if (validX && validY) {
        field_.insert(cellSlot(i, j), p->x(), p->y(), id);
        if (static_cast<long long>(id) > highestRegistered_) highestRegistered_ = id;
        distancesValid_ = false;
    }
    ++theoreticalRegistered_;
}

void StreamlineSet::registerPoints(StreamPoint** array, int count) {
    for (int k = 0; k < count; ++k) registerPoint(array[k]);
}

// Whether a point of the 3 x 3 cells around cell (i, j) of (x, y), a
// position inside the box, lies nearer than the limit (reach its root).
// A neighbouring row or column is left out when the position lies farther
// from it than the limit, with a margin for the rounding of cell bounds:
// none of its points could answer yes. The index prunes the rest by
// bounding boxes. The point that answered yes is kept in `witness` with
// the cell it was registered in.
bool StreamlineSet::isNear(float x, float y, int i, int j, double limit, double reach, Witness& witness) const {
    const double px = x;
    const double py = y;
    const double left = static_cast<double>(box_.xmin) + static_cast<double>(i) * fieldCellWidth_;
    const double bottom = static_cast<double>(box_.ymin) + static_cast<double>(j) * fieldCellHeight_;
    const double reachX = reach + marginX_;
    const double reachY = reach + marginY_;
    const int a0 = std::max(px - left <= reachX ? i - 1 : i, 0);
    const int a1 = std::min(left + fieldCellWidth_ - px <= reachX ? i + 1 : i, fieldCellsX_ - 1);
    const int b0 = std::max(py - bottom <= reachY ? j - 1 : j, 0);
    const int b1 = std::min(bottom + fieldCellHeight_ - py <= reachY ? j + 1 : j, fieldCellsY_ - 1);
    for (int a = a0; a <= a1; ++a) {
        for (int b = b0; b <= b1; ++b) {
            const std::int32_t k = field_.findCloser(cellSlot(a, b), px, py, limit);
            if (k >= 0) {
                witness = Witness{k, a, b};
                return true;
            }
        }
    }
    witness.entry = -1;
    return false;
}

// Candidates come one after another along a line, a step apart, and most
// are rejected: the point that rejected the last one is tried first. It
// counts only if it lies in the 3 x 3 cells around the candidate, as any
// point the full test finds does.
bool StreamlineSet::isSeedRejected(const StreamPoint* p) const {
    if (isOutsideDomain(p)) return true;
    const int i = cellIndexX(p->x());
    const int j = cellIndexY(p->y());
    if (seedWitness_.entry >= 0 && static_cast<std::size_t>(seedWitness_.entry) < field_.size()) {
        const ProximityIndex::Entry& q = field_.entryAt(static_cast<std::size_t>(seedWitness_.entry));
        const double dx = static_cast<double>(p->x()) - static_cast<double>(q.x);
        const double dy = static_cast<double>(p->y()) - static_cast<double>(q.y);
        if (dx * dx + dy * dy < static_cast<double>(seedLimitSquared_) && std::abs(seedWitness_.i - i) <= 1 &&
            std::abs(seedWitness_.j - j) <= 1)
            return true;
    }
    return isNear(p->x(), p->y(), i, j, static_cast<double>(seedLimitSquared_), seedReach_, seedWitness_);
}

bool StreamlineSet::isTooClose(const StreamPoint* p) const {
    if (isOutsideDomain(p)) return true;
    Witness witness;
    return isNear(p->x(), p->y(), cellIndexX(p->x()), cellIndexY(p->y()), static_cast<double>(dtestSquared_),
                  testReach_, witness);
}

float StreamlineSet::nearestOtherDistance(const StreamPoint* p) const {
    double best = static_cast<double>(dsepSquared_);
    const int i = cellIndexX(p->x());
    const int j = cellIndexY(p->y());
    for (int a = i - 1; a <= i + 1; ++a) {
        if (a < 0 || a >= fieldCellsX_) continue;
        for (int b = j - 1; b <= j + 1; ++b) {
            if (b < 0 || b >= fieldCellsY_) continue;
            best = field_.nearestOther(cellSlot(a, b), p->x(), p->y(), best, p->number(), points_);
        }
    }
    return static_cast<float>(std::sqrt(best));
}

void StreamlineSet::printStatistics() const {
    std::size_t inLines = 0;
    for (const auto& line : streamlines_) inLines += line->points.size();
    *out_ << "Number of points in streamlines: " << inLines << '\n'
          << "Number of points theoretically in streamlines: " << theoreticalPoints_ << '\n'
          << "Number of registrated points: " << registeredCount() << '\n'
          << "Number of theoretical registrated points: " << theoreticalRegistered_ << '\n'
          << "Cached points: " << cachedPoints_ << '\n';
}

// A point a rounding step outside the float bounds of its cell still
// belongs there when its own cell index says so (x = 3.6 with cells of 0.4:
// index 9, yet 9 * 0.4f = 3.6000001). The cells are checked in any order
// first; only a failure is looked for again in the order of registration,
// which is the order it is reported in.
void StreamlineSet::checkDistanceField() const {
    const DomainBox& box = box_;
    auto misplaced = [&](int i, int j, const StreamPoint* q) {
        const float left = static_cast<float>(i) * fieldCellWidth_ + box.xmin;
        const float right = static_cast<float>(i + 1) * fieldCellWidth_ + box.xmin;
        const float bottom = static_cast<float>(j) * fieldCellHeight_ + box.ymin;
        const float top = static_cast<float>(j + 1) * fieldCellHeight_ + box.ymin;
        const bool outside = q->x() > right || q->x() < left || q->y() > top || q->y() < bottom;
        return outside && (cellIndexX(q->x()) != i || cellIndexY(q->y()) != j);
    };
    // Each entry holds the position its point was registered at, which
    // names its cell; the point itself may have moved since.
    std::vector<bool> failedCells;
    for (std::size_t k = 0; k < field_.size(); ++k) {
        const ProximityIndex::Entry& e = field_.entryAt(k);
        const StreamPoint* q = points_.at(e.id);
        // A point still where it was registered names its own cell.
        if (q->x() == e.x && q->y() == e.y) continue;
        const int i = cellIndexX(e.x);
        const int j = cellIndexY(e.y);
        if (!misplaced(i, j, q)) continue;
        if (failedCells.empty()) failedCells.assign(field_.cellCount(), false);
        failedCells[cellSlot(i, j)] = true;
    }
    const bool failed = !failedCells.empty();
    for (int i = 0; failed && i < fieldCellsX_; ++i) {
        for (int j = 0; j < fieldCellsY_; ++j) {
            if (!failedCells[cellSlot(i, j)]) continue;
            for (const ProximityIndex::Entry& entry : field_.entries(cellSlot(i, j))) {
                const StreamPoint* q = points_.at(entry.id);
                if (misplaced(i, j, q))
                    *out_ << "Failure at x = " << i << ", y = " << j << '\n'
                          << "Point: x: " << q->x() << ", y: " << q->y() << '\n';
            }
        }
    }
    if (!failed)
        *out_ << "Distance Field OK" << '\n'
              << "Please wait for the changes to take place.\n This could be a short amount of time!" << '\n';
    out_->flush();
}
