// Every data channel of a dataset has its own transfer function: the four of
// the start and one more for each channel from 3 on, each counting its own
// channel into its histogram.
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"
#include "tf/TransferFunctionSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// 4 x 3 nodes with `channels` data channels; channel k is 0 at all nodes but
// k of them, which hold 1, so that each histogram has k nodes in its top bin.
std::unique_ptr<FlowData> loadChannels(int channels) {
    const TempDir dir;
    const std::string path = DatasetWriter({0.0f, 1.0f, 2.0f, 3.0f}, {0.0f, 1.0f, 2.0f})
                                 .dataChannels(channels)
                                 .data([](int k, float x, float y) { return y * 4 + x < k ? 1.0f : 0.0f; })
                                 .write(dir.file("channels"));
    auto data = std::make_unique<FlowData>(nullptr);
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    EXPECT_TRUE(data->load(path, false));
    return data;
}

TEST(ChannelTransferFunctions, EachChannelHasItsOwnWithItsOwnHistogramAndTitle) {
    const auto data = loadChannels(5);
    // The opener's slots for five channels: node x in 8, the magnitude in 10.
    const TransferFunctionSet set = createTransferFunctions(data.get(), 10, 8, nullptr);
    ASSERT_EQ(set.moreChannels.size(), 3u);
    std::set<const TransferFunction*> distinct;
    std::set<std::string> titles;
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE("channel " + std::to_string(k));
        const TransferFunction* tf = set.forBackground(k);
        ASSERT_NE(tf, nullptr);
        EXPECT_EQ(tf->channelSlot, 2 + k);
        EXPECT_EQ(tf->binCounts[319], k);
        EXPECT_FALSE(tf->isArrowTf);
        EXPECT_EQ(tf->chooser, set.chooser.get());
        EXPECT_EQ(transferFunctionTitle(*tf), "Channel " + std::to_string(k) + " TF");
        distinct.insert(tf);
        // The editor edits the background's transfer function, or the
        // arrow plot's when that is shown with its own.
        EXPECT_EQ(set.active(0, 1, k), tf);
        EXPECT_EQ(set.active(1, 1, k), set[3]);
    }
    EXPECT_EQ(distinct.size(), 5u);
    EXPECT_EQ(set.forBackground(0), set[0]);
    EXPECT_EQ(set.forBackground(6), nullptr);
    EXPECT_EQ(set.active(0, 0, 6), set[0]) << "a channel the dataset lacks edits the velocity's";
    EXPECT_EQ(set.moreChannelPointers(),
              (std::vector<TransferFunction*>{set.forBackground(3), set.forBackground(4), set.forBackground(5)}));
}

TEST(ChannelTransferFunctions, OneAndTwoChannelDatasetsKeepTheFourOnly) {
    for (int channels : {0, 1, 2}) {
        const auto data = loadChannels(channels);
        const TransferFunctionSet set = createTransferFunctions(data.get(), 5 + channels, 3 + channels, nullptr);
        EXPECT_TRUE(set.moreChannels.empty());
        EXPECT_EQ(set.forBackground(3), nullptr);
        // Channel 1 counts channel 1 (slot 3) whenever the dataset has it.
        if (channels >= 1) {
            EXPECT_EQ(set[1]->binCounts[319], 1);
        }
    }
}

}  // namespace

namespace {

// The extremes as the channel rules state them: value by value, strict
// comparisons, missing values left out; so of two zeros the first stays.
std::pair<float, float> extremesOneByOne(const std::vector<float>& values) {
    float lo = std::numeric_limits<float>::infinity();
    float hi = -std::numeric_limits<float>::infinity();
    for (float v : values) {
        if (!std::isfinite(v)) continue;
        if (v < lo) lo = v;
        if (v > hi) hi = v;
    }
    return {lo, hi};
}

// The histogram rule: normalise, times the bin count, the top value into the
// last bin, a value off the axis nowhere.
std::vector<int> binsOneByOne(const std::vector<float>& values, float lo, float hi, int binCount) {
    std::vector<int> bins(static_cast<std::size_t>(binCount), 0);
    for (float v : values) {
        float c = (v - lo) / (hi - lo) * static_cast<float>(binCount);
        if (c == static_cast<float>(binCount)) c = static_cast<float>(binCount - 1);
        if (c >= 0.0f && c < static_cast<float>(binCount)) ++bins[static_cast<std::size_t>(c)];
    }
    return bins;
}

bool sameFloat(float a, float b) { return std::signbit(a) == std::signbit(b) && (a == b || (a != a && b != b)); }

}  // namespace

// More nodes than the loader reads in one block and than a histogram counts
// in one piece: extremes (the sign of a zero extreme included) and bins over
// all of them, as the rules give them value by value, whatever order the
// values are read and counted in.
TEST(OpeningChannels, ExtremesAndBinsOfALargeGridFollowTheRulesValueByValue) {
    const int nx = 1030, ny = 1020, n = nx * ny;
    std::vector<std::vector<float>> values(5, std::vector<float>(static_cast<std::size_t>(n)));
    for (int k = 0; k < n; ++k) {
        const auto at = static_cast<std::size_t>(k);
        values[0][at] = std::sin(0.01f * static_cast<float>(k));
        values[1][at] = static_cast<float>(k % 97) * 0.25f - 3.0f;
        values[2][at] = 0.0f;
        values[3][at] = -1.0f - static_cast<float>(k % 13);        // all below zero but two zeros
        values[4][at] = 1.0f + static_cast<float>(k % 31) / 7.0f;  // all above zero but two zeros
    }
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    // Zeros after the first one of a channel, in the same block and in
    // later ones, wherever a reader that splits the values would see them.
    values[3][103] = -0.0f;  // the largest: this one, the first zero
    values[3][200] = 0.0f;
    values[3][17000] = 0.0f;
    values[3][5] = nan;
    values[3][n - 1] = inf;
    values[4][18003] = 0.0f;  // the smallest: this one, in the second block
    values[4][18004] = -0.0f;
    values[4][19000] = -0.0f;
    values[4][3] = -inf;
    values[4][n - 2] = nan;
    values[3][n / 2 + 7] = 0.0f;  // zeros of the other sign where a second half begins
    values[4][n / 2 + 9] = -0.0f;

    const TempDir dir;
    const std::string path =
        DatasetWriter(DatasetWriter::evenlySpaced(0.0f, 2.0f, nx), DatasetWriter::evenlySpaced(0.0f, 1.0f, ny))
            .dataChannels(2)
            .records([&](const DatasetWriter::Node& node, float* record) {
                const auto k = static_cast<std::size_t>(node.j * nx + node.i);
                for (std::size_t c = 0; c < 5; ++c) record[c] = values[c][k];
            })
            .write(dir.file("large"));
    FlowData data(nullptr);
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    ASSERT_TRUE(data.load(path, false));
    const int x = data.createCoordinateChannel(0);
    data.createCoordinateChannel(1);
    const int magnitude = data.createMagnitudeChannel(0, 1, 2);
    std::vector<float> speeds;
    for (int k = 0; k < n; ++k) speeds.push_back(FlowData::magnitude(values[0][k], values[1][k], 0.0f));
    values.push_back(speeds);

    for (std::size_t c = 0; c < values.size(); ++c) {
        const Channel* channel = data.channel(c < 5 ? static_cast<int>(c) : magnitude);
        const auto [lo, hi] = extremesOneByOne(values[c]);
        EXPECT_TRUE(sameFloat(channel->minValue(), lo)) << "channel " << c << ": " << channel->minValue();
        EXPECT_TRUE(sameFloat(channel->maxValue(), hi)) << "channel " << c << ": " << channel->maxValue();
    }
    EXPECT_TRUE(std::signbit(data.channel(3)->maxValue()));
    EXPECT_FALSE(std::signbit(data.channel(4)->minValue()));
    // The same values assigned in one go: a large channel is measured in two
    // halves, whose extremes must join as one pass in order finds them.
    for (std::size_t c : {3u, 4u}) {
        Channel assigned(&data.grid());
        assigned.assignValues(values[c].data());
        const auto [lo, hi] = extremesOneByOne(values[c]);
        EXPECT_TRUE(sameFloat(assigned.minValue(), lo) && sameFloat(assigned.maxValue(), hi)) << "channel " << c;
    }

    const TransferFunctionSet set = createTransferFunctions(&data, magnitude, x, nullptr);
    const auto [lo, hi] = extremesOneByOne(speeds);
    EXPECT_EQ(set[0]->binCounts, binsOneByOne(speeds, lo, hi, 320));
    EXPECT_EQ(set[3]->binCounts, set[0]->binCounts);
    EXPECT_EQ(set[3]->binHeights, set[0]->binHeights);
    EXPECT_EQ(set[3]->maxBinCount, set[0]->maxBinCount);
    const auto [lo4, hi4] = extremesOneByOne(values[4]);
    EXPECT_EQ(set[2]->binCounts, binsOneByOne(values[4], lo4, hi4, 320));
}
