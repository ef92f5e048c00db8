// The channel slots of a dataset and the channels derived from it.
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// A loaded 3 x 2 dataset; stdout of the load is swallowed.
class LoadedDataset : public testing::Test {
protected:
    void SetUp() override {
        DatasetWriter writer({1.0f, 2.0f, 4.0f}, {-1.0f, 3.0f});
        writer.velocity(velocityField);
        const std::string gri = writer.write(dir.file("flow"));
        CaptureStdout();
        const bool ok = data.load(gri, false);
        GetCapturedStdout();
        ASSERT_TRUE(ok);
    }

    // x from -2 to 3, y from 0 to 1.
    static std::array<float, 3> velocityField(float x, float y) {
        if (x == 1.0f && y == -1.0f) return {3.0f, 4.0f, 12.0f};
        if (x == 2.0f && y == -1.0f) return {-2.0f, 0.0f, 0.0f};
        if (x == 4.0f && y == 3.0f) return {0.113000005f, 4.20099974f, 0.0f};
        return {0.5f, 1.0f, 0.0f};
    }

    FlowData data{nullptr};
    TempDir dir;
};

}  // namespace

TEST(ChannelSlots, CreationTakesTheLowestFreeSlot) {
    FlowData data(nullptr);
    CaptureStdout();
    EXPECT_EQ(data.createChannel(), 0);
    EXPECT_EQ(data.createChannel(), 1);
    EXPECT_EQ(data.createChannel(), 2);
    EXPECT_EQ(data.createChannel(), 3);
    data.deleteChannel(1);
    EXPECT_EQ(data.createChannel(), 1);
    EXPECT_EQ(GetCapturedStdout(),
              "Creating channel at 0 ... ok\nCreating channel at 1 ... ok\n"
              "Creating channel at 2 ... ok\nCreating channel at 3 ... ok\n"
              "Deleting channel at 1 ... ok\nCreating channel at 1 ... ok\n");

    CaptureStdout();
    for (int k = 4; k < FlowData::slotCount; ++k) EXPECT_EQ(data.createChannel(), k);
    GetCapturedStdout();
    CaptureStdout();
    CaptureStderr();
    EXPECT_EQ(data.createChannel(), -1);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "There is no free channel slot!\n");

    EXPECT_EQ(data.channel(-1), nullptr);
    EXPECT_EQ(data.channel(FlowData::slotCount), nullptr);
}

TEST(ChannelSlots, DeletingTwiceAndDestruction) {
    CaptureStdout();
    {
        FlowData data(nullptr);
        for (int k = 0; k < 7; ++k) data.createChannel();
        data.deleteChannel(5);
        data.deleteChannel(5);
        EXPECT_EQ(data.channel(5), nullptr);
        data.deleteChannel(0);
        data.deleteChannel(2);
    }
    EXPECT_EQ(GetCapturedStdout(),
              std::string("Creating channel at 0 ... ok\nCreating channel at 1 ... ok\nCreating channel at 2 ... ok\n"
                          "Creating channel at 3 ... ok\nCreating channel at 4 ... ok\nCreating channel at 5 ... ok\n"
                          "Creating channel at 6 ... ok\n") +
                  "Deleting channel at 5 ... ok\n"
                  "Tried to delete a non-existing channel at 5.\n"
                  "Deleting channel at 0 ... ok\nDeleting channel at 2 ... ok\n"
                  // the destructor, in slot order
                  "Deleting channel at 1 ... ok\nDeleting channel at 3 ... ok\n"
                  "Deleting channel at 4 ... ok\nDeleting channel at 6 ... ok\n");
}

TEST(ChannelValues, FillWidensIgnoresNaNAndNormalises) {
    Grid grid;
    ASSERT_TRUE(grid.setNodes(2, 2, {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(1, 1, 0)}));
    Channel channel(&grid);
    EXPECT_EQ(channel.minValue(), std::numeric_limits<float>::infinity());
    EXPECT_EQ(channel.maxValue(), -std::numeric_limits<float>::infinity());

    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Interleaved records of two floats; the channel takes the second.
    const float records[] = {9, nan, 9, 2.5f, 9, -1.5f, 9, 0.25f};
    CaptureStdout();
    channel.fillInterleaved(records, 2, 1);
    EXPECT_EQ(GetCapturedStdout(), "Maximum value in channel: 2.5\nMinimum value in channel: -1.5\n");
    EXPECT_TRUE(std::isnan(channel.valueAt(0)));
    EXPECT_EQ(channel.valueAt(3), 0.25f);
    EXPECT_EQ(channel.range(), 4.0f);
    EXPECT_EQ(channel.normalize(0.5f), 0.5f);
    EXPECT_EQ(channel.normalize(-1.5f), 0.0f);
    EXPECT_EQ(channel.normalize(2.5f), 1.0f);

    // A later fill widens the range it had; it does not reset it.
    const float narrow[] = {0.0f, 1.0f, 1.0f, 1.0f};
    CaptureStdout();
    channel.fillInterleaved(narrow, 1, 0);
    EXPECT_EQ(GetCapturedStdout(), "Maximum value in channel: 2.5\nMinimum value in channel: -1.5\n");

    channel.setValue(2, 7.0f);
    EXPECT_EQ(channel.maxValue(), 7.0f);
    channel.setValue(2, nan);
    EXPECT_EQ(channel.maxValue(), 7.0f);
    EXPECT_EQ(channel.minValue(), -1.5f);

    // A constant field has range 0 and normalises to 0 instead of 0/0.
    Channel constant(&grid);
    const float same[] = {3.0f, 3.0f, 3.0f, 3.0f};
    CaptureStdout();
    constant.fillInterleaved(same, 1, 0);
    GetCapturedStdout();
    EXPECT_EQ(constant.range(), 0.0f);
    EXPECT_EQ(constant.normalize(3.0f), 0.0f);
    EXPECT_EQ(constant.normalize(5.0f), 0.0f);
}

TEST_F(LoadedDataset, CoordinateChannelsHoldTheNodePositions) {
    CaptureStdout();
    const int xSlot = data.createCoordinateChannel(0);
    const int ySlot = data.createCoordinateChannel(1);
    EXPECT_EQ(GetCapturedStdout(),
              "Creating channel at 3 ... ok\nMaximum value in channel: 4\nMinimum value in channel: 1\n"
              "Creating channel at 4 ... ok\nMaximum value in channel: 3\nMinimum value in channel: -1\n");
    ASSERT_EQ(xSlot, 3);
    ASSERT_EQ(ySlot, 4);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(data.channel(xSlot)->valueAt(k), data.grid().nodeX(k));
        EXPECT_EQ(data.channel(ySlot)->valueAt(k), data.grid().nodeY(k));
    }
}

TEST_F(LoadedDataset, MagnitudeChannelsInTwoAndThreeComponents) {
    CaptureStdout();
    const int three = data.createMagnitudeChannel(0, 1, 2);
    const int two = data.createMagnitudeChannel(0, 1, -1);
    EXPECT_EQ(GetCapturedStdout(), "Creating channel at 3 ... ok\nCreating channel at 4 ... ok\n");
    const Channel* m3 = data.channel(three);
    const Channel* m2 = data.channel(two);
    EXPECT_EQ(m3->valueAt(0), 13.0f);  // (3, 4, 12)
    EXPECT_EQ(m2->valueAt(0), 5.0f);   // (3, 4)
    EXPECT_EQ(m2->valueAt(1), 2.0f);   // (-2, 0)
    // Squares summed in double and rounded once: float sums give 4.20251942.
    EXPECT_EQ(m2->valueAt(5), 4.20251894f);
    EXPECT_EQ(m3->maxValue(), 13.0f);
    EXPECT_EQ(m2->minValue(), 1.11803401f);  // (0.5, 1)
}

TEST_F(LoadedDataset, VelocityExtremesOfTheFirstTwoComponents) {
    EXPECT_EQ(data.maxVelocity(), (std::array<float, 2>{3.0f, 4.20099974f}));
    EXPECT_EQ(data.minVelocity(), (std::array<float, 2>{-2.0f, 0.0f}));

    FlowData empty(nullptr);
    EXPECT_EQ(empty.maxVelocity(), (std::array<float, 2>{0.0f, 0.0f}));
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), 0);
}
