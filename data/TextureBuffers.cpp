#include "data/TextureBuffers.h"

#include "data/Channel.h"
#include "data/Grid.h"

#include <algorithm>
#include <array>
#include <cstdint>

int nextPowerOfTwo(int n)
{
    int power = 1;
    while (power < n) {
        if (power > (1 << 29)) return 0;
        power <<= 1;
    }
    return power;
}

TextureSize textureDataSize(int gridWidth, int gridHeight, int textureResolution)
{
    if (gridWidth <= 0 || gridHeight <= 0 || textureResolution <= 0) return {};
    const int longer = gridWidth > gridHeight ? gridWidth : gridHeight;
    const int scale = textureResolution / longer;
    if (scale > 0) return {gridWidth * scale, gridHeight * scale};
    // More nodes than texels on the longer side: shrink to the resolution,
    // keeping the aspect ratio, rather than produce an empty texture.
    auto shrink = [&](int side) {
        const std::int64_t scaled = static_cast<std::int64_t>(side) * textureResolution / longer;
        return static_cast<int>(std::max<std::int64_t>(scaled, 1));
    };
    return {shrink(gridWidth), shrink(gridHeight)};
}

TextureSize textureAllocatedSize(TextureSize dataSize, bool nonPowerOfTwo)
{
    if (nonPowerOfTwo) return dataSize;
    return {nextPowerOfTwo(dataSize.width), nextPowerOfTwo(dataSize.height)};
}

namespace {

// Normalised texel coordinate c / (n - 1); a one-texel side samples the edge.
float texelCoordinate(int c, int n)
{
    return n > 1 ? static_cast<float>(c) / static_cast<float>(n - 1) : 0.0f;
}

float normalizedSample(const Channel* channel, float u, float v)
{
    return channel ? channel->normalize(channel->sampleNormalized(u, v)) : 0.0f;
}

} // namespace

std::vector<float> velocityTexels(const Channel* velocityX, const Channel* velocityY,
                                  const Channel* velocityZ, const Channel* magnitude,
                                  TextureSize dataSize)
{
    std::vector<float> texels;
    if (dataSize.width <= 0 || dataSize.height <= 0) return texels;
    texels.reserve(static_cast<std::size_t>(dataSize.width) * static_cast<std::size_t>(dataSize.height) * 4);
    const Channel* any = velocityX ? velocityX : velocityY ? velocityY : velocityZ ? velocityZ : magnitude;
    const Grid* grid = any ? any->grid() : nullptr;
    for (int r = dataSize.height - 1; r >= 0; --r) {
        const float v = texelCoordinate(r, dataSize.height);
        for (int c = 0; c < dataSize.width; ++c) {
            const float u = texelCoordinate(c, dataSize.width);
            // The four channels share the grid: find the cell once per texel.
            std::array<int, 4> corners;
            std::array<float, 4> weights;
            const bool inside = grid && grid->locateCell(grid->fromNormalized(Vec3(u, v, 0.0f)), corners, weights);
            for (const Channel* channel : {velocityX, velocityY, velocityZ, magnitude}) {
                if (!channel) texels.push_back(0.0f);
                else if (inside) texels.push_back(channel->normalize(channel->interpolate(corners, weights)));
                else texels.push_back(normalizedSample(channel, u, v));  // reports the miss as sampling does
            }
        }
    }
    return texels;
}

std::vector<float> luminanceTexels(const Channel* channel, TextureSize dataSize)
{
    std::vector<float> texels;
    if (dataSize.width <= 0 || dataSize.height <= 0) return texels;
    texels.reserve(static_cast<std::size_t>(dataSize.width) * static_cast<std::size_t>(dataSize.height));
    for (int r = dataSize.height - 1; r >= 0; --r) {
        const float v = texelCoordinate(r, dataSize.height);
        for (int c = 0; c < dataSize.width; ++c)
            texels.push_back(normalizedSample(channel, texelCoordinate(c, dataSize.width), v));
    }
    return texels;
}
