#pragma once

#include <memory>
#include <vector>

class Channel;
class Grid;

// Where the time steps of a dataset come from when they are not data files
// beside a grid file (a NetCDF file, for example).
class StepSource {
public:
    virtual ~StepSource() = default;
    // Fills `channels` (velocity x, y, z and the data channels, each a fresh
    // channel of `grid`) with time step `step`, values in the grid's storage
    // order. On failure prints one message on standard error and returns
    // false. `verbose` adds a progress line on standard output.
    virtual bool readStep(int step, const Grid& grid, std::vector<std::unique_ptr<Channel>>& channels,
                          bool verbose) = 0;
};
