#include "tf/TransferFunction.h"

#include "data/FlowData.h"

#include <algorithm>
#include <cmath>

void TransferFunction::computeHistogram() {
    std::fill(binCounts.begin(), binCounts.end(), 0);
    std::fill(binHeights.begin(), binHeights.end(), 0.0f);
    if (binCount == 0) return;

    const Channel* channel = flowData ? flowData->channel(channelSlot) : nullptr;
    if (channel) {
        const int nodes = std::min(flowData->width() * flowData->height(), channel->valueCount());
        const float bins = static_cast<float>(binCount);
        for (int i = 0; i < nodes; ++i) {
            float c = channel->normalize(channel->valueAt(i)) * bins;
            if (c == bins) c = bins - 1.0f;
            // A NaN node value has no place on the axis.
            if (!(c >= 0.0f && c < bins)) continue;
            ++binCounts[static_cast<std::size_t>(c)];
        }
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
