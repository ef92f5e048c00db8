#include "tf/ColorTable.h"
#include "tf/TfPointList.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const ColorRGBA black(0, 0, 0, 255);
const ColorRGBA white(255, 255, 255, 255);
const ColorRGBA red(255, 0, 0, 255);
const ColorRGBA green(0, 255, 0, 255);
const ColorRGBA blue(0, 0, 255, 255);

constexpr std::size_t guard = 64;
constexpr std::uint8_t sentinel = 0xAB;

// A table with a guard zone on both sides to catch writes outside it.
struct Table {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(colorTableBytes + 2 * guard, sentinel);
    std::uint8_t* data() { return bytes.data() + guard; }
    std::array<int, 4> texel(int k) const {
        const std::uint8_t* t = bytes.data() + guard + 4 * k;
        return {t[0], t[1], t[2], t[3]};
    }
    bool guardsIntact() const {
        for (std::size_t i = 0; i < guard; ++i) {
            if (bytes[i] != sentinel || bytes[guard + colorTableBytes + i] != sentinel) return false;
        }
        return true;
    }
    bool fullyWritten() const {
        for (int k = 0; k < colorTableTexels; ++k) {
            if (texel(k)[3] != 255) return false;
        }
        return true;
    }
};

using Texel = std::array<int, 4>;

Table rasterize(std::vector<TfPoint> points) {
    TfPointList list(0.1f);
    list.setPoints(std::move(points));
    Table table;
    rasterizeColorTable(list.first(), 4.0f, table.data());
    return table;
}

TEST(ColorTable, DefaultRampIsTruncatedLinearGreyFromBlackToWhite) {
    Table t = rasterize({TfPoint(0.0f, 0.1f, black), TfPoint(4.0f, 0.1f, white)});
    EXPECT_EQ(t.texel(0), (Texel{0, 0, 0, 255}));
    EXPECT_EQ(t.texel(4095), (Texel{255, 255, 255, 255}));
    for (int k = 0; k < colorTableTexels; ++k) {
        const int grey = k * 255 / 4095;
        ASSERT_EQ(t.texel(k), (Texel{grey, grey, grey, 255})) << "texel " << k;
    }
    EXPECT_TRUE(t.guardsIntact());
}

TEST(ColorTable, SegmentsStartAtTheTexelOfTheirPointWithOffsetsTruncatedThenRaised) {
    // 1.0 on a 4.0 strip is byte 4096: the second segment starts at texel 1024.
    Table t = rasterize({TfPoint(0.0f, 0.1f, black), TfPoint(1.0f, 0.1f, green), TfPoint(4.0f, 0.1f, blue)});
    EXPECT_EQ(t.texel(1022), (Texel{0, 254, 0, 255}));
    EXPECT_EQ(t.texel(1023), (Texel{0, 255, 0, 255}));  // last texel of a segment: its right point
    EXPECT_EQ(t.texel(1024), (Texel{0, 255, 0, 255}));  // first texel: its left point
    EXPECT_EQ(t.texel(1025), (Texel{0, 254, 0, 255}));
    EXPECT_EQ(t.texel(4095), (Texel{0, 0, 255, 255}));

    // 1.0002 gives byte 4096.8, truncated to 4096: still texel 1024.
    t = rasterize({TfPoint(0.0f, 0.1f, black), TfPoint(1.0002f, 0.1f, green), TfPoint(4.0f, 0.1f, blue)});
    EXPECT_EQ(t.texel(1023), (Texel{0, 255, 0, 255}));
    EXPECT_EQ(t.texel(1025), (Texel{0, 254, 0, 255}));
    // 1.0003 gives byte 4097, raised to 4100: the segment starts at texel 1025.
    t = rasterize({TfPoint(0.0f, 0.1f, black), TfPoint(1.0003f, 0.1f, green), TfPoint(4.0f, 0.1f, blue)});
    EXPECT_EQ(t.texel(1023), (Texel{0, 254, 0, 255}));
    EXPECT_EQ(t.texel(1024), (Texel{0, 255, 0, 255}));
    EXPECT_EQ(t.texel(1025), (Texel{0, 255, 0, 255}));
    EXPECT_EQ(t.texel(1026), (Texel{0, 254, 0, 255}));
}

TEST(ColorTable, SegmentsOfNoTexelWriteNothingAndOfOneTexelTakeTheLeftColour) {
    // 2.0 and 2.0001 both land on texel 2048: red never gets a texel of its own.
    Table t = rasterize({TfPoint(0.0f, 0.1f, black), TfPoint(2.0f, 0.1f, red), TfPoint(2.0001f, 0.1f, green),
                         TfPoint(4.0f, 0.1f, white)});
    EXPECT_EQ(t.texel(2047), (Texel{255, 0, 0, 255}));
    EXPECT_EQ(t.texel(2048), (Texel{0, 255, 0, 255}));

    // 2.00025 gives byte 8193, raised to 8196: the red-green segment is texel 2048 alone.
    t = rasterize({TfPoint(0.0f, 0.1f, black), TfPoint(2.0f, 0.1f, red), TfPoint(2.00025f, 0.1f, green),
                   TfPoint(4.0f, 0.1f, white)});
    EXPECT_EQ(t.texel(2048), (Texel{255, 0, 0, 255}));
    EXPECT_EQ(t.texel(2049), (Texel{0, 255, 0, 255}));
}

TEST(ColorTable, AlphaIsAlways255WhateverThePointsCarry) {
    Table t = rasterize({TfPoint(0.0f, 0.1f, ColorRGBA(10, 20, 30, 0)), TfPoint(1.5f, 0.1f, ColorRGBA(200, 100, 50, 7)),
                         TfPoint(4.0f, 0.1f, ColorRGBA(90, 80, 70, 128))});
    EXPECT_TRUE(t.fullyWritten());
    EXPECT_EQ(t.texel(0), (Texel{10, 20, 30, 255}));
}

TEST(ColorTable, PointsOutsideTheStripAreClampedAndNeverWritePastTheTable) {
    Table t = rasterize({TfPoint(-3.0f, 0.1f, red), TfPoint(1e9f, 0.1f, blue)});
    EXPECT_TRUE(t.guardsIntact());
    EXPECT_EQ(t.texel(0), (Texel{255, 0, 0, 255}));
    EXPECT_EQ(t.texel(4095), (Texel{0, 0, 255, 255}));
    EXPECT_EQ(t.texel(2048)[0] + t.texel(2048)[2], 254);  // midway of the red-blue ramp

    t = rasterize({TfPoint(std::nanf(""), 0.1f, red), TfPoint(4.5f, 0.1f, blue), TfPoint(-1e30f, 0.1f, green)});
    EXPECT_TRUE(t.guardsIntact());
    EXPECT_TRUE(t.fullyWritten());
}

TEST(ColorTable, PointsOutOfOrderAreRasterisedInPositionOrder) {
    Table t = rasterize(
        {TfPoint(0.0f, 0.1f, black), TfPoint(3.0f, 0.1f, red), TfPoint(1.0f, 0.1f, green), TfPoint(4.0f, 0.1f, white)});
    EXPECT_TRUE(t.guardsIntact());
    EXPECT_EQ(t.texel(1024), (Texel{0, 255, 0, 255}));
    EXPECT_EQ(t.texel(3071), (Texel{255, 0, 0, 255}));
    EXPECT_EQ(t.texel(3072), (Texel{255, 0, 0, 255}));
    EXPECT_EQ(t.texel(2048)[0], 127);  // green to red, halfway
}

TEST(ColorTable, TexelsBeyondTheOuterPointsTakeTheirColours) {
    Table t = rasterize({TfPoint(1.0f, 0.1f, red), TfPoint(3.0f, 0.1f, blue)});
    EXPECT_TRUE(t.fullyWritten());
    EXPECT_EQ(t.texel(0), (Texel{255, 0, 0, 255}));
    EXPECT_EQ(t.texel(1023), (Texel{255, 0, 0, 255}));
    EXPECT_EQ(t.texel(3072), (Texel{0, 0, 255, 255}));
    EXPECT_EQ(t.texel(4095), (Texel{0, 0, 255, 255}));
    EXPECT_TRUE(t.guardsIntact());
}

}  // namespace
