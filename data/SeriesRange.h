#pragma once

#include <vector>

class FlowData;

// The smallest and largest value of every file channel (velocity x, y, z,
// then the data channels) and of the velocity magnitude over all time steps
// of a dataset, so that colours mean the same in every frame.
struct SeriesRanges {
    std::vector<float> min;  // one per file channel, then the magnitude
    std::vector<float> max;
    int stepsRead = 0;
    bool empty() const { return stepsRead == 0; }
};

// Reads every step once, one at a time, leaving the dataset's slots alone.
// A step that cannot be read prints its message and is left out. Prints one
// progress line.
SeriesRanges computeSeriesRanges(FlowData& data);

// Sets the extremes of the file channels and of the magnitude channel in
// `magnitudeSlot` to the series ranges (normalize then maps them to 0 .. 1).
void applySeriesRanges(FlowData& data, const SeriesRanges& ranges, int magnitudeSlot);
// Takes the extremes from the values of the step shown again.
void applyStepRanges(FlowData& data, int magnitudeSlot);
