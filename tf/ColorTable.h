#pragma once

#include <cstddef>
#include <cstdint>

class TfPoint;

// The 4096-texel RGBA table a transfer function is sampled through.
constexpr int colorTableTexels = 4096;
constexpr std::size_t colorTableBytes = 4 * colorTableTexels;

// Rasterises the chain from `first` into `table` (colorTableBytes bytes):
// each pair of neighbours blends linearly from the left point's colour to the
// right point's, truncated to bytes, alpha 255. Positions are clamped to
// [0, stripWidth] and the points ordered by position first, so a loaded list
// can never index outside the table; texels left of the first point or right
// of the last take that point's colour. An empty chain leaves the table as is.
void rasterizeColorTable(const TfPoint* first, float stripWidth, std::uint8_t* table);
