#pragma once

#include "data/Vec3.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <functional>
#include <memory>

class Grid;

// One float per grid node, in the grid's storage order, with the smallest and
// largest value it holds. A NaN or infinite value marks a node without data
// and takes no part in them.
class Channel {
public:
    explicit Channel(const Grid* grid);
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // value[k] = values[offset + stride * k] for every node, widening the
    // extremes (they are not reset first); prints the maximum and minimum.
    void fillInterleaved(const float* values, int stride, int offset);
    void setValue(int node, float value);
    float valueAt(int node) const { return values_[static_cast<std::size_t>(node)]; }

    float minValue() const { return minValue_; }
    float maxValue() const { return maxValue_; }
    float range() const { return maxValue_ - minValue_; }

    // (value - min) / (max - min) in float; 0 when the channel has no
    // positive range (a constant field), where the quotient would be 0/0.
    // A missing value (NaN or infinite) gives a value that is not finite.
    float normalize(float value) const {
        const float span = maxValue_ - minValue_;
        if (!(span > 0.0f)) return std::isfinite(value) ? 0.0f : value;  // a missing value stays missing
        return (value - minValue_) / span;
    }

    // Bilinear sample at a world position; outside the bounding box prints
    // "Outside of the dataset" on stderr and returns 0.
    float sampleAt(const Vec3& p) const;
    // The weighted sum of four node values, as Grid::locateCell gives them.
    float interpolate(const std::array<int, 4>& corners, const std::array<float, 4>& weights) const;
    // interpolate of two channels of the same grid in one pass over the
    // corners: each result is exactly what interpolate gives it.
    static void interpolatePair(const Channel& a, const Channel& b, const std::array<int, 4>& corners,
                                const std::array<float, 4>& weights, float& va, float& vb);
    // The same at normalised coordinates: u from the left to the right edge
    // of the bounding box, v from the bottom to the top.
    float sampleNormalized(const Vec3& p) const;
    float sampleNormalized(float u, float v) const;

    const Grid* grid() const { return grid_; }
    int valueCount() const { return count_; }
    const float* values() const { return values_.get(); }

    // Copies valueCount() values in storage order and takes their extremes
    // (NaN ignored); prints nothing. Readers of other file formats fill
    // channels with it.
    void assignValues(const float* values);
    // Exchanges values and extremes with a channel of the same grid: a new
    // time step enters the slot while pointers to the channel stay valid.
    void swapValues(Channel& other);
    // The extremes taken from the values again (NaN ignored).
    void recomputeExtremes();
    // Sets the extremes that normalize maps to 0 and 1, for example the
    // range of a whole time series.
    void setRange(float minValue, float maxValue);

private:
    friend class FlowData;  // the loader fills all channels in one pass over the file
    // A channel of `count` values that its creator writes in full before
    // anyone reads them: no node-sized zeroing first. Reads nothing of the
    // grid, which may still be being read.
    struct Unfilled {};
    Channel(const Grid* grid, int count, Unfilled);
    // Values of nodes first .. first + count - 1 from interleaved records
    // starting at node `first`; widens the extremes, prints nothing.
    void fillRange(const float* records, int stride, int offset, std::size_t first, std::size_t count);
    void printExtremes() const;
    // Widens lo and hi by the finite values[0 .. count) exactly as the
    // strict comparisons value by value do.
    static void widenExtremes(const float* values, std::size_t count, float& lo, float& hi);
    // Has produce(first, last) write values[first, last) piece by piece
    // over [0, count), a large count in two halves side by side, and widens
    // lo and hi by each piece while it is still in the cache: the extremes
    // come out as one pass in order finds them.
    static void produceMeasured(float* values, std::size_t count, float& lo, float& hi,
                                const std::function<void(std::size_t first, std::size_t last)>& produce);

    const Grid* grid_;
    int count_;
    std::unique_ptr<float[]> values_;
    float minValue_;
    float maxValue_;
};
