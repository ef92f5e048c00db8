#include "streamlines/StreamlineSet.h"

#include <cmath>

// Points are registered in the distance field only after a delay of one to
// two cache lengths, so a line never stops on its own newest points:
// firstCache holds the first cache length downstream of the seed until the
// upstream pass has moved away from it; cacheA and cacheB take turns, one
// being registered whenever the other fills.

// cacheA and cacheB: points enter the active one; when it is full, the other
// one's points are registered and it takes the next points.
class StreamlineSet::CacheTurns {
public:
    CacheTurns(std::vector<PointStore::Id>& a, std::vector<PointStore::Id>& b) : caches_{&a, &b} {
        a.clear();
        b.clear();
    }

    void store(PointStore::Id id) { caches_[active_]->push_back(id); }
    void turn(StreamlineSet& set) {
        const int other = 1 - active_;
        registerCache(set, other);
        active_ = other;
    }
    // Registers what both hold, cacheA first, and makes cacheA active.
    void registerAll(StreamlineSet& set) {
        registerCache(set, 0);
        registerCache(set, 1);
        active_ = 0;
    }
    std::size_t countA() const { return caches_[0]->size(); }

    // Registers the points of any cache and empties it.
    static void registerIds(StreamlineSet& set, std::vector<PointStore::Id>& cache) {
        for (PointStore::Id id : cache) set.registerId(id);
        cache.clear();
    }

private:
    void registerCache(StreamlineSet& set, int which) { registerIds(set, *caches_[which]); }

    std::vector<PointStore::Id>* caches_[2];
    int active_ = 0;
};

bool StreamlineSet::traceEvenly(StreamPoint* seed) {
    distancesValid_ = false;
    auto line = std::make_unique<Streamline>(streamlineNumber_);
    const DomainBox box = box_;
    const std::size_t capacity = static_cast<std::size_t>(cacheCapacity_);
    // A seed from elsewhere is traced from its copy in the store.
    const PointStore::Id seedId = idOf(seed);
    seed = points_.at(seedId);
    std::vector<PointStore::Id>& first = firstCache_;
    first.clear();
    bool firstRegistered = false;
    CacheTurns turns(cacheA_, cacheB_);
    std::size_t fill = 0;
    bool firstActive = true;

    auto outsideBox = [&box](const StreamPoint* p) {
        return p->x() > box.xmax || p->x() < box.xmin || p->y() > box.ymax || p->y() < box.ymin;
    };
    auto newestId = [this]() { return static_cast<PointStore::Id>(points_.size() - 1); };
    auto distance = [](const StreamPoint* a, const StreamPoint* b) {
        const double dx = static_cast<double>(b->x()) - static_cast<double>(a->x());
        const double dy = static_cast<double>(b->y()) - static_cast<double>(a->y());
        return std::sqrt(dx * dx + dy * dy);
    };
    const double maxLength = maxLineLength();

    // Downstream: the new point is tested before it is appended.
    StreamPoint* current = seed;
    double length = 0.0;
    for (;;) {
        StreamPoint* next = stepForward(current);
        if (!next) {
            line->endReason = lastStepFailure();
            break;
        }
        const bool outside = outsideBox(next);
        if (outside || isTooClose(next)) {
            line->endReason = outside ? TerminationReason::LeftDomain : TerminationReason::TooClose;
            discardPoint(next);
            break;
        }
        length += distance(current, next);
        if (length > maxLength || points_.size() > pointCeiling_) {
            budgetUsedUp_ = budgetUsedUp_ || points_.size() > pointCeiling_;
            line->endReason = TerminationReason::StepCap;
            discardPoint(next);
            break;
        }
        line->points.push_back(next);
        ++stepCounter_;
        ++theoreticalPoints_;
        ++fill;
        if (firstActive) first.push_back(newestId());
        else turns.store(newestId());
        ++cachedPoints_;
        if (fill == capacity) {
            if (firstActive) firstActive = false;
            else turns.turn(*this);
            fill = 0;
        }
        current = next;
    }

    turns.registerAll(*this);
    fill = 0;
    firstActive = true;

    // Upstream: the current point is tested before it is inserted, so the
    // seed enters the line here, once, between the two parts. The first
    // cache is registered once this pass has filled a cache length.
    current = seed;
    PointStore::Id currentId = seedId;
    const StreamPoint* previous = seed;
    length = 0.0;
    for (;;) {
        const bool outside = outsideBox(current);
        if (outside || isTooClose(current)) {
            line->startReason = outside ? TerminationReason::LeftDomain : TerminationReason::TooClose;
            if (current != seed) discardPoint(current);
            break;
        }
        length += distance(previous, current);
        if (length > maxLength || points_.size() > pointCeiling_) {
            budgetUsedUp_ = budgetUsedUp_ || points_.size() > pointCeiling_;
            line->startReason = TerminationReason::StepCap;
            if (current != seed) discardPoint(current);
            break;
        }
        ++theoreticalPoints_;
        line->points.push_front(current);
        ++stepCounter_;
        ++fill;
        if (fill == capacity && firstActive) {
            firstActive = false;
            CacheTurns::registerIds(*this, first);
            firstRegistered = true;
        }
        turns.store(currentId);
        ++cachedPoints_;
        if (fill == capacity) {
            turns.turn(*this);
            fill = 0;
        }
        previous = current;
        current = stepBackward(current);
        if (!current) {
            line->startReason = lastStepFailure();
            break;
        }
        currentId = newestId();
    }

    if (!firstRegistered && first.empty() && turns.countA() == 1) {
        // Only the seed: it is neither kept nor registered.
        --cachedPoints_;
        --theoreticalPoints_;
    } else {
        if (!firstRegistered) CacheTurns::registerIds(*this, first);
        turns.registerAll(*this);
    }

    // A discarded line's points stay in the store: registered ones are still
    // referred to by the distance field.
    if (line->points.size() < 2) {
        lastDiscardedEnd_ = line->endReason;
        return false;
    }
    streamlines_.push_back(std::move(line));
    ++streamlineNumber_;
    stepCounter_ = 0;
    return true;
}
