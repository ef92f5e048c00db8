#include "data/TextureBuffers.h"

#include "data/Channel.h"
#include "data/Grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

int nextPowerOfTwo(int n) {
    int power = 1;
    while (power < n) {
        if (power > (1 << 29)) return 0;
        power <<= 1;
    }
    return power;
}

TextureSize textureDataSize(int gridWidth, int gridHeight, int textureResolution) {
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

TextureSize textureAllocatedSize(TextureSize dataSize, bool nonPowerOfTwo) {
    if (nonPowerOfTwo) return dataSize;
    return {nextPowerOfTwo(dataSize.width), nextPowerOfTwo(dataSize.height)};
}

namespace {

// Normalised texel coordinate c / (n - 1); a one-texel side samples the edge.
float texelCoordinate(int c, int n) { return n > 1 ? static_cast<float>(c) / static_cast<float>(n - 1) : 0.0f; }

float normalizedSample(const Channel* channel, float u, float v) {
    return channel ? channel->normalize(channel->sampleNormalized(u, v)) : 0.0f;
}

// Grid::locateCell for every texel, computed per texel column and per texel
// row. On a rectilinear grid with increasing coordinates the cell and the
// weights along x depend on x alone, and along y on y alone, so each axis is
// searched once per column or row instead of once per texel; the corners and
// weights are assembled exactly as locateCell gives them (the same float
// operations, the same degenerate forms on grid lines). Any other grid falls
// back to locateCell itself.
class TexelCells {
public:
    TexelCells(const Grid& grid, TextureSize size) : grid_(grid) {
        const int nx = grid.dims()[0];
        const int ny = grid.dims()[1];
        std::vector<float> xs(static_cast<std::size_t>(nx)), ys(static_cast<std::size_t>(ny));
        for (int i = 0; i < nx; ++i) xs[static_cast<std::size_t>(i)] = grid.nodeX(grid.nodeIndex(i, 0));
        for (int j = 0; j < ny; ++j) ys[static_cast<std::size_t>(j)] = grid.nodeY(grid.nodeIndex(0, j));
        separable_ = nx >= 2 && ny >= 2 && increasing(xs) && increasing(ys) && grid.isRectilinear();
        if (!separable_) return;
        for (int c = 0; c < size.width; ++c)
            columns_.push_back(axisCell(xs, grid.fromNormalized(Vec3(texelCoordinate(c, size.width), 0.0f, 0.0f)).x));
        for (int r = 0; r < size.height; ++r)
            rows_.push_back(axisCell(ys, grid.fromNormalized(Vec3(0.0f, texelCoordinate(r, size.height), 0.0f)).y));
    }

    // The cell of texel (c, r); false outside the grid.
    bool locate(int c, int r, float u, float v, std::array<int, 4>& corners, std::array<float, 4>& weights) const {
        if (!separable_) return grid_.locateCell(grid_.fromNormalized(Vec3(u, v, 0.0f)), corners, weights);
        const AxisCell& x = columns_[static_cast<std::size_t>(c)];
        const AxisCell& y = rows_[static_cast<std::size_t>(r)];
        if (!x.inside || !y.inside) return false;
        const int f = grid_.nodeIndex(x.low, y.low);
        if (x.onNode && y.onNode) {
            corners = {f, 0, 0, 0};
            weights = {1.0f, 0.0f, 0.0f, 0.0f};
        } else if (x.onNode) {
            corners = {f, 0, grid_.nodeIndex(x.low, y.low + 1), 0};
            weights = {y.share, 0.0f, 1.0f - y.share, 0.0f};
        } else if (y.onNode) {
            corners = {f, grid_.nodeIndex(x.low + 1, y.low), 0, 0};
            weights = {x.share, 1.0f - x.share, 0.0f, 0.0f};
        } else {
            corners = {f, grid_.nodeIndex(x.low + 1, y.low), grid_.nodeIndex(x.low, y.low + 1),
                       grid_.nodeIndex(x.low + 1, y.low + 1)};
            const float a = x.share;
            const float b = y.share;
            weights = {a * b, (1.0f - a) * b, a * (1.0f - b), (1.0f - a) * (1.0f - b)};
        }
        return true;
    }

private:
    struct AxisCell {
        bool inside = false;
        bool onNode = false;  // exactly on a grid line: only `low` counts
        int low = 0;
        float share = 1.0f;  // weight of `low`
    };

    static bool increasing(const std::vector<float>& values) {
        for (std::size_t k = 1; k < values.size(); ++k)
            if (!(values[k - 1] < values[k])) return false;
        return true;
    }

    static AxisCell axisCell(const std::vector<float>& nodes, float p) {
        AxisCell cell;
        if (!(p >= nodes.front()) || !(p <= nodes.back())) return cell;
        cell.inside = true;
        const auto above = std::upper_bound(nodes.begin(), nodes.end(), p);
        const int k = static_cast<int>(above - nodes.begin()) - 1;  // nodes[k] <= p
        if (nodes[static_cast<std::size_t>(k)] == p) {
            cell.onNode = true;
            cell.low = k;
            return cell;
        }
        cell.low = k;
        const float d0 = std::abs(nodes[static_cast<std::size_t>(k)] - p);
        const float d1 = std::abs(nodes[static_cast<std::size_t>(k) + 1] - p);
        const float sum = d1 + d0;  // as locateCell shares a cell between its two nodes
        cell.share = sum != 0.0f ? d1 / sum : 1.0f;
        return cell;
    }

    const Grid& grid_;
    bool separable_ = false;
    std::vector<AxisCell> columns_;
    std::vector<AxisCell> rows_;
};

}  // namespace

std::vector<float> velocityTexels(const Channel* velocityX, const Channel* velocityY, const Channel* velocityZ,
                                  const Channel* magnitude, TextureSize dataSize) {
    std::vector<float> texels;
    if (dataSize.width <= 0 || dataSize.height <= 0) return texels;
    texels.reserve(static_cast<std::size_t>(dataSize.width) * static_cast<std::size_t>(dataSize.height) * 4);
    const Channel* any = velocityX ? velocityX : velocityY ? velocityY : velocityZ ? velocityZ : magnitude;
    if (!any) return std::vector<float>(static_cast<std::size_t>(dataSize.width) * dataSize.height * 4, 0.0f);
    // The four channels share the grid: find the cell once per texel.
    const TexelCells cells(*any->grid(), dataSize);
    for (int r = dataSize.height - 1; r >= 0; --r) {
        const float v = texelCoordinate(r, dataSize.height);
        for (int c = 0; c < dataSize.width; ++c) {
            const float u = texelCoordinate(c, dataSize.width);
            std::array<int, 4> corners;
            std::array<float, 4> weights;
            const bool inside = cells.locate(c, r, u, v, corners, weights);
            std::array<float, 4> texel;
            bool missing = false;
            std::size_t k = 0;
            for (const Channel* channel : {velocityX, velocityY, velocityZ, magnitude}) {
                float value = 0.0f;
                if (channel && inside) value = channel->normalize(channel->interpolate(corners, weights));
                else if (channel) value = normalizedSample(channel, u, v);  // reports the miss as sampling does
                missing = missing || !std::isfinite(value);
                texel[k++] = value;
            }
            if (missing) texel.fill(missingTexel);
            texels.insert(texels.end(), texel.begin(), texel.end());
        }
    }
    return texels;
}

std::vector<float> luminanceTexels(const Channel* channel, TextureSize dataSize) {
    std::vector<float> texels;
    if (dataSize.width <= 0 || dataSize.height <= 0) return texels;
    texels.reserve(static_cast<std::size_t>(dataSize.width) * static_cast<std::size_t>(dataSize.height));
    if (!channel) return std::vector<float>(static_cast<std::size_t>(dataSize.width) * dataSize.height, 0.0f);
    const TexelCells cells(*channel->grid(), dataSize);
    for (int r = dataSize.height - 1; r >= 0; --r) {
        const float v = texelCoordinate(r, dataSize.height);
        for (int c = 0; c < dataSize.width; ++c) {
            const float u = texelCoordinate(c, dataSize.width);
            std::array<int, 4> corners;
            std::array<float, 4> weights;
            float value = 0.0f;
            if (cells.locate(c, r, u, v, corners, weights))
                value = channel->normalize(channel->interpolate(corners, weights));
            else value = normalizedSample(channel, u, v);  // reports the miss as sampling does
            texels.push_back(std::isfinite(value) ? value : missingTexel);
        }
    }
    return texels;
}
