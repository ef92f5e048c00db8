#include "data/SeriesRange.h"

#include "common/ConsoleLog.h"

#include "data/FlowData.h"

#include <limits>
#include <memory>
#include <ostream>

SeriesRanges computeSeriesRanges(FlowData& data) {
    const std::size_t fileChannels = static_cast<std::size_t>(data.dataChannelCount() + 3);
    SeriesRanges ranges;
    ranges.min.assign(fileChannels + 1, std::numeric_limits<float>::infinity());
    ranges.max.assign(fileChannels + 1, -std::numeric_limits<float>::infinity());
    consoleOut() << "- Colour ranges over " << data.stepCount() << " time steps ..." << std::endl;
    std::vector<std::unique_ptr<Channel>> channels;
    for (int step = 0; step < data.stepCount(); ++step) {
        if (!data.readTimeStep(step, channels, false)) continue;
        ++ranges.stepsRead;
        for (std::size_t k = 0; k < fileChannels; ++k) {
            // Strict comparisons: a channel of NaN only takes no part.
            if (channels[k]->minValue() < ranges.min[k]) ranges.min[k] = channels[k]->minValue();
            if (channels[k]->maxValue() > ranges.max[k]) ranges.max[k] = channels[k]->maxValue();
        }
        for (int node = 0, n = channels[0]->valueCount(); node < n; ++node) {
            const float m =
                FlowData::magnitude(channels[0]->valueAt(node), channels[1]->valueAt(node), channels[2]->valueAt(node));
            if (m < ranges.min[fileChannels]) ranges.min[fileChannels] = m;
            if (m > ranges.max[fileChannels]) ranges.max[fileChannels] = m;
        }
    }
    return ranges;
}

void applySeriesRanges(FlowData& data, const SeriesRanges& ranges, int magnitudeSlot) {
    if (ranges.empty()) return;
    const int fileChannels = data.dataChannelCount() + 3;
    for (int k = 0; k < fileChannels; ++k)
        if (Channel* c = data.channel(k))
            c->setRange(ranges.min[static_cast<std::size_t>(k)], ranges.max[static_cast<std::size_t>(k)]);
    if (Channel* m = data.channel(magnitudeSlot)) m->setRange(ranges.min.back(), ranges.max.back());
}

void applyStepRanges(FlowData& data, int magnitudeSlot) {
    const int fileChannels = data.dataChannelCount() + 3;
    for (int k = 0; k < fileChannels; ++k)
        if (Channel* c = data.channel(k)) c->recomputeExtremes();
    if (Channel* m = data.channel(magnitudeSlot)) m->recomputeExtremes();
}
