#pragma once

#include "streamlines/StreamPoint.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Every point of the current placement, numbered in the order of creation.
// Points live in fixed-size chunks that never move, so lines and the
// distance field can refer to them while the store grows, and growing never
// copies (no peak of twice the memory).
class PointStore {
public:
    using Id = std::uint32_t;

    StreamPoint* add(float x, float y, int number, int index);
    // Removes the newest point.
    void popBack();
    void clear();

    std::size_t size() const { return size_; }
    StreamPoint* at(Id id) { return &chunks_[id >> chunkBits][id & chunkMask]; }
    const StreamPoint* at(Id id) const { return &chunks_[id >> chunkBits][id & chunkMask]; }
    // The id of p when it lives here.
    bool find(const StreamPoint* p, Id& id) const;
    std::size_t bytes() const;

private:
    static constexpr unsigned chunkBits = 14;
    static constexpr std::size_t chunkSize = std::size_t(1) << chunkBits;
    static constexpr std::size_t chunkMask = chunkSize - 1;

    std::vector<std::vector<StreamPoint>> chunks_;  // each reserved to chunkSize
    std::size_t size_ = 0;
};
