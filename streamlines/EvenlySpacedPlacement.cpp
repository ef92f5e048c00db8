#include "streamlines/StreamlineSet.h"

#include "data/Vec3.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

void StreamlineSet::computeEvenlySpaced() {
    startPlacement();
    theoreticalRegistered_ = 0;
    theoreticalPoints_ = 0;
    cachedPoints_ = 0;
    limitedByBudget_ = false;
    budgetUsedUp_ = false;
    cancelled_ = false;
    if (placementRefused(true) || refusedByBudget()) return;
    reportClamping();

    const DomainBox& box = box_;
    StreamPoint* seed = createPoint((box.xmin + box.xmax) * 0.5f, (box.ymin + box.ymax) * 0.5f);
    std::array<int, terminationReasonCount> failures{};
    if (!traceEvenly(seed)) ++failures[static_cast<std::size_t>(lastDiscardedEnd_)];
    if (streamlines_.empty() && !budgetUsedUp_) seedFromLattice(failures);
    if (budgetUsedUp_) reportBudgetUsedUp();
    else if (!streamlines_.empty()) {
        if (goOn()) scanForSeeds();
    } else {
        explainEmptyPlacement(failures);
    }
    limitedByBudget_ = budgetUsedUp_;
    printStatistics();
    checkDistanceField();
}

// Reports the progress to the observer, if any, and returns whether to go
// on; a cancelled placement says so and ends.
bool StreamlineSet::goOn() {
    if (!progressObserver_) return true;
    const double cells = static_cast<double>(field_.cellCount());
    const Progress progress{static_cast<std::size_t>(theoreticalPoints_), streamlines_.size(),
                            cells > 0.0 ? static_cast<double>(field_.occupiedCells()) / cells : 0.0};
    if (progressObserver_(progress)) return true;
    cancelled_ = true;
    warn("Placement cancelled after " + std::to_string(theoreticalPoints_) + " points");
    return false;
}

// When the centre of the box gives no line (the centre of a vortex, a sink
// or a saddle), the first line is sought from further seeds: the interior
// points of a lattice that divides each side of the box into 16, ring by
// ring outward from the centre, each ring from its lowest row up and each
// row from left to right. The first seed that gives a line starts the
// placement as the centre would have. `failures` counts how the lines of
// the seeds that gave none ended (downstream).
void StreamlineSet::seedFromLattice(std::array<int, terminationReasonCount>& failures) {
    const DomainBox& box = box_;
    const float stepX = box.width() / static_cast<float>(latticeDivisions);
    const float stepY = box.height() / static_cast<float>(latticeDivisions);
    const int middle = latticeDivisions / 2;
    for (int ring = 1; ring < middle; ++ring) {
        for (int j = middle - ring; j <= middle + ring; ++j) {
            for (int i = middle - ring; i <= middle + ring; ++i) {
                if (std::max(std::abs(i - middle), std::abs(j - middle)) != ring) continue;
                StreamPoint* seed =
                    createPoint(box.xmin + static_cast<float>(i) * stepX, box.ymin + static_cast<float>(j) * stepY);
                if (traceEvenly(seed) || budgetUsedUp_) return;
                ++failures[static_cast<std::size_t>(lastDiscardedEnd_)];
            }
        }
    }
}

// One line on standard output: how many seeds were tried and how their
// lines ended, so that an empty picture explains itself.
void StreamlineSet::explainEmptyPlacement(const std::array<int, terminationReasonCount>& failures) {
    int tried = 0;
    std::string ends;
    for (int r = 0; r < terminationReasonCount; ++r) {
        const int n = failures[static_cast<std::size_t>(r)];
        if (n == 0) continue;
        tried += n;
        ends += std::string(ends.empty() ? "" : ", ") + terminationReasonName(static_cast<TerminationReason>(r)) + " " +
                std::to_string(n);
    }
    emptyReason_ = "none of the " + std::to_string(tried) +
                   " seeds tried (the centre of the box, then a lattice around it) gives a line of two points;"
                   " their lines ended with " +
                   ends;
    warn("No streamline placed: " + emptyReason_);
}

// Works through the list as a queue: each line is scanned along its left
// side from the first to the last point, then along its right side; every
// accepted candidate seeds a new line at the back of the list.
void StreamlineSet::scanForSeeds() {
    std::size_t lineIndex = 0;
    std::size_t cursor = 0;
    bool rightSide = false;
    bool justReset = false;
    int lineCount = 1;
    // The scanned line's points in a row: each candidate reads three of them.
    std::vector<const StreamPoint*> points;
    auto takeLine = [&]() {
        const std::deque<StreamPoint*>& line = streamlines_[lineIndex]->points;
        points.assign(line.begin(), line.end());
    };
    takeLine();

    for (;;) {
        StreamPoint* seed = nullptr;
        const std::size_t last = points.size() - 1;
        while (!seed && cursor < points.size()) {
            const StreamPoint* p = points[cursor];
            const StreamPoint* from = cursor == 0 ? p : points[cursor - 1];
            const StreamPoint* to = cursor == last ? p : points[cursor + 1];
            Vec3 w(to->x() - from->x(), to->y() - from->y(), 0.0f);
            w.normalize();
            if (rightSide) w.negate();
            // Most candidates are rejected: only an accepted one joins the pool.
            const StreamPoint candidate(p->x() - dsep_ * w.y, p->y() + dsep_ * w.x, streamlineNumber_, stepCounter_);

            if (cursor == last) {
                if (!rightSide) {
                    rightSide = true;
                    cursor = 0;
                    justReset = true;
                } else {
                    rightSide = false;
                    justReset = false;
                }
            }
            if (!isSeedRejected(&candidate)) {
                seed = createPoint(candidate.x(), candidate.y());
                if (justReset) justReset = false;
                else ++cursor;
            } else {
                ++cursor;
            }
        }

        if (seed) {
            traceEvenly(seed);
            if (budgetUsedUp_) {
                reportBudgetUsedUp();
                return;
            }
            if (!goOn()) return;
            continue;
        }
        if (lineIndex + 1 == streamlines_.size()) {
            *out_ << "At the end of the streamline-list, let's end" << '\n';
            return;
        }
        ++lineIndex;
        takeLine();
        *out_ << "Take next streamline of the list" << '\n';
        cursor = 0;
        ++lineCount;
        *out_ << "Current streamline has number: " << lineCount << '\n';
    }
}
