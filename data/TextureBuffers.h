#pragma once

#include <vector>

class Channel;

// Sizes and contents of the float textures the field view is coloured from.
// Texel (c, r) of a w x h data area holds the sample at
// u = c / (w - 1), v = (h - 1 - r) / (h - 1): row 0 is the top of the grid.
struct TextureSize {
    int width = 0;
    int height = 0;

    bool operator==(const TextureSize& o) const { return width == o.width && height == o.height; }
    bool operator!=(const TextureSize& o) const { return !(*this == o); }
};

// Smallest power of two, from 1 upwards, that is at least n; 0 when no int
// power of two is (n above 2^30).
int nextPowerOfTwo(int n);

// The grid's stored rows and row length scaled by an integer factor
// resolution / longer side. A grid longer than the resolution would get
// factor 0 and an empty texture; it is resampled instead to `resolution`
// texels on its longer side, the shorter side in proportion (at least 1).
TextureSize textureDataSize(int gridWidth, int gridHeight, int textureResolution);

// The data size itself when non-power-of-two textures are supported, else
// each side rounded up to a power of two (the data then fills it from texel 0).
TextureSize textureAllocatedSize(TextureSize dataSize, bool nonPowerOfTwo);

// The value of every component of a texel whose sample is missing: a node
// without data (NaN or infinite) has a share in it. Far below the normalised
// range, so that a texel filtered with any share of it stays below 0 and the
// shaders mark the pixel as missing instead of blending into data.
constexpr float missingTexel = -1000.0f;

// Four floats per texel: the normalised samples of velocity x, y, z and the
// magnitude; all four missingTexel where any of them is missing. A channel
// that is not there contributes 0.
std::vector<float> velocityTexels(const Channel* velocityX, const Channel* velocityY, const Channel* velocityZ,
                                  const Channel* magnitude, TextureSize dataSize);

// One normalised sample per texel; missingTexel where it is missing.
std::vector<float> luminanceTexels(const Channel* channel, TextureSize dataSize);
