// The geometry the four drawing modes send to GL.

#include "streamlines/StreamlineGeometry.h"

#include "streamlines/StreamlineSet.h"
#include "support/AnalyticFlow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

void placeQuietly(StreamlineSet& set) {
    testing::internal::CaptureStdout();
    set.computeEvenlySpaced();
    testing::internal::GetCapturedStdout();
}

TEST(StreamlineGeometryTest, ViewMapsTheBoxOntoTheFieldQuad) {
    const DomainBox box{0.0f, 0.0f, 4.0f, 2.0f};
    // More nodes along x than along y: the quad is 1.3 wide.
    const StreamlineView wide(box, fieldQuadSize(9, 5));
    ASSERT_TRUE(wide.isValid());
    EXPECT_EQ(wide.quadWidth(), 1.3f);
    EXPECT_EQ(wide.quadHeight(), 1.3f * (5.0f / 9.0f));
    EXPECT_FLOAT_EQ(wide.map(0.0f, 1.0f).x, -0.65f);
    EXPECT_FLOAT_EQ(wide.map(4.0f, 1.0f).x, 0.65f);
    EXPECT_FLOAT_EQ(wide.map(2.0f, 0.0f).y, -0.65f * 5.0f / 9.0f);
    const ViewVertex centre = wide.map(2.0f, 1.0f);
    EXPECT_EQ(centre.x, 0.0f);
    EXPECT_EQ(centre.y, 0.0f);
    EXPECT_EQ(centre.z, -0.5f);

    // Points off the box are drawn on its boundary.
    const ViewVertex off = wide.map(5.0f, -1.0f);
    const ViewVertex corner = wide.map(4.0f, 0.0f);
    EXPECT_EQ(off.x, corner.x);
    EXPECT_EQ(off.y, corner.y);

    const StreamlineView tall(box, fieldQuadSize(5, 9));
    EXPECT_EQ(tall.quadHeight(), 1.3f);
    EXPECT_EQ(tall.quadWidth(), 1.3f / (9.0f / 5.0f));
    EXPECT_FLOAT_EQ(tall.map(4.0f, 2.0f).y, 0.65f);

    // Nothing to draw on without a grid or with an empty box.
    EXPECT_FALSE(StreamlineView(box, fieldQuadSize(0, 0)).isValid());
    EXPECT_FALSE(StreamlineView(DomainBox{1.0f, 1.0f, 1.0f, 3.0f}, fieldQuadSize(9, 5)).isValid());
}

TEST(StreamlineGeometryTest, TaperWidthFollowsTheDistanceBetweenDtestAndDsep) {
    const float dsep = 0.4f;
    const float dtest = 0.2f;
    EXPECT_EQ(taperWidth(0.4f, dsep, dtest, 0.1f, 0.04f), 0.1f);
    EXPECT_EQ(taperWidth(0.9f, dsep, dtest, 0.1f, 0.04f), 0.1f);
    EXPECT_FLOAT_EQ(taperWidth(0.3f, dsep, dtest, 0.1f, 0.0f), 0.05f);
    EXPECT_EQ(taperWidth(0.2f, dsep, dtest, 0.1f, 0.04f), 0.04f);  // max(minWidth, 0)
    EXPECT_EQ(taperWidth(0.2f, dsep, dtest, 0.1f, 0.0f), 0.0f);
    EXPECT_EQ(taperWidth(0.05f, dsep, dtest, 0.1f, 0.04f), 0.04f);
    EXPECT_EQ(taperWidth(0.4f, dsep, dtest, 0.1f, 0.3f), 0.3f);  // minWidth above maxWidth wins
    // dsep no larger than dtest: no division by zero, no NaN.
    EXPECT_EQ(taperWidth(0.1f, 0.2f, 0.2f, 0.0f, 0.04f), 0.04f);
    EXPECT_EQ(taperWidth(0.1f, 0.2f, 0.3f, 0.1f, 0.0f), 0.0f);
}

TEST(StreamlineGeometryTest, TextureGreyLevels) {
    EXPECT_DOUBLE_EQ(textureGrey(40, 160, 0), 1.0);
    EXPECT_NEAR(textureGrey(120, 160, 0), 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(textureGrey(0, 160, 0), 0.5);
    EXPECT_NEAR(textureGrey(200, 160, 0), 1.0, 1e-12);
    EXPECT_EQ(textureGrey(159, 160, 1), 1.0);
    EXPECT_EQ(textureGrey(160, 160, 1), 0.0);
    EXPECT_EQ(textureGrey(3, 7, 1), static_cast<double>(3.0f / 6.0f));
    // One step per period: every step is the last of its ramp.
    EXPECT_EQ(textureGrey(0, 1, 1), 1.0);
    EXPECT_EQ(textureGrey(5, 1, 1), 1.0);
    // A period below 1 (not offered by the panel) counts as 1.
    EXPECT_EQ(textureGrey(5, 0, 1), 1.0);
    EXPECT_TRUE(std::isfinite(textureGrey(5, 0, 0)));
    EXPECT_TRUE(std::isfinite(textureGrey(5, -3, 0)));
}

TEST(StreamlineGeometryTest, LinesAndGreyStripsFollowThePoints) {
    // Seeded lines end with a point beyond the box; an empty line gives an
    // empty block.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{21, 21, -1.0f, 1.0f, -1.0f, 1.0f}, [](double x, double) {
        return Velocity{x > -0.05 && x < 0.05 ? 0.0f : 1.0f, 0.0f};
    });
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.01f, 0.4f, 0.2f);
    set.computeSeeded(3);  // the middle seed (0, 0) lies in the still band
    const StreamlineView view(set.domainBox(), flow.data->quadSize());
    const auto strips = buildLineStrips(set, view);
    ASSERT_EQ(strips.size(), 3u);
    EXPECT_TRUE(strips[1].empty());
    const auto& points = set.streamlines()[2]->points;
    ASSERT_EQ(strips[2].size(), points.size());
    ASSERT_GT(points.back()->x(), 1.0f);
    EXPECT_EQ(strips[2].back().x, view.map(1.0f, 0.0f).x);
    for (std::size_t k = 0; k < points.size(); ++k) {
        const ViewVertex v = view.map(points[k]->x(), points[k]->y());
        ASSERT_EQ(strips[2][k].x, v.x);
        ASSERT_EQ(strips[2][k].y, v.y);
    }

    // Evenly spaced lines carry step indices; the grey follows them.
    AnalyticFlow uniform = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet even(uniform.data.get(), uniform.xSlot, uniform.ySlot, 0.005f, 0.4f, 0.2f);
    placeQuietly(even);
    ASSERT_FALSE(even.streamlines().empty());
    even.setTextureFunction(1);
    even.setTexturePeriod(25);
    const StreamlineView evenView(even.domainBox(), uniform.data->quadSize());
    const auto grey = buildTexturedStrips(even, evenView, even.texturePeriod(), even.textureFunction());
    ASSERT_EQ(grey.size(), even.streamlines().size());
    for (std::size_t l = 0; l < grey.size(); ++l) {
        const auto& pts = even.streamlines()[l]->points;
        ASSERT_EQ(grey[l].size(), pts.size());
        for (std::size_t k = 0; k < pts.size(); ++k) {
            ASSERT_EQ(grey[l][k].grey, textureGrey(pts[k]->index(), 25, 1));
            ASSERT_EQ(grey[l][k].position.x, evenView.map(pts[k]->x(), pts[k]->y()).x);
        }
    }
}

TEST(StreamlineGeometryTest, GlyphsAreSpacedByTheAccumulatedLength) {
    // One straight line along y = 0.25 with points 0.125 apart from x = 0.
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 3, 0.0f, 4.0f, 0.0f, 0.5f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.125f, 0.4f, 0.2f);
    placeQuietly(set);
    ASSERT_EQ(set.streamlines().size(), 1u);
    const auto& points = set.streamlines()[0]->points;
    ASSERT_EQ(points.front()->x(), 0.0f);
    ASSERT_EQ(points[1]->x(), 0.125f);

    const StreamlineView view(set.domainBox(), flow.data->quadSize());
    const auto blocks = buildGlyphTriangles(set, view);
    ASSERT_EQ(blocks.size(), 1u);
    const auto& tri = blocks[0];
    ASSERT_GE(tri.size(), 12u);
    ASSERT_EQ(tri.size() % 3, 0u);
    const float bases[] = {0.0f, 0.35f, 0.6071429f, 0.855f, 1.1056338f};
    for (int g = 0; g < 4; ++g) {
        SCOPED_TRACE(g);
        const ViewVertex from = view.map(bases[g], 0.25f);
        const ViewVertex to = view.map(bases[g + 1], 0.25f);
        EXPECT_NEAR(tri[3 * g].x, from.x, 1e-4);
        EXPECT_NEAR(tri[3 * g + 2].x, to.x, 1e-4);
        EXPECT_EQ(tri[3 * g].y, from.y);
        // The short side: D = (length, 0), offset (0, length / 40) after the view.
        EXPECT_NEAR(tri[3 * g + 1].x, from.x, 1e-6);
        EXPECT_NEAR(tri[3 * g + 1].y, from.y + (bases[g + 1] - bases[g]) / 40.0f, 1e-5);
    }
}

TEST(StreamlineGeometryTest, TaperedBandsKeepFullWidthAwayFromOtherLines) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 3, 0.0f, 4.0f, 0.0f, 0.5f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.05f, 0.4f, 0.2f);
    placeQuietly(set);
    ASSERT_EQ(set.streamlines().size(), 1u);
    const std::size_t n = set.streamlines()[0]->points.size();
    const StreamlineView view(set.domainBox(), flow.data->quadSize());
    const float sy = view.quadHeight() / 0.5f;

    for (float minWidth : {0.04f, 0.2f}) {
        const float expected = std::max(0.1f, minWidth);
        const auto blocks = buildTaperedQuads(set, view, set.nearestOtherDistances(), 0.1f, minWidth);
        ASSERT_EQ(blocks.size(), 1u);
        const auto& q = blocks[0];
        ASSERT_EQ(q.size(), (n - 1) * 8);
        for (std::size_t k = 0; k < q.size(); k += 4) {
            EXPECT_NEAR((q[k + 3].y - q[k].y) / sy, expected, 1e-5);
            EXPECT_NEAR((q[k + 2].y - q[k + 1].y) / sy, expected, 1e-5);
        }
    }
}

TEST(StreamlineGeometryTest, TaperedBandsNarrowNearOtherLinesFromCachedDistances) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::saddle(0.1, -0.2));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.02f, 0.1f, 0.05f);
    placeQuietly(set);
    const auto& distances = set.nearestOtherDistances();
    ASSERT_EQ(distances.size(), set.streamlines().size());
    bool narrowed = false;
    for (std::size_t l = 0; l < distances.size(); ++l) {
        const auto& pts = set.streamlines()[l]->points;
        ASSERT_EQ(distances[l].size(), pts.size());
        for (std::size_t k = 0; k < pts.size(); ++k) {
            ASSERT_EQ(distances[l][k], set.nearestOtherDistance(pts[k]));
            ASSERT_LE(distances[l][k], set.dsep());
            narrowed = narrowed || distances[l][k] < set.dsep();
        }
    }
    EXPECT_TRUE(narrowed);
    EXPECT_EQ(&set.nearestOtherDistances(), &distances);

    // Every band width lies between minWidth and maxWidth, where the box
    // boundary does not clip it.
    const StreamlineView view(set.domainBox(), flow.data->quadSize());
    const auto blocks = buildTaperedQuads(set, view, distances, 0.1f, 0.04f);
    const float s = view.quadWidth() / 2.0f;
    auto clipped = [](const ViewVertex& v) { return std::fabs(v.x) > 0.6499f || std::fabs(v.y) > 0.6499f; };
    for (const auto& block : blocks) {
        for (std::size_t k = 0; k + 3 < block.size(); k += 4) {
            if (clipped(block[k]) || clipped(block[k + 1]) || clipped(block[k + 2]) || clipped(block[k + 3])) continue;
            const float dx = block[k + 2].x - block[k + 1].x;
            const float dy = block[k + 2].y - block[k + 1].y;
            const float w = std::sqrt(dx * dx + dy * dy) / s;
            ASSERT_LE(w, 0.1f + 1e-5f);
            ASSERT_GE(w, 0.04f - 1e-5f);
        }
    }

    // A new placement brings new distances.
    set.computeSeeded(2);
    EXPECT_EQ(set.nearestOtherDistances().size(), 2u);
}

// A line far denser than the tolerance: a straight stretch, then a half
// circle along which a level swings. The points drawn stand for all others
// within the tolerance, of position and of level alike.
TEST(StreamlineGeometryTest, DrawnPointsLeaveOutOnlyWhatStaysWithinTheTolerance) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{9, 9, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    const StreamlineView view(set.domainBox(), fieldQuadSize(1.0f, 1.0f));
    Streamline line(1);
    std::vector<float> level;
    constexpr int kHalf = 1000;
    for (int i = 0; i < kHalf; ++i) {
        line.points.push_back(set.createPoint(-0.9f + 0.9f * i / kHalf, -0.3f));
        level.push_back(0.5f);
    }
    for (int i = 0; i < kHalf; ++i) {
        const double a = 3.14159265 * i / kHalf - 1.57079633;
        line.points.push_back(
            set.createPoint(static_cast<float>(0.3 * std::cos(a)), static_cast<float>(0.3 * std::sin(a))));
        level.push_back(static_cast<float>(0.5 + 0.5 * std::sin(20.0 * a)));
    }
    const float tolerance = 0.001f;
    const std::vector<DrawnLevel> levels = {DrawnLevel{level.data(), 0.01f}};
    EXPECT_EQ(drawnPoints(line, view, 0.0f, levels).size(), line.points.size());

    const std::vector<std::size_t> kept = drawnPoints(line, view, tolerance, levels);
    ASSERT_GE(kept.size(), 2u);
    EXPECT_EQ(kept.front(), 0u);
    EXPECT_EQ(kept.back(), line.points.size() - 1);
    EXPECT_LT(kept.size(), line.points.size() / 10);
    EXPECT_LE(std::count_if(kept.begin(), kept.end(), [](std::size_t k) { return k < kHalf - 1; }), 1)
        << "a straight stretch needs its two ends";
    for (std::size_t n = 1; n < kept.size(); ++n) {
        ASSERT_LT(kept[n - 1], kept[n]);
        const ViewVertex a = view.map(line.points[kept[n - 1]]->x(), line.points[kept[n - 1]]->y());
        const ViewVertex b = view.map(line.points[kept[n]]->x(), line.points[kept[n]]->y());
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        for (std::size_t i = kept[n - 1] + 1; i < kept[n]; ++i) {
            const ViewVertex p = view.map(line.points[i]->x(), line.points[i]->y());
            // Distance to the segment a-b.
            double t = ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / (length * length);
            t = std::clamp(t, 0.0, 1.0);
            const double off = std::hypot(p.x - (a.x + t * (b.x - a.x)), p.y - (a.y + t * (b.y - a.y)));
            EXPECT_LE(off, tolerance * 1.001) << "point " << i;
            const double f = static_cast<double>(i - kept[n - 1]) / static_cast<double>(kept[n] - kept[n - 1]);
            const double between = level[kept[n - 1]] + f * (level[kept[n]] - level[kept[n - 1]]);
            EXPECT_LE(std::fabs(level[i] - between), 0.01 * 1.001) << "level at point " << i;
        }
    }
}

}  // namespace
