// Sizes and contents of the data textures' texel buffers.
#include "data/FlowData.h"
#include "data/DatasetWriter.h"
#include "data/TextureBuffers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

static std::ostream& operator<<(std::ostream& out, TextureSize s) { return out << s.width << " x " << s.height; }

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

class TextureData : public testing::Test {
protected:
    // Loads `writer` into `data` and adds the magnitude channel (slot 3 + n).
    void load(const DatasetWriter& writer, FlowData& data) {
        const std::string gri = writer.write(dir + "/set" + std::to_string(++count));
        CaptureStdout();
        ASSERT_TRUE(data.load(gri, false));
        data.createMagnitudeChannel(0, 1, 2);
        GetCapturedStdout();
    }

    TempDir temp;
    const std::string dir = temp.path();
    int count = 0;
};

}  // namespace

TEST(TextureSizes, PowersOfTwo) {
    EXPECT_EQ(nextPowerOfTwo(-3), 1);
    EXPECT_EQ(nextPowerOfTwo(0), 1);
    EXPECT_EQ(nextPowerOfTwo(1), 1);
    EXPECT_EQ(nextPowerOfTwo(2), 2);
    EXPECT_EQ(nextPowerOfTwo(3), 4);
    EXPECT_EQ(nextPowerOfTwo(250), 256);
    EXPECT_EQ(nextPowerOfTwo(512), 512);
    EXPECT_EQ(nextPowerOfTwo(513), 1024);
    EXPECT_EQ(nextPowerOfTwo(1 << 30), 1 << 30);
    EXPECT_EQ(nextPowerOfTwo((1 << 30) + 1), 0);  // no int power of two left
}

TEST(TextureSizes, IntegerScaleOrResampledToTheResolution) {
    EXPECT_EQ(textureDataSize(100, 50, 538), (TextureSize{500, 250}));
    EXPECT_EQ(textureAllocatedSize({500, 250}, false), (TextureSize{512, 256}));
    EXPECT_EQ(textureAllocatedSize({500, 250}, true), (TextureSize{500, 250}));
    EXPECT_EQ(textureDataSize(50, 100, 538), (TextureSize{250, 500}));
    EXPECT_EQ(textureDataSize(538, 538, 538), (TextureSize{538, 538}));
    EXPECT_EQ(textureDataSize(3, 3, 1024), (TextureSize{1023, 1023}));
    // Longer than the resolution: the integer scale would be 0; the longer
    // side gets the resolution and the other keeps the aspect ratio.
    EXPECT_EQ(textureDataSize(539, 539, 538), (TextureSize{538, 538}));
    EXPECT_EQ(textureDataSize(1000, 500, 538), (TextureSize{538, 269}));
    EXPECT_EQ(textureDataSize(300, 4096, 538), (TextureSize{39, 538}));
    EXPECT_EQ(textureDataSize(100000, 2, 538), (TextureSize{538, 1}));
    EXPECT_EQ(textureDataSize(0, 0, 538), (TextureSize{0, 0}));
}

TEST_F(TextureData, DatasetSizeFollowsStoredRowsAndResolution) {
    FlowData data(nullptr);
    EXPECT_EQ(data.textureResolution(), 1024);
    EXPECT_EQ(data.textureDataSize(), (TextureSize{0, 0}));  // nothing loaded

    // Stored y fastest: a stored row runs along y, so the texture's width
    // follows the 4 rows of nodes.
    DatasetWriter flipped({0.0f, 1.0f, 2.0f}, {0.0f, 1.0f, 2.0f, 3.0f});
    load(flipped.flipped(true), data);
    ASSERT_TRUE(data.grid().isFlipped());
    data.setTextureResolution(538);
    EXPECT_EQ(data.textureDataSize(), (TextureSize{4 * 134, 3 * 134}));
}

TEST_F(TextureData, LuminanceRowsRunFromTheTop) {
    FlowData data(nullptr);
    DatasetWriter writer({0.0f, 1.0f, 2.0f}, {0.0f, 1.0f, 2.0f});
    load(writer.dataChannels(1).data([](int, float x, float y) { return x + 10.0f * y; }), data);
    data.setTextureResolution(6);
    const TextureSize size = data.textureDataSize();
    ASSERT_EQ(size, (TextureSize{6, 6}));
    const std::vector<float> texels = luminanceTexels(data.channel(3), size);
    ASSERT_EQ(texels.size(), 36u);
    // Texel (c, r) samples x = 2c/5, y = 2(5 - r)/5; the channel spans 0 .. 22.
    EXPECT_FLOAT_EQ(texels[0], 20.0f / 22.0f);          // top left
    EXPECT_FLOAT_EQ(texels[5], 22.0f / 22.0f);          // top right
    EXPECT_FLOAT_EQ(texels[2 * 6 + 1], 12.4f / 22.0f);  // (1, 2): x 0.4, y 1.2
    EXPECT_FLOAT_EQ(texels[5 * 6 + 0], 0.0f);           // bottom left
    EXPECT_FLOAT_EQ(texels[5 * 6 + 5], 2.0f / 22.0f);   // bottom right
}

TEST_F(TextureData, VelocityTexelsHoldFourNormalisedChannels) {
    FlowData data(nullptr);
    DatasetWriter writer({0.0f, 1.0f, 2.0f}, {0.0f, 2.0f});
    writer.velocity([](float x, float y) { return std::array<float, 3>{x, y, 5.0f}; });
    load(writer, data);
    data.setTextureResolution(3);
    const TextureSize size = data.textureDataSize();
    ASSERT_EQ(size, (TextureSize{3, 2}));
    CaptureStderr();
    const std::vector<float> texels =
        velocityTexels(data.channel(0), data.channel(1), data.channel(2), data.channel(3), size);
    EXPECT_EQ(GetCapturedStderr(), "");
    ASSERT_EQ(texels.size(), 3u * 2u * 4u);
    // Magnitude spans |(0, 0, 5)| = 5 .. |(2, 2, 5)| = sqrt(33).
    const float low = 5.0f;
    const float high = std::sqrt(33.0f);
    auto magnitude = [&](float x, float y) { return (std::sqrt(x * x + y * y + 25.0f) - low) / (high - low); };
    // Row 0 is the top (y = 2): x = 0, 1, 2.
    const float expected[] = {0.0f, 1.0f, 0.0f, magnitude(0, 2),
                              0.5f, 1.0f, 0.0f, magnitude(1, 2),
                              1.0f, 1.0f, 0.0f, 1.0f,
                              0.0f, 0.0f, 0.0f, 0.0f,
                              0.5f, 0.0f, 0.0f, magnitude(1, 0),
                              1.0f, 0.0f, 0.0f, magnitude(2, 0)};
    for (std::size_t k = 0; k < texels.size(); ++k) EXPECT_NEAR(texels[k], expected[k], 1e-6f) << "float " << k;
    // Constant z: zero range gives 0, never NaN.
    for (std::size_t k = 2; k < texels.size(); k += 4) EXPECT_FALSE(std::isnan(texels[k]));

    // A missing channel contributes 0.
    const std::vector<float> partial = velocityTexels(data.channel(0), nullptr, nullptr, nullptr, size);
    EXPECT_EQ(partial[4], 0.5f);
    EXPECT_EQ(partial[5], 0.0f);
}

TEST_F(TextureData, LargeGridIsResampledAcrossItsWholeExtent) {
    FlowData data(nullptr);
    DatasetWriter writer(DatasetWriter::evenlySpaced(0.1f, 0.7f, 700), DatasetWriter::evenlySpaced(0.1f, 0.7f, 350));
    load(writer.dataChannels(1).data([](int, float x, float) { return x; }), data);
    data.setTextureResolution(538);
    const TextureSize size = data.textureDataSize();
    ASSERT_EQ(size, (TextureSize{538, 269}));
    CaptureStderr();
    const std::vector<float> texels = luminanceTexels(data.channel(3), size);
    EXPECT_EQ(GetCapturedStderr(), "");  // the right and top edges are inside
    ASSERT_EQ(texels.size(), 538u * 269u);
    EXPECT_FLOAT_EQ(texels[0], 0.0f);
    EXPECT_FLOAT_EQ(texels[537], 1.0f);
    EXPECT_NEAR(texels[268 * 538 + 269], 269.0f / 537.0f, 1e-5f);
}

// The texel buffers find each texel's cell per column and per row; every
// texel must still hold exactly normalize(sampleNormalized(u, v)) — on
// stretched and flipped grids, and where texels fall right on grid lines.
TEST_F(TextureData, TexelsEqualTheSampledValuesOnEveryGrid) {
    struct Case {
        std::vector<float> xs, ys;
        bool flipped;
        TextureSize size;
    };
    const std::vector<Case> cases = {
        {DatasetWriter::evenlySpaced(0.0f, 4.0f, 5), DatasetWriter::evenlySpaced(-1.0f, 1.0f, 5), false, {9, 9}},
        {{0.0f, 0.1f, 0.35f, 1.0f, 2.5f}, {0.0f, 0.7f, 0.75f, 3.0f}, false, {23, 17}},
        {{0.0f, 0.1f, 0.35f, 1.0f, 2.5f}, {0.0f, 0.7f, 0.75f, 3.0f}, true, {23, 17}},
        {DatasetWriter::evenlySpaced(0.1f, 0.7f, 7), DatasetWriter::evenlySpaced(0.1f, 0.7f, 4), false, {13, 7}},
    };
    for (const Case& c : cases) {
        DatasetWriter writer(c.xs, c.ys);
        writer.flipped(c.flipped).dataChannels(1);
        writer.velocity([](float x, float y) {
            return std::array<float, 3>{std::sin(3 * x) + y, x * y - 1, 0.25f * x};
        });
        writer.data([](int, float x, float y) { return std::cos(x) * y; });
        auto owned = std::make_unique<FlowData>(nullptr);
        FlowData& data = *owned;
        load(writer, data);
        const int magnitude = 4;
        const std::vector<float> velocity =
            velocityTexels(data.channel(0), data.channel(1), data.channel(2), data.channel(magnitude), c.size);
        const std::vector<float> luminance = luminanceTexels(data.channel(3), c.size);
        ASSERT_EQ(velocity.size(), static_cast<std::size_t>(c.size.width * c.size.height * 4));
        std::size_t k = 0;
        for (int r = c.size.height - 1; r >= 0; --r) {
            const float v = static_cast<float>(r) / static_cast<float>(c.size.height - 1);
            for (int col = 0; col < c.size.width; ++col, ++k) {
                const float u = static_cast<float>(col) / static_cast<float>(c.size.width - 1);
                for (int channel = 0; channel < 4; ++channel) {
                    const Channel* ch = data.channel(channel == 3 ? magnitude : channel);
                    ASSERT_EQ(velocity[k * 4 + static_cast<std::size_t>(channel)],
                              ch->normalize(ch->sampleNormalized(u, v)))
                        << "texel " << col << ", " << r << " channel " << channel;
                }
                ASSERT_EQ(luminance[k], data.channel(3)->normalize(data.channel(3)->sampleNormalized(u, v)));
            }
        }
        CaptureStdout();  // the channels report their deletion
        owned.reset();
        GetCapturedStdout();
    }
}
