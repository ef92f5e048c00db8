// Every data channel of a dataset has its own transfer function: the four of
// the start and one more for each channel from 3 on, each counting its own
// channel into its histogram.
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"
#include "tf/TransferFunctionSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

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
