// What the field view is drawn from: the quad's shape from the box, and
// missing values (NaN or infinite) kept out of ranges and marked in the
// texels instead of being sampled into data.
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "data/TextureBuffers.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

class PictureData : public testing::Test {
protected:
    // Loads `writer` with the opener's derived channels; the magnitude slot
    // is 5 + n for n data channels.
    FlowData& load(const DatasetWriter& writer) {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        EXPECT_TRUE(data.load(writer.write(dir.file("set")), false));
        data.createCoordinateChannel(0);
        data.createCoordinateChannel(1);
        magnitudeSlot = data.createMagnitudeChannel(0, 1, 2);
        return data;
    }

    TempDir dir;
    FlowData data{nullptr};
    int magnitudeSlot = -1;
};

TEST_F(PictureData, TheQuadTakesTheShapeOfTheBoxNotOfTheNodeCounts) {
    EXPECT_FALSE(data.quadSize().isValid()) << "nothing loaded";
    // An 8 x 4 box on 64 x 48 nodes (4:3) is drawn 2:1.
    load(DatasetWriter(DatasetWriter::evenlySpaced(0, 8, 64), DatasetWriter::evenlySpaced(0, 4, 48)));
    EXPECT_EQ(data.quadSize().width, 1.3f);
    EXPECT_EQ(data.quadSize().height, 0.65f);
}

TEST_F(PictureData, TallBoxesStandUpright) {
    // Stored with y varying fastest: the row length is the y count.
    load(DatasetWriter(DatasetWriter::evenlySpaced(0, 1, 40), DatasetWriter::evenlySpaced(0, 4, 9)).flipped());
    EXPECT_EQ(data.quadSize().width, 1.3f / 4.0f);
    EXPECT_EQ(data.quadSize().height, 1.3f);
}

TEST_F(PictureData, MissingValuesStayOutOfTheRangesAndAreMarkedInTheTexels) {
    // Velocity x = 1 + x on [0, 4] x [0, 2] (5 x 3 nodes), NaN at node (0, 0)
    // and infinite at node (4, 2); data channel 1 = y with a NaN at (2, 1).
    load(DatasetWriter(DatasetWriter::evenlySpaced(0, 4, 5), DatasetWriter::evenlySpaced(0, 2, 3))
             .dataChannels(1)
             .velocity([](float x, float y) {
                 if (x == 0.0f && y == 0.0f) return std::array<float, 3>{nan, 0.0f, 0.0f};
                 if (x == 4.0f && y == 2.0f) return std::array<float, 3>{inf, 0.0f, 0.0f};
                 return std::array<float, 3>{1.0f + x, 0.0f, 0.0f};
             })
             .data([](int, float x, float y) { return x == 2.0f && y == 1.0f ? nan : y; }));
    const Channel& vx = *data.channel(0);
    const Channel& magnitude = *data.channel(magnitudeSlot);
    EXPECT_EQ(vx.minValue(), 1.0f);
    EXPECT_EQ(vx.maxValue(), 5.0f);
    EXPECT_EQ(magnitude.maxValue(), 5.0f) << "an infinite speed is no maximum";
    EXPECT_TRUE(std::isnan(vx.normalize(nan)));
    EXPECT_TRUE(std::isinf(vx.normalize(inf)));

    // A corner without weight takes no part: on the grid line x = 2 the
    // missing node (0, 0) would otherwise spoil every sample.
    EXPECT_EQ(vx.sampleAt(Vec3(2.0f, 0.5f, 0.0f)), 3.0f);
    EXPECT_TRUE(std::isnan(vx.sampleAt(Vec3(0.5f, 0.5f, 0.0f))));

    // 9 x 5 texels, two per cell: texel (c, r) samples x = c / 2, y = 2 - r / 2.
    const TextureSize size{9, 5};
    const std::vector<float> velocity =
        velocityTexels(data.channel(0), data.channel(1), data.channel(2), &magnitude, size);
    auto texel = [&](int c, int r, int k) { return velocity[(static_cast<std::size_t>(r) * 9 + c) * 4 + k]; };
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(texel(0, 4, k), missingTexel) << "the NaN node";
        EXPECT_EQ(texel(1, 3, k), missingTexel) << "a cell with the NaN node in it";
        EXPECT_EQ(texel(8, 0, k), missingTexel) << "the infinite node";
    }
    EXPECT_EQ(texel(2, 4, 0), 0.25f) << "velocity 2 of 1 .. 5 at (1, 0), beside the missing node";
    EXPECT_EQ(texel(4, 2, 3), 0.5f) << "speed 3 of 1 .. 5 at (2, 1)";

    const std::vector<float> channel = luminanceTexels(data.channel(3), size);
    EXPECT_EQ(channel[2 * 9 + 4], missingTexel);
    EXPECT_EQ(channel[2 * 9 + 3], missingTexel) << "half way to the missing node";
    EXPECT_EQ(channel[2 * 9 + 2], 0.5f) << "on the node beside it";
}

}  // namespace
