#include "tf/TransferFunction.h"

#include "common/TwoHalves.h"
#include "data/FlowData.h"

#include <algorithm>
#include <cmath>

namespace {

// Adds to `tables` (four tables of binCount + 1 entries) the bins of
// values[first, end): c = normalize(value) * bins, c = bins taken as bins
// - 1, and a c outside [0, bins) (a missing value) counted in the last
// entry, which takes no part. The bins are found block by block in a loop
// the compiler can vectorise, then counted into the four tables so that
// runs of one bin do not wait on each other.
void countRange(const Channel& channel, int first, int end, int binCount, std::vector<int>& tables) {
    const float bins = static_cast<float>(binCount);
    const float* values = channel.values();
    constexpr int kBlock = 4096;
    alignas(16) int bin[kBlock];
    int* t[4];
    for (int k = 0; k < 4; ++k) t[k] = tables.data() + static_cast<std::size_t>(k) * (binCount + 1);
    // Channel::normalize, its test of the range taken out of the loop.
    const float lo = channel.minValue();
    const float span = channel.maxValue() - lo;
    const bool ranged = span > 0.0f;
    const float last = bins - 1.0f;
    for (int from = first; from < end; from += kBlock) {
        const int count = std::min(kBlock, end - from);
        const float* v = values + from;
        if (ranged) {
            // Selects only, no branches: outside [0, bins) gives the last
            // table entry, bins itself.
            for (int i = 0; i < count; ++i) {
                const float c = (v[i] - lo) / span * bins;
                const float d = c == bins ? last : c;
                const float e = d >= 0.0f ? d : bins;
                bin[i] = static_cast<int>(d < bins ? e : bins);
            }
        } else {
            // Every value in bin 0, but a missing one nowhere.
            for (int i = 0; i < count; ++i) bin[i] = std::isfinite(v[i]) ? 0 : binCount;
        }
        int i = 0;
        for (; i + 4 <= count; i += 4) {
            ++t[0][bin[i]];
            ++t[1][bin[i + 1]];
            ++t[2][bin[i + 2]];
            ++t[3][bin[i + 3]];
        }
        for (; i < count; ++i) ++t[0][bin[i]];
    }
}

// binCounts[b] = how many of the first `nodes` values fall into bin b; a
// large channel is counted in two halves side by side.
void countBins(const Channel& channel, int nodes, std::vector<int>& binCounts) {
    const int binCount = static_cast<int>(binCounts.size());
    const std::size_t tableSize = static_cast<std::size_t>(binCount + 1) * 4;
    std::vector<int> tables[2] = {std::vector<int>(tableSize, 0), std::vector<int>(tableSize, 0)};
    inTwoHalves(static_cast<std::size_t>(nodes), kTwoHalvesFrom, [&](std::size_t begin, std::size_t end) {
        countRange(channel, static_cast<int>(begin), static_cast<int>(end), binCount, tables[begin == 0 ? 0 : 1]);
    });
    for (std::size_t k = 0; k < tableSize; ++k) tables[0][k] += tables[1][k];
    const std::size_t stride = static_cast<std::size_t>(binCount + 1);
    for (int b = 0; b < binCount; ++b)
        binCounts[static_cast<std::size_t>(b)] =
            tables[0][b] + tables[0][stride + b] + tables[0][2 * stride + b] + tables[0][3 * stride + b];
}

}  // namespace

void TransferFunction::computeHistogram() { computeHistogram(nullptr); }

void TransferFunction::computeHistogram(const TransferFunction* sameChannel) {
    std::fill(binCounts.begin(), binCounts.end(), 0);
    std::fill(binHeights.begin(), binHeights.end(), 0.0f);
    if (binCount == 0) return;

    const Channel* channel = flowData ? flowData->channel(channelSlot) : nullptr;
    if (sameChannel && sameChannel->flowData == flowData && sameChannel->channelSlot == channelSlot &&
        sameChannel->binCount == binCount) {
        binCounts = sameChannel->binCounts;  // counted from the same values
    } else if (channel) {
        countBins(*channel, std::min(flowData->width() * flowData->height(), channel->valueCount()), binCounts);
    }

    // Bin 0 holds the channel minimum (a constant channel puts every node
    // there) and would flatten the other bars; it takes no part.
    for (int i = 1; i < binCount; ++i) maxBinCount = std::max(maxBinCount, binCounts[static_cast<std::size_t>(i)]);

    // ln(count) / ln(max) is not finite for an empty bin (ln 0) or when the
    // largest count is 1 (ln 1 = 0); such bins keep height 0 and get no bar.
    if (maxBinCount <= 1) return;
    const float logMax = std::log(static_cast<float>(maxBinCount));
    for (int i = 1; i < binCount; ++i) {
        const int count = binCounts[static_cast<std::size_t>(i)];
        if (count > 0) binHeights[static_cast<std::size_t>(i)] = std::log(static_cast<float>(count)) / logMax;
    }
}
