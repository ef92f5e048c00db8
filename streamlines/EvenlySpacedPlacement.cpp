#include "streamlines/StreamlineSet.h"

#include "data/Vec3.h"

#include <iostream>

void StreamlineSet::computeEvenlySpaced() {
    startPlacement();
    theoreticalRegistered_ = 0;
    theoreticalPoints_ = 0;
    cachedPoints_ = 0;
    limitedByBudget_ = false;
    budgetUsedUp_ = false;
    if (placementRefused(true) || refusedByBudget()) return;
    reportClamping();

    const DomainBox& box = box_;
    StreamPoint* seed = createPoint((box.xmin + box.xmax) * 0.5f, (box.ymin + box.ymax) * 0.5f);
    traceEvenly(seed);
    // Without a first line (zero velocity at the centre, say) there is
    // nothing to scan: the list stays empty and only the reports follow.
    if (budgetUsedUp_) reportBudgetUsedUp();
    else if (!streamlines_.empty()) scanForSeeds();
    limitedByBudget_ = budgetUsedUp_;
    printStatistics();
    checkDistanceField();
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

    for (;;) {
        StreamPoint* seed = nullptr;
        while (!seed && cursor < streamlines_[lineIndex]->points.size()) {
            const std::deque<StreamPoint*>& points = streamlines_[lineIndex]->points;
            const std::size_t last = points.size() - 1;
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
            continue;
        }
        if (lineIndex + 1 == streamlines_.size()) {
            std::cout << "At the end of the streamline-list, let's end" << '\n';
            return;
        }
        ++lineIndex;
        std::cout << "Take next streamline of the list" << '\n';
        cursor = 0;
        ++lineCount;
        std::cout << "Current streamline has number: " << lineCount << '\n';
    }
}
