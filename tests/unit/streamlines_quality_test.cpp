// Placement quality figures: lengths, short lines, line ends and the
// coverage raster, checked on hand-made lines and against brute force.

#include "streamlines/PlacementQuality.h"
#include "streamlines/StreamlineSet.h"

#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <deque>
#include <iomanip>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using R = TerminationReason;

// Hand-made lines; the points live in `pool`.
struct Lines {
    std::deque<StreamPoint> pool;
    StreamlineList list;

    Streamline& add(const std::vector<std::pair<float, float>>& points, R start = R::None, R end = R::None) {
        auto line = std::make_unique<Streamline>(static_cast<int>(list.size()));
        for (const auto& [x, y] : points) {
            pool.emplace_back(x, y, line->number, 0);
            line->points.push_back(&pool.back());
        }
        line->startReason = start;
        line->endReason = end;
        list.push_back(std::move(line));
        return *list.back();
    }
};

std::vector<std::pair<float, float>> straight(float x0, float y0, float x1, float y1, int segments) {
    std::vector<std::pair<float, float>> points;
    for (int k = 0; k <= segments; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(segments);
        points.emplace_back(x0 + t * (x1 - x0), y0 + t * (y1 - y0));
    }
    return points;
}

// Share of pixel centres within dsep of a line, every pixel against every
// segment: the nearest point of a segment by its parameter along it.
double bruteForceCoverage(const StreamlineList& lines, const DomainBox& box, float dsep, CoverageRaster raster) {
    const double limit = static_cast<double>(dsep) * dsep;
    long long covered = 0;
    for (int j = 0; j < raster.ny; ++j) {
        for (int i = 0; i < raster.nx; ++i) {
            const double px = box.xmin + (i + 0.5) * (static_cast<double>(box.width()) / raster.nx);
            const double py = box.ymin + (j + 0.5) * (static_cast<double>(box.height()) / raster.ny);
            double best = 1e300;
            for (const auto& line : lines) {
                const auto& p = line->points;
                for (std::size_t k = 0; k < p.size(); ++k) {
                    const StreamPoint* a = p[k];
                    const StreamPoint* b = p[k + 1 < p.size() ? k + 1 : k];
                    const double ux = static_cast<double>(b->x()) - a->x();
                    const double uy = static_cast<double>(b->y()) - a->y();
                    const double len2 = ux * ux + uy * uy;
                    double t = len2 == 0.0 ? 0.0 : ((px - a->x()) * ux + (py - a->y()) * uy) / len2;
                    t = std::min(1.0, std::max(0.0, t));
                    const double dx = px - (a->x() + t * ux);
                    const double dy = py - (a->y() + t * uy);
                    best = std::min(best, dx * dx + dy * dy);
                }
            }
            if (best <= limit) ++covered;
        }
    }
    return static_cast<double>(covered) / (static_cast<double>(raster.nx) * raster.ny);
}

TEST(PlacementQualityTest, RasterPixelsAreAnEighthOfDsepWithinBounds) {
    const DomainBox box{0.0f, 0.0f, 1.0f, 0.7f};
    const CoverageRaster r = coverageRaster(box, 0.1f);
    EXPECT_EQ(r.nx, 80);
    EXPECT_EQ(r.ny, 56);
    const CoverageRaster tiny = coverageRaster(box, 1e-6f);
    EXPECT_EQ(tiny.nx, maxCoveragePixelsPerAxis);
    EXPECT_EQ(tiny.ny, maxCoveragePixelsPerAxis);
    const CoverageRaster wide = coverageRaster(box, 100.0f);  // a dsep wider than the box: one pixel
    EXPECT_EQ(wide.nx, 1);
    EXPECT_EQ(wide.ny, 1);

    // Nothing to measure: no area, no usable dsep, no lines.
    Lines lines;
    lines.add(straight(0.0f, 0.35f, 1.0f, 0.35f, 10));
    EXPECT_EQ(coverage(lines.list, box, 0.0f), 0.0);
    EXPECT_EQ(coverage(lines.list, box, -0.1f), 0.0);
    EXPECT_EQ(coverage(lines.list, DomainBox{0.0f, 0.0f, 1.0f, 0.0f}, 0.1f), 0.0);
    EXPECT_EQ(coverage(StreamlineList{}, box, 0.1f), 0.0);
}

TEST(PlacementQualityTest, AStraightLineCoversItsBand) {
    // y = 0.5 across [0, 1] x [0, 1] with dsep 0.1: the band |y - 0.5| <= 0.1,
    // 16 of 80 pixel rows (centres at 0.40625 ... 0.59375).
    const DomainBox box{0.0f, 0.0f, 1.0f, 1.0f};
    Lines lines;
    lines.add(straight(0.0f, 0.5f, 1.0f, 0.5f, 200));
    EXPECT_DOUBLE_EQ(coverage(lines.list, box, 0.1f), 0.2);
    // Along the left edge only half the band lies in the box.
    Lines edge;
    edge.add(straight(0.0f, 0.0f, 0.0f, 1.0f, 3));
    EXPECT_DOUBLE_EQ(coverage(edge.list, box, 0.1f), 0.1);
    // Where the flow stands still no line can pass: only the band's rows count.
    const auto band = [](double, double y) { return y > 0.4 && y < 0.6; };
    EXPECT_DOUBLE_EQ(coverage(lines.list, box, 0.1f, band), 1.0);
}

TEST(PlacementQualityTest, CoverageAgreesWithBruteForce) {
    const DomainBox box{-0.5f, 0.2f, 1.5f, 1.45f};
    const float dsep = 0.12f;
    Lines lines;
    // A gently curved line of short steps.
    std::vector<std::pair<float, float>> arc;
    for (int k = 0; k <= 300; ++k) {
        const double a = 3.0 * k / 300.0;
        arc.emplace_back(static_cast<float>(0.5 + 0.6 * std::cos(a)), static_cast<float>(0.8 + 0.45 * std::sin(a)));
    }
    lines.add(arc);
    lines.add(straight(-0.5f, 1.45f, 1.5f, 0.2f, 1));         // one long diagonal segment over many cells
    lines.add({{1.2f, 1.3f}});                                // a single point
    lines.add({{1.3f, 0.25f}, {1.9f, -0.3f}, {2.5f, 0.1f}});  // running out of the box
    lines.add({});                                            // an empty line covers nothing
    const CoverageRaster raster = coverageRaster(box, dsep);
    ASSERT_EQ(raster.nx, 134);  // ceil(2 / 0.015)
    ASSERT_EQ(raster.ny, 84);   // ceil(1.25 / 0.015)
    const double fast = coverage(lines.list, box, dsep);
    const double slow = bruteForceCoverage(lines.list, box, dsep, raster);
    EXPECT_GT(slow, 0.3);
    EXPECT_LT(slow, 0.9);
    // The two may part on a pixel that lies at dsep to within rounding.
    EXPECT_NEAR(fast, slow, 1.5 / (raster.nx * raster.ny));

    // A raster of many rows is measured in two halves side by side.
    const float fine = 0.03f;
    const CoverageRaster large = coverageRaster(box, fine);
    ASSERT_GE(large.ny, 256);
    EXPECT_NEAR(coverage(lines.list, box, fine), bruteForceCoverage(lines.list, box, fine, large),
                1.5 / (large.nx * large.ny));
}

TEST(PlacementQualityTest, LengthsShortLinesAndEnds) {
    const DomainBox box{0.0f, 0.0f, 2.0f, 2.0f};
    Lines lines;
    lines.add(straight(0.1f, 0.1f, 0.1f, 0.2f, 4), R::LeftDomain, R::TooClose);                  // 0.1
    lines.add({{0.5f, 0.5f}, {0.8f, 0.9f}, {1.1f, 0.5f}}, R::ZeroVelocity, R::MidpointOutside);  // 0.5 + 0.5
    lines.add({{1.5f, 1.5f}}, R::NonFinite, R::StepCap);                                         // 0
    lines.add(straight(0.0f, 1.9f, 0.3f, 1.9f, 30), R::TooClose, R::TooClose);                   // 0.3
    EXPECT_NEAR(polylineLength(*lines.list[1]), 1.0, 1e-6);

    const PlacementQuality q = measurePlacement(lines.list, box, 0.1f);
    EXPECT_EQ(q.lines, 4);
    EXPECT_NEAR(q.totalLength, 1.4, 1e-6);
    EXPECT_NEAR(q.meanLength, 0.35, 1e-6);
    EXPECT_EQ(q.shortLines, 2);  // the 0.1 line and the single point: under 2 dsep = 0.2
    EXPECT_DOUBLE_EQ(q.shortShare, 0.5);
    const std::array<int, terminationReasonCount> ends = {0, 1, 1, 1, 3, 1, 1};
    EXPECT_EQ(q.ends, ends);
    EXPECT_GT(q.coverage, 0.0);
    EXPECT_LT(q.coverage, 0.2);

    const PlacementQuality none = measurePlacement(StreamlineList{}, box, 0.1f);
    EXPECT_EQ(none.lines, 0);
    EXPECT_EQ(none.meanLength, 0.0);
    EXPECT_EQ(none.shortShare, 0.0);
}

TEST(PlacementQualityTest, PrintedFigures) {
    PlacementQuality q;
    q.lines = 22;
    q.dsep = 0.4;
    q.totalLength = 80.1237;
    q.meanLength = 80.1237 / 22;
    q.shortLines = 11;
    q.shortShare = 0.5;
    q.coverage = 0.98766;
    q.ends = {0, 3, 1, 0, 40, 0, 0};
    std::ostringstream out;
    out << std::setprecision(2);  // the caller's formatting is left alone
    printPlacementQuality(out, q);
    out << 1.23456;
    EXPECT_EQ(out.str(),
              "Placement quality:\n"
              "Lines: 22\n"
              "Total length: 80.1237 (200.309 dsep)\n"
              "Mean length: 3.64199 (9.10497 dsep)\n"
              "Lines shorter than 2 dsep: 11 (50.00 %)\n"
              "Coverage within dsep: 98.77 %\n"
              "Line ends: left_domain 3, zero_velocity 1, non_finite 0, too_close 40, midpoint_outside 0, "
              "step_cap 0\n"
              "1.2");
    q.ends[0] = 2;
    std::ostringstream untraced;
    printPlacementQuality(untraced, q);
    EXPECT_NE(untraced.str().find("Line ends: none 2, left_domain 3,"), std::string::npos);
}

TEST(PlacementQualityTest, AUniformFlowIsCoveredByStraightLinesThatLeaveTheBox) {
    AnalyticFlow flow = makeAnalyticFlow(FlowBox{17, 9, 0.0f, 4.0f, 0.0f, 2.0f}, analytic::uniform(1.0f, 0.0f));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        set.computeEvenlySpaced();
    }

    // Lines at y = 0.2, 0.6, ..., 1.8 from edge to edge: every point of the
    // box lies within dsep of one.
    const PlacementQuality q = measurePlacement(set);
    EXPECT_EQ(q.lines, 5);
    EXPECT_NEAR(q.meanLength, 4.0, 0.01);
    EXPECT_EQ(q.shortLines, 0);
    EXPECT_DOUBLE_EQ(q.coverage, 1.0);
    EXPECT_EQ(q.ends[static_cast<std::size_t>(R::LeftDomain)], 10);
}

}  // namespace
