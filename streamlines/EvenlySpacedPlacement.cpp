#include "streamlines/StreamlineSet.h"

#include "data/Vec3.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

void StreamlineSet::computeEvenlySpaced() {
    startPlacement();
    theoreticalRegistered_ = 0;
    theoreticalPoints_ = 0;
    cachedPoints_ = 0;
    if (placementRefused(true)) return;
    reportClamping();

    const DomainBox& box = box_;
    StreamPoint* seed = createPoint((box.xmin + box.xmax) * 0.5f, (box.ymin + box.ymax) * 0.5f);
    traceEvenly(seed);
    if (streamlines_.empty() && seekFirstSeed_) seekFirstLine();
    // Without a first line (zero velocity at the centre, say) there is
    // nothing to scan: the list stays empty and only the reports follow.
    if (!streamlines_.empty()) scanForSeeds();
    printStatistics();
    checkDistanceField();
}

// Candidates at the centres of a lattice of cells about dsep wide (at most
// 64 a side), nearest to the box centre first; the first that gives a line
// starts the placement.
void StreamlineSet::seekFirstLine() {
    const DomainBox& box = box_;
    auto cellsAlong = [this](float side) {
        return static_cast<int>(std::clamp(std::floor(static_cast<double>(side) / dsep_), 1.0, 64.0));
    };
    const int nx = cellsAlong(box.width());
    const int ny = cellsAlong(box.height());
    const double cx = 0.5 * (static_cast<double>(box.xmin) + box.xmax);
    const double cy = 0.5 * (static_cast<double>(box.ymin) + box.ymax);
    struct Candidate {
        double distance;
        float x;
        float y;
    };
    std::vector<Candidate> candidates;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            const double x = box.xmin + (i + 0.5) * box.width() / nx;
            const double y = box.ymin + (j + 0.5) * box.height() / ny;
            candidates.push_back({std::hypot(x - cx, y - cy), static_cast<float>(x), static_cast<float>(y)});
        }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
    for (const Candidate& c : candidates)
        if (traceEvenly(createPoint(c.x, c.y))) return;
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
            if (theoreticalPoints_ >= pointLimit_) {
                warnings_.push_back("Stopped after " + std::to_string(theoreticalPoints_) +
                                    " points: a placement holds at most " + std::to_string(pointLimit_) + " points");
                std::cout << warnings_.back() << '\n';
                return;
            }
            traceEvenly(seed);
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
