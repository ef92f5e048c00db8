#include "streamlines/StreamlineSet.h"

// Points are registered in the distance field only after a delay of one to
// two cache lengths, so a line never stops on its own newest points:
// firstCache holds the first cache length downstream of the seed until the
// upstream pass has moved away from it; cacheA and cacheB take turns, one
// being registered whenever the other fills.
bool StreamlineSet::traceEvenly(StreamPoint* seed)
{
    distancesValid_ = false;
    auto line = std::make_unique<Streamline>(streamlineNumber_);
    const DomainBox box = box_;
    const int capacity = cacheCapacity_;
    StreamPoint** first = firstCache_.data();
    StreamPoint** cacheA = cacheA_.data();
    StreamPoint** cacheB = cacheB_.data();
    int fill = 0;
    bool firstActive = true;
    bool useA = true;
    int nFirst = 0;
    int nA = 0;
    int nB = 0;

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
        ++fill;
        if (fill == capacity) {
            if (firstActive) {
                first[fill - 1] = next;
                ++nFirst;
                ++cachedPoints_;
                firstActive = false;
            } else if (useA) {
                cacheA[fill - 1] = next;
                ++nA;
                ++cachedPoints_;
                if (nB > 0) {
                    registerPoints(cacheB, nB);
                    nB = 0;
                }
                useA = false;
            } else {
                cacheB[fill - 1] = next;
                ++nB;
                ++cachedPoints_;
                if (nA > 0) {
                    registerPoints(cacheA, nA);
                    nA = 0;
                }
                useA = true;
            }
            fill = 0;
        } else {
            if (firstActive) {
                first[fill - 1] = next;
                ++nFirst;
            } else if (useA) {
                cacheA[fill - 1] = next;
                ++nA;
            } else {
                cacheB[fill - 1] = next;
                ++nB;
            }
            ++cachedPoints_;
        }
        current = next;
    }

    if (nA > 0) {
        registerPoints(cacheA, nA);
        nA = 0;
    }
    if (nB > 0) {
        registerPoints(cacheB, nB);
        nB = 0;
    }
    fill = 0;
    useA = true;
    firstActive = true;

    // Upstream: the current point is tested before it is inserted, so the
    // seed enters the line here, once, between the two parts.
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
        ++fill;
        if (fill == capacity) {
            if (firstActive) {
                firstActive = false;
                registerPoints(first, nFirst);
                nFirst = -1;
            }
            if (useA) {
                cacheA[fill - 1] = current;
                ++nA;
                ++cachedPoints_;
                if (nB > 0) {
                    registerPoints(cacheB, nB);
                    nB = 0;
                }
            } else {
                cacheB[fill - 1] = current;
                ++nB;
                ++cachedPoints_;
                if (nA > 0) {
                    registerPoints(cacheA, nA);
                    nA = 0;
                }
            }
            useA = !useA;
            fill = 0;
        } else {
            if (useA) {
                cacheA[fill - 1] = current;
                ++nA;
            } else {
                cacheB[fill - 1] = current;
                ++nB;
            }
            ++cachedPoints_;
        }
        if (++count >= maxEvenPointsPerDirection) break;
        current = stepBackward(current);
        if (!current) {
            line->startReason = lastStepFailure();
            break;
        }
    }

    if (nFirst == 0 && nA == 1) {
        // Only the seed: it is neither kept nor registered.
        --cachedPoints_;
        --theoreticalPoints_;
    } else {
        if (nFirst > 0) registerPoints(first, nFirst);
        if (nA > 0) registerPoints(cacheA, nA);
        if (nB > 0) registerPoints(cacheB, nB);
    }

    // A discarded line's points stay in the pool: registered ones are still
    // referred to by the distance field.
    if (line->points.size() < 2) return false;
    streamlines_.push_back(std::move(line));
    ++streamlineNumber_;
    stepCounter_ = 0;
    return true;
}
