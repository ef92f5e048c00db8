#include "streamlines/StreamlineSet.h"

void StreamlineSet::computeSeeded(int seedCount) {
    startPlacement();
    if (placementRefused(false)) return;

    // Seeds on the diagonal of the box, by repeated float addition of the
    // step vector (the positions drift from the closed formula by rounding).
    const DomainBox& box = box_;
    const float factor = 1.0f / (static_cast<float>(seedCount) + 1.0f);
    const float stepX = box.width() * factor;
    const float stepY = box.height() * factor;
    float x = box.xmin + stepX;
    float y = box.ymin + stepY;
    for (int k = 0; k < seedCount; ++k) {
        StreamPoint* seed = createPoint(x, y);
        if (isSeedRejected(seed)) continue;
        traceFree(seed);
        x += stepX;
        y += stepY;
    }
}

void StreamlineSet::traceFree(StreamPoint* seed) {
    distancesValid_ = false;
    streamlines_.push_back(std::make_unique<Streamline>(streamlineNumber_));
    Streamline* line = streamlines_.back().get();
    const DomainBox& box = box_;

    // The box is tested on the current point, so the last point of each
    // direction may lie outside; drawing clamps it. A direction that runs
    // through all its steps ends at the cap.
    StreamPoint* current = seed;
    line->endReason = TerminationReason::StepCap;
    for (int count = 0; count < maxFreeSteps; ++count) {
        if (!(box.xmin <= current->x() && current->x() <= box.xmax && box.ymin <= current->y() &&
              current->y() <= box.ymax)) {
            line->endReason = TerminationReason::LeftDomain;
            break;
        }
        StreamPoint* next = stepForward(current);
        if (!next) {
            line->endReason = lastStepFailure();
            break;
        }
        line->points.push_back(next);
        current = next;
    }

    current = seed;
    line->startReason = TerminationReason::StepCap;
    for (int count = 0; count < maxFreeSteps; ++count) {
        if (!(box.xmin < current->x() && current->x() < box.xmax && box.ymin < current->y() &&
              current->y() < box.ymax)) {
            line->startReason = TerminationReason::LeftDomain;
            break;
        }
        StreamPoint* next = stepBackward(current);
        if (!next) {
            line->startReason = lastStepFailure();
            break;
        }
        line->points.push_front(next);
        current = next;
    }
}
