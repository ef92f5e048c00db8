// How lines, bands and glyphs are coloured and outlined, and the glyph
// spacing.
#include "streamlines/StreamlineGeometry.h"
#include "streamlines/StreamlineSet.h"
#include "support/AnalyticFlow.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using Rgb = std::array<float, 3>;

void placeQuietly(StreamlineSet& set) {
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    set.computeEvenlySpaced();
}

TEST(LineStyle, ColoursWhiteBlackChosenOrBySpeedThroughTheTable) {
    LineStyle style;
    EXPECT_EQ(style.colorAt(0.3f), (Rgb{1.0f, 1.0f, 1.0f}));
    style.color = LineColor::Black;
    EXPECT_EQ(style.colorAt(0.3f), (Rgb{0.0f, 0.0f, 0.0f}));
    style.color = LineColor::Chosen;
    style.chosen = {0.2f, 0.7f, 0.4f};
    EXPECT_EQ(style.colorAt(0.3f), (Rgb{0.2f, 0.7f, 0.4f}));

    // A table whose texel k holds (k / 16, 255 - k / 16, k % 256).
    std::vector<std::uint8_t> table(4096 * 4);
    for (int k = 0; k < 4096; ++k) {
        table[4 * k] = static_cast<std::uint8_t>(k / 16);
        table[4 * k + 1] = static_cast<std::uint8_t>(255 - k / 16);
        table[4 * k + 2] = static_cast<std::uint8_t>(k % 256);
    }
    style.color = LineColor::BySpeed;
    EXPECT_EQ(style.colorAt(0.5f), (Rgb{1.0f, 1.0f, 1.0f})) << "no table: white";
    style.speedTable = table.data();
    auto texel = [&](int k) {
        return Rgb{table[4 * k] / 255.0f, table[4 * k + 1] / 255.0f, table[4 * k + 2] / 255.0f};
    };
    EXPECT_EQ(style.colorAt(0.0f), texel(0));
    EXPECT_EQ(style.colorAt(0.5f), texel(2048));
    EXPECT_EQ(style.colorAt(0.30005f), texel(1229));
    EXPECT_EQ(style.colorAt(1.0f), texel(4095));
    EXPECT_EQ(style.colorAt(std::nanf("")), texel(0));
}

TEST(LineStyle, VerticesCarryTheSpeedOfTheirPoints) {
    // Flow along x at speed 1 + y over [0, 4] x [0, 1]: the speed normalises to y.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 1.0f}, [](double, double y) {
        return Velocity{static_cast<float>(1.0 + y), 0.0f};
    });
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.01f, 0.2f, 0.1f);
    placeQuietly(set);
    ASSERT_GE(set.streamlines().size(), 3u);
    const Channel* speed = flow.data->channel(flow.magnitudeSlot);
    const auto& values = set.valuesAlongLines(speed);
    const StreamlineView view(set.domainBox(), flow.data->quadSize());
    const auto strips = buildLineStrips(set, view, &values);
    for (std::size_t l = 0; l < strips.size(); ++l) {
        const auto& points = set.streamlines()[l]->points;
        ASSERT_EQ(values[l].size(), points.size());
        for (std::size_t k = 0; k < points.size(); k += 50) {
            EXPECT_NEAR(values[l][k], points[k]->y(), 1e-5);
            EXPECT_EQ(strips[l][k].value, values[l][k]);
        }
    }
    // Bands: the side vertices at a point take its value, the middle ones
    // the mean of the segment's two.
    const auto quads = buildTaperedQuads(set, view, set.nearestOtherDistances(), 0.05f, 0.02f, &values);
    const auto& q = quads[1];
    const float a = values[1][0];
    const float b = values[1][1];
    EXPECT_EQ(q[0].value, a);
    EXPECT_EQ(q[1].value, (a + b) / 2.0f);
    EXPECT_EQ(q[5].value, b);

    // A new placement brings new values.
    set.computeSeeded(1);
    EXPECT_EQ(set.valuesAlongLines(speed).size(), 1u);
}

TEST(LineStyle, ABandsOutlineRunsAlongOneSideAndBackAlongTheOther) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 3, 0.0f, 4.0f, 0.0f, 0.5f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.5f, 0.4f, 0.2f);
    placeQuietly(set);
    ASSERT_EQ(set.streamlines().size(), 1u);
    const StreamlineView view(set.domainBox(), flow.data->quadSize());
    const VertexBlock quads = buildTaperedQuads(set, view, set.nearestOtherDistances(), 0.1f, 0.04f)[0];
    const VertexBlock loop = bandOutline(quads);
    const std::size_t segments = quads.size() / 8;
    ASSERT_EQ(loop.size(), 4 * segments + 2);
    // Below the line from left to right, then above it from right to left.
    const float below = loop.front().y;
    for (std::size_t k = 0; k < loop.size(); ++k) {
        const bool first = k <= 2 * segments;
        EXPECT_FLOAT_EQ(loop[k].y, first ? below : -below) << k;
        if (k > 0 && k != 2 * segments + 1) {
            EXPECT_EQ(loop[k].x > loop[k - 1].x, first) << k;
        }
    }
    EXPECT_EQ(loop[2 * segments].x, loop[2 * segments + 1].x) << "across the downstream end";
    EXPECT_TRUE(bandOutline(VertexBlock{}).empty());
}

TEST(LineStyle, GlyphsFollowTheirSpacingAndKeepTheirWidth) {
    // One straight line along y = 0.25 over [0, 4] x [0, 0.5].
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 3, 0.0f, 4.0f, 0.0f, 0.5f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.01f, 0.4f, 0.2f);
    placeQuietly(set);
    const StreamlineView view(set.domainBox(), flow.data->quadSize());
    for (float spacing : {0.3f, 0.15f, 0.03f}) {
        SCOPED_TRACE(spacing);
        const VertexBlock glyphs = buildGlyphTriangles(set, view, spacing)[0];
        ASSERT_GE(glyphs.size(), 3u);
        EXPECT_NEAR(glyphs.size() / 3.0, 4.0 / spacing, 0.05 * 4.0 / spacing);
        // The short side stands 0.0075 view units off the base at any spacing.
        EXPECT_NEAR(glyphs[1].y - glyphs[0].y, 0.0075f, 0.0005f);
        EXPECT_NEAR(glyphs[2].x - glyphs[0].x, spacing * view.quadWidth() / 4.0f, 0.1f * spacing);
    }
    EXPECT_TRUE(buildGlyphTriangles(set, view, 0.0f)[0].empty());
}

}  // namespace
