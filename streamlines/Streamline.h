#pragma once

#include "streamlines/StreamPoint.h"
#include "streamlines/TerminationReason.h"

#include <deque>
#include <memory>
#include <vector>

// One line, its points ordered from the upstream end to the downstream end.
// Tracing grows it at both ends, hence a deque.
class Streamline {
public:
    explicit Streamline(int number) : number(number) {}

    std::deque<StreamPoint*> points;
    int number;
    // Why the upstream end (front of points) and the downstream end (back) ended.
    TerminationReason startReason = TerminationReason::None;
    TerminationReason endReason = TerminationReason::None;
};

using StreamlineList = std::vector<std::unique_ptr<Streamline>>;
