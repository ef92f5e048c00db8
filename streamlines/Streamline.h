#pragma once

#include "streamlines/StreamPoint.h"

#include <deque>

// One line, its points ordered from the upstream end to the downstream end.
// Tracing grows it at both ends, hence a deque.
class Streamline {
public:
    explicit Streamline(int number) : number(number) {}

    std::deque<StreamPoint*> points;
    int number;
};
