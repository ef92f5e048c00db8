#include "streamlines/StreamlineSet.h"

// Points are registered in the distance field only after a delay of one to
// two cache lengths, so a line never stops on its own newest points:
// firstCache holds the first cache length downstream of the seed until the
// upstream pass has moved away from it; cacheA and cacheB take turns, one
// being registered whenever the other fills.

namespace {

// cacheA and cacheB: points enter the active one; when it is full, the other
// one's points are registered and it takes the next points.
class TakingTurns {
public:
    TakingTurns(StreamPoint** a, StreamPoint** b) : caches_{a, b} {}

    void store(StreamPoint* p, int slot) {
        caches_[active_][slot] = p;
        ++counts_[active_];
    }
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
    int countA() const { return counts_[0]; }

private:
    void registerCache(StreamlineSet& set, int which) {
        if (counts_[which] == 0) return;
        set.registerPoints(caches_[which], counts_[which]);
        counts_[which] = 0;
    }

    StreamPoint** caches_[2];
    int counts_[2] = {0, 0};
    int active_ = 0;
};

}  // namespace

bool StreamlineSet::traceEvenly(StreamPoint* seed) {
    distancesValid_ = false;
    auto line = std::make_unique<Streamline>(streamlineNumber_);
    const DomainBox box = box_;
    const int capacity = cacheCapacity_;
    StreamPoint** first = firstCache_.data();
    TakingTurns turns(cacheA_.data(), cacheB_.data());
    int fill = 0;
    bool firstActive = true;
    int nFirst = 0;

    auto outsideBox = [&box](const StreamPoint* p) {
        return p->x() > box.xmax || p->x() < box.xmin || p->y() > box.ymax || p->y() < box.ymin;
    };

    // Downstream: the new point is tested before it is appended.
    StreamPoint* current = seed;
    line->endReason = TerminationReason::StepCap;
    for (int count = 0; count < maxEvenPointsPerDirection; ++count) {
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
        line->points.push_back(next);
        ++stepCounter_;
        ++theoreticalPoints_;
        const int slot = fill++;
        if (firstActive) {
            first[slot] = next;
            ++nFirst;
        } else {
            turns.store(next, slot);
        }
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
    line->startReason = TerminationReason::StepCap;
    for (int count = 0; count < maxEvenPointsPerDirection;) {
        const bool outside = outsideBox(current);
        if (outside || isTooClose(current)) {
            line->startReason = outside ? TerminationReason::LeftDomain : TerminationReason::TooClose;
            if (current != seed) discardPoint(current);
            break;
        }
        ++theoreticalPoints_;
        line->points.push_front(current);
        ++stepCounter_;
        const int slot = fill++;
        if (fill == capacity && firstActive) {
            firstActive = false;
            registerPoints(first, nFirst);
            nFirst = -1;
        }
        turns.store(current, slot);
        ++cachedPoints_;
        if (fill == capacity) {
            turns.turn(*this);
            fill = 0;
        }
        if (++count >= maxEvenPointsPerDirection) break;
        current = stepBackward(current);
        if (!current) {
            line->startReason = lastStepFailure();
            break;
        }
    }

    if (nFirst == 0 && turns.countA() == 1) {
        // Only the seed: it is neither kept nor registered.
        --cachedPoints_;
        --theoreticalPoints_;
    } else {
        if (nFirst > 0) registerPoints(first, nFirst);
        turns.registerAll(*this);
    }

    // A discarded line's points stay in the pool: registered ones are still
    // referred to by the distance field.
    if (line->points.size() < 2) return false;
    streamlines_.push_back(std::move(line));
    ++streamlineNumber_;
    stepCounter_ = 0;
    return true;
}
