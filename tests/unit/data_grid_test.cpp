// Grid geometry, cell search and channel sampling on grids built in memory.
#include "data/Channel.h"
#include "data/DatasetWriter.h"
#include "data/Grid.h"
#include "data/Vec3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <algorithm>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// Rectilinear nodes from column x and row y coordinates, in either storage order.
std::vector<Vec3> rectilinearNodes(const std::vector<float>& xs, const std::vector<float>& ys, bool yFastest) {
    std::vector<Vec3> nodes;
    if (yFastest) {
        for (float x : xs)
            for (float y : ys) nodes.emplace_back(x, y, 0.0f);
    } else {
        for (float y : ys)
            for (float x : xs) nodes.emplace_back(x, y, 0.0f);
    }
    return nodes;
}

Grid makeGrid(const std::vector<float>& xs, const std::vector<float>& ys, bool yFastest = false) {
    Grid grid;
    EXPECT_TRUE(
        grid.setNodes(static_cast<int>(xs.size()), static_cast<int>(ys.size()), rectilinearNodes(xs, ys, yFastest)));
    return grid;
}

// A channel holding f(x, y) at every node.
std::vector<float> nodeValues(const Grid& grid, const std::function<float(float, float)>& f) {
    std::vector<float> values;
    for (const Vec3& n : grid.nodes()) values.push_back(f(n.x, n.y));
    return values;
}

struct SampledGrid {
    SampledGrid(const std::vector<float>& xs, const std::vector<float>& ys, bool yFastest,
                const std::function<float(float, float)>& f)
        : grid(makeGrid(xs, ys, yFastest)), channel(&grid) {
        const std::vector<float> values = nodeValues(grid, f);
        testing::internal::CaptureStdout();
        channel.fillInterleaved(values.data(), 1, 0);
        testing::internal::GetCapturedStdout();
    }
    Grid grid;
    Channel channel;
};

float xPlusTenY(float x, float y) { return x + 10.0f * y; }

const std::vector<float> kThree = {0.0f, 1.0f, 2.0f};

}  // namespace

TEST(Vec3, ArithmeticLengthAndNormalisation) {
    Vec3 zero;
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);

    Vec3 v(1.0f, 2.0f, 3.0f);
    v[1] = 5.0f;
    v += Vec3(1.0f, 1.0f, 1.0f);
    v -= Vec3(0.5f, 0.0f, 0.0f);
    v *= 2.0f;
    EXPECT_EQ(v.x, 3.0f);
    EXPECT_EQ(v.y, 12.0f);
    EXPECT_EQ(v.z, 8.0f);
    v.negate();
    EXPECT_EQ(v.y, -12.0f);

    const Vec3 sum = Vec3(1, 2, 3) + Vec3(4, 5, 6);
    const Vec3 difference = Vec3(1, 2, 3) - Vec3(4, 5, 6);
    EXPECT_EQ(sum.z, 9.0f);
    EXPECT_EQ(difference.x, -3.0f);

    // Division multiplies by a float reciprocal: 5 * (1/3) is not 5 / 3 in float.
    Vec3 divided(5.0f, 0.0f, 0.0f);
    divided /= 3.0f;
    EXPECT_EQ(divided.x, 1.66666675f);
    EXPECT_NE(divided.x, 5.0f / 3.0f);

    Vec3 dir(3.0f, 4.0f, 0.0f);
    EXPECT_EQ(dir.lengthSquared(), 25.0f);
    EXPECT_EQ(dir.length(), 5.0f);
    dir.normalize();
    EXPECT_FLOAT_EQ(dir.x, 0.6f);
    EXPECT_FLOAT_EQ(dir.y, 0.8f);

    // A zero vector has no direction and stays zero rather than becoming NaN.
    Vec3 none;
    none.normalize();
    EXPECT_EQ(none.x, 0.0f);
    EXPECT_EQ(none.y, 0.0f);
    EXPECT_EQ(none.z, 0.0f);

    EXPECT_EQ(Vec3(1, 1, 1).distanceSquared(Vec3(2, 3, 4)), 14.0f);  // z counts
}

TEST(GridLayout, DerivedFieldsAndStorageOrderDetection) {
    const Grid grid = makeGrid({0.0f, 1.0f, 4.0f}, {-1.0f, 1.0f});
    EXPECT_FALSE(grid.isFlipped());
    EXPECT_EQ(grid.width(), 3);
    EXPECT_EQ(grid.height(), 2);
    EXPECT_EQ(grid.extent().x, 4.0f);
    EXPECT_EQ(grid.extent().y, 2.0f);
    EXPECT_EQ(grid.cellWidth(), 2.0f);
    EXPECT_EQ(grid.cellHeight(), 2.0f);

    // 3 x 2 stored y fastest: record 2 is node (1, 0) at the lowest y, so the
    // heuristic takes it for the normal order.
    const Grid narrow = makeGrid(kThree, {0.0f, 1.0f}, true);
    EXPECT_FALSE(narrow.isFlipped());

    // 3 x 3 stored y fastest: record 2 is node (0, 2) at the top.
    const Grid flipped = makeGrid(kThree, kThree, true);
    EXPECT_TRUE(flipped.isFlipped());

    const Grid tall = makeGrid(kThree, {0.0f, 1.0f, 2.0f, 3.0f}, true);
    ASSERT_TRUE(tall.isFlipped());
    EXPECT_EQ(tall.width(), 4);  // a stored row runs along y
    EXPECT_EQ(tall.height(), 3);

    Grid rejected;
    EXPECT_FALSE(rejected.setNodes(1, 3, std::vector<Vec3>(3)));
    EXPECT_FALSE(rejected.setNodes(2, 2, std::vector<Vec3>(3)));
}

TEST(GridIndexing, BothStorageOrdersAndNeighbours) {
    // 4 columns, 5 rows.
    const std::vector<float> xs = {0, 1, 2, 3};
    const std::vector<float> ys = {0, 1, 2, 3, 4};
    const Grid normal = makeGrid(xs, ys);
    EXPECT_EQ(normal.nodeIndex(3, 1), 7);
    EXPECT_EQ(normal.column(7), 3);
    EXPECT_EQ(normal.row(7), 1);
    EXPECT_EQ(normal.rightNeighbor(5), 6);
    EXPECT_EQ(normal.leftNeighbor(5), 4);
    EXPECT_EQ(normal.aboveNeighbor(5), 9);
    EXPECT_EQ(normal.belowNeighbor(5), 1);

    const Grid flipped = makeGrid(xs, ys, true);
    ASSERT_TRUE(flipped.isFlipped());
    EXPECT_EQ(flipped.nodeIndex(3, 1), 16);
    EXPECT_EQ(flipped.column(16), 3);
    EXPECT_EQ(flipped.row(16), 1);
    EXPECT_EQ(flipped.rightNeighbor(6), 11);
    EXPECT_EQ(flipped.leftNeighbor(6), 1);
    EXPECT_EQ(flipped.aboveNeighbor(6), 7);
    EXPECT_EQ(flipped.belowNeighbor(6), 5);

    for (const Grid* grid : {&normal, &flipped}) {
        for (int j = 0; j < 5; ++j) {
            EXPECT_EQ(grid->leftNeighbor(grid->nodeIndex(0, j)), -1);
            EXPECT_EQ(grid->rightNeighbor(grid->nodeIndex(3, j)), -1);
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(grid->belowNeighbor(grid->nodeIndex(i, 0)), -1);
            EXPECT_EQ(grid->aboveNeighbor(grid->nodeIndex(i, 4)), -1);
        }
        EXPECT_EQ(grid->rightNeighbor(-1), -1);
        EXPECT_EQ(grid->aboveNeighbor(-1), -1);
        // Every node's coordinates match its (column, row).
        for (int k = 0; k < grid->nodeCount(); ++k) {
            EXPECT_EQ(grid->nodeX(k), static_cast<float>(grid->column(k)));
            EXPECT_EQ(grid->nodeY(k), static_cast<float>(grid->row(k)));
        }
    }

    const Grid shifted = makeGrid({1.0f, 3.0f}, {2.0f, 6.0f});
    const Vec3 world = shifted.fromNormalized(Vec3(0.25f, 0.5f, 1.0f));
    EXPECT_EQ(world.x, 1.5f);
    EXPECT_EQ(world.y, 4.0f);
    EXPECT_EQ(world.z, 1.0f);
}

TEST(GridSearch, NearestNodeAndCellTies) {
    const Grid normal = makeGrid(kThree, kThree);
    EXPECT_EQ(normal.nearestNode(Vec3(1.9f, 0.2f, 0.0f)), 2);
    EXPECT_EQ(normal.nearestNode(Vec3(1.0f, 1.0f, 0.0f)), 4);
    // At a cell centre all four candidates tie; the first, (i0, j1), wins.
    EXPECT_EQ(normal.nearestNode(Vec3(0.5f, 0.5f, 0.0f)), normal.nodeIndex(0, 1));

    const Grid flipped = makeGrid(kThree, kThree, true);
    ASSERT_TRUE(flipped.isFlipped());
    // In the flipped order the first candidate is (i0, jlo).
    EXPECT_EQ(flipped.nearestNode(Vec3(0.5f, 0.5f, 0.0f)), flipped.nodeIndex(0, 0));

    for (const Grid* grid : {&normal, &flipped}) {
        std::array<int, 4> corners;
        std::array<float, 4> weights;
        ASSERT_TRUE(grid->locateCell(Vec3(0.5f, 0.5f, 0.0f), corners, weights));
        EXPECT_EQ(corners[0], grid->nodeIndex(0, 0));
        EXPECT_EQ(corners[1], grid->nodeIndex(1, 0));
        EXPECT_EQ(corners[2], grid->nodeIndex(0, 1));
        EXPECT_EQ(corners[3], grid->nodeIndex(1, 1));
        for (float w : weights) EXPECT_EQ(w, 0.25f);
    }
}

TEST(GridSearch, NonUniformColumnsAreFoundByTheBinarySearch) {
    // The uniform-spacing guess for x = 3 is column 2 (x = 1): the search
    // must move on to the cell [1, 5].
    for (bool yFastest : {false, true}) {
        const std::vector<float> xs = {0.0f, 0.1f, 1.0f, 5.0f};
        const std::vector<float> ys = {0.0f, 1.0f, 2.0f, 4.0f};
        SampledGrid sampled(xs, ys, yFastest, [](float x, float y) { return x * x + y; });
        ASSERT_EQ(sampled.grid.isFlipped(), yFastest);
        std::array<int, 4> corners;
        std::array<float, 4> weights;
        ASSERT_TRUE(sampled.grid.locateCell(Vec3(3.0f, 0.5f, 0.0f), corners, weights));
        EXPECT_EQ(sampled.grid.nodeX(corners[0]), 1.0f);
        EXPECT_EQ(sampled.grid.nodeX(corners[1]), 5.0f);
        EXPECT_EQ(sampled.grid.nodeY(corners[0]), 0.0f);
        EXPECT_EQ(sampled.grid.nodeY(corners[2]), 1.0f);
        // Halfway between x = 1 (1) and 5 (25), halfway up the first row.
        EXPECT_EQ(sampled.channel.sampleAt(Vec3(3.0f, 0.5f, 0.0f)), 13.5f);
        // Far from the guess along y as well.
        EXPECT_FLOAT_EQ(sampled.channel.sampleAt(Vec3(0.05f, 3.0f, 0.0f)), 0.005f + 3.0f);
    }
}

// Node coordinates from a to b: uniform, jittered by up to a fifth of the
// spacing, or stretched (dense towards the middle).
std::vector<float> axis(float a, float b, int n, const char* kind) {
    std::vector<float> at;
    for (int k = 0; k < n; ++k) {
        double t = static_cast<double>(k) / (n - 1);
        if (std::string(kind) == "jittered" && k > 0 && k < n - 1) t += 0.2 / (n - 1) * std::sin(k * 12.9898);
        if (std::string(kind) == "stretched") t = 0.5 + 0.5 * std::sin((t - 0.5) * 3.14159265358979);
        at.push_back(k == n - 1 ? b : static_cast<float>(a + (b - a) * t));
    }
    return at;
}

// Positions that test every branch of both lookups: nodes, grid lines, the
// floats just beside them, midpoints, the box edges, outside and NaN.
std::vector<float> probes(const std::vector<float>& at) {
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> out = {std::numeric_limits<float>::quiet_NaN(), -inf, inf};
    for (std::size_t k = 0; k < at.size(); ++k) {
        out.insert(out.end(), {at[k], std::nextafter(at[k], -inf), std::nextafter(at[k], inf)});
        if (k + 1 < at.size()) {
            out.push_back(0.5f * (at[k] + at[k + 1]));
            out.push_back(at[k] + 0.01f * (at[k + 1] - at[k]));
            out.push_back(at[k + 1] - 0.99f * (at[k + 1] - at[k]));
        }
    }
    const float span = at.back() - at.front();
    out.insert(out.end(), {at.front() - span, at.back() + 0.5f * span});
    return out;
}

TEST(GridSearch, ConstantTimeLookupFindsWhatTheSearchFinds) {
    struct Case {
        const char* kind;
        bool uniform;  // whether the constant-time lookup applies
    };
    for (const Case c : {Case{"uniform", true}, Case{"jittered", true}, Case{"stretched", false}}) {
        for (bool yFastest : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.kind << (yFastest ? ", y fastest" : ", x fastest"));
            const std::vector<float> xs = axis(-1.3f, 2.9f, 37, c.kind);
            const std::vector<float> ys = axis(0.1f, 0.7f, 21, c.kind);
            const Grid grid = makeGrid(xs, ys, yFastest);
            ASSERT_EQ(grid.isFlipped(), yFastest);
            EXPECT_EQ(grid.hasUniformX(), c.uniform);
            EXPECT_EQ(grid.hasUniformY(), c.uniform);
            int compared = 0;
            for (float x : probes(xs)) {
                for (float y : probes(ys)) {
                    const Vec3 p(x, y, 0.0f);
                    std::array<int, 4> fastCorners{};
                    std::array<int, 4> searchCorners{};
                    std::array<float, 4> fastWeights{};
                    std::array<float, 4> searchWeights{};
                    const bool fast = grid.locateCell(p, fastCorners, fastWeights, Grid::Search::Auto);
                    const bool searched = grid.locateCell(p, searchCorners, searchWeights, Grid::Search::Binary);
                    ASSERT_EQ(fast, searched) << x << ", " << y;
                    if (fast) {
                        ASSERT_EQ(fastCorners, searchCorners) << x << ", " << y;
                        ASSERT_EQ(fastWeights, searchWeights) << x << ", " << y;
                    }
                    ASSERT_EQ(grid.nearestNode(p, Grid::Search::Auto), grid.nearestNode(p, Grid::Search::Binary))
                        << x << ", " << y;
                    ++compared;
                }
            }
            EXPECT_GT(compared, 10000);
        }
    }

    // A grid whose rows do not share their x coordinates is searched.
    std::vector<Vec3> nodes = rectilinearNodes(axis(0.0f, 1.0f, 5, "uniform"), axis(0.0f, 1.0f, 5, "uniform"), false);
    nodes[7].x += 0.01f;
    Grid sheared;
    ASSERT_TRUE(sheared.setNodes(5, 5, nodes));
    EXPECT_FALSE(sheared.hasUniformX());
    EXPECT_FALSE(sheared.hasUniformY());
}

TEST(ChannelSampling, UniformGridWorkedExamplesInBothOrders) {
    for (bool yFastest : {false, true}) {
        SCOPED_TRACE(yFastest ? "stored y fastest" : "stored x fastest");
        SampledGrid sampled(kThree, kThree, yFastest, xPlusTenY);
        const Channel& c = sampled.channel;
        CaptureStderr();
        EXPECT_EQ(c.sampleAt(Vec3(0.5f, 1.5f, 0.0f)), 15.5f);
        EXPECT_EQ(c.sampleNormalized(0.25f, 0.75f), 15.5f);
        EXPECT_EQ(c.sampleNormalized(Vec3(0.25f, 0.75f, 0.0f)), 15.5f);
        EXPECT_EQ(c.sampleAt(Vec3(1.0f, 2.0f, 0.0f)), 21.0f);  // a node
        EXPECT_EQ(c.sampleAt(Vec3(2.0f, 2.0f, 0.0f)), 22.0f);  // top-right corner
        EXPECT_EQ(c.sampleAt(Vec3(0.0f, 0.0f, 0.0f)), 0.0f);   // bottom-left corner
        EXPECT_EQ(c.sampleAt(Vec3(2.0f, 1.0f, 0.0f)), 12.0f);  // on the right edge
        EXPECT_EQ(c.sampleAt(Vec3(1.3f, 0.7f, 0.0f)), 8.3f);
        EXPECT_EQ(GetCapturedStderr(), "");
    }
}

TEST(ChannelSampling, GridLinesUseOnlyTheirTwoNodes) {
    SampledGrid sampled(kThree, kThree, false, xPlusTenY);
    std::array<int, 4> corners;
    std::array<float, 4> weights;

    // Vertical line x = 1: nodes below and above, corners 1 and 3 unused.
    ASSERT_TRUE(sampled.grid.locateCell(Vec3(1.0f, 0.25f, 0.0f), corners, weights));
    EXPECT_EQ(corners, (std::array<int, 4>{1, 0, 4, 0}));
    EXPECT_EQ(weights, (std::array<float, 4>{0.75f, 0.0f, 0.25f, 0.0f}));
    EXPECT_EQ(sampled.channel.sampleAt(Vec3(1.0f, 0.5f, 0.0f)), 6.0f);

    // Horizontal line y = 1: left and right nodes, corners 2 and 3 unused.
    ASSERT_TRUE(sampled.grid.locateCell(Vec3(1.75f, 1.0f, 0.0f), corners, weights));
    EXPECT_EQ(corners, (std::array<int, 4>{4, 5, 0, 0}));
    EXPECT_EQ(weights, (std::array<float, 4>{0.25f, 0.75f, 0.0f, 0.0f}));
    EXPECT_EQ(sampled.channel.sampleAt(Vec3(0.5f, 1.0f, 0.0f)), 10.5f);

    // On a node: all weight on it.
    ASSERT_TRUE(sampled.grid.locateCell(Vec3(2.0f, 1.0f, 0.0f), corners, weights));
    EXPECT_EQ(corners, (std::array<int, 4>{5, 0, 0, 0}));
    EXPECT_EQ(weights, (std::array<float, 4>{1.0f, 0.0f, 0.0f, 0.0f}));

    // Below-left of the nearest node picks the cell below-left of it.
    ASSERT_TRUE(sampled.grid.locateCell(Vec3(0.9f, 1.8f, 0.0f), corners, weights));
    EXPECT_EQ(corners, (std::array<int, 4>{3, 4, 6, 7}));
}

TEST(ChannelSampling, OutsideTheBoxReportsAndYieldsZero) {
    SampledGrid sampled(kThree, kThree, false, xPlusTenY);
    const Vec3 outside[] = {Vec3(2.001f, 1.0f, 0.0f), Vec3(-0.001f, 1.0f, 0.0f), Vec3(1.0f, 2.5f, 0.0f),
                            Vec3(1.0f, -3.0f, 0.0f)};
    for (const Vec3& p : outside) {
        CaptureStderr();
        EXPECT_EQ(sampled.channel.sampleAt(p), 0.0f);
        EXPECT_EQ(GetCapturedStderr(), "Outside of the dataset\n");
    }
    // NaN is nowhere inside the grid (it would defeat the "<" tests).
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::array<int, 4> corners;
    std::array<float, 4> weights;
    EXPECT_FALSE(sampled.grid.locateCell(Vec3(nan, 1.0f, 0.0f), corners, weights));
    EXPECT_FALSE(sampled.grid.locateCell(Vec3(1.0f, nan, 0.0f), corners, weights));
    // A search started outside must still end (it is clamped to the grid).
    EXPECT_EQ(sampled.grid.nearestNode(Vec3(7.0f, 9.0f, 0.0f)), 8);
    EXPECT_EQ(sampled.grid.nearestNode(Vec3(-7.0f, -9.0f, 0.0f)), 0);
}

TEST(ChannelSampling, RightAndTopEdgesSurviveRounding) {
    // extent + min rounds above max for a box 0.1 .. 0.7: u = v = 1 must
    // still sample the edge nodes instead of falling outside.
    SampledGrid sampled({0.1f, 0.7f}, {0.1f, 0.7f}, false, [](float x, float y) { return x + y; });
    ASSERT_GT(0.6f + 0.1f, 0.7f);
    CaptureStderr();
    EXPECT_EQ(sampled.channel.sampleNormalized(1.0f, 1.0f), 0.7f + 0.7f);
    EXPECT_EQ(sampled.channel.sampleNormalized(1.0f, 0.0f), 0.7f + 0.1f);
    EXPECT_EQ(GetCapturedStderr(), "");
}

TEST(ChannelSampling, CoincidentCornersGiveTheFirstCornerNotNaN) {
    // A grid outside the rectilinear assumption whose located cell has two
    // corners at the sample's x and y: the zero denominators give all the
    // weight to corner 0.
    const std::vector<Vec3> nodes = {{0, 0, 0}, {1, 1, 0},    {0.5f, 1, 0}, {1.5f, 0.5f, 0}, {0, 0.5f, 0},
                                     {1, 1, 0}, {0.5f, 2, 0}, {2, 1.5f, 0}, {2, 0.5f, 0}};
    Grid grid;
    ASSERT_TRUE(grid.setNodes(3, 3, nodes));
    std::array<int, 4> corners;
    std::array<float, 4> weights;
    ASSERT_TRUE(grid.locateCell(Vec3(1.5f, 0.5f, 0.0f), corners, weights));
    EXPECT_EQ(weights, (std::array<float, 4>{1.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(grid.nodeX(corners[0]), 1.5f);
    EXPECT_EQ(grid.nodeY(corners[0]), 0.5f);
}

namespace {

GridHeader::Bytes headerBytes(const std::string& text) {
    GridHeader::Bytes bytes;
    bytes.fill(' ');
    std::copy(text.begin(), text.end(), bytes.begin());
    return bytes;
}

struct ReadResult {
    bool ok;
    std::string out;
    std::string err;
};

ReadResult readGrid(Grid& grid, const std::string& header, const std::string& body, bool swap = false) {
    std::istringstream file(body);
    testing::internal::CaptureStdout();
    CaptureStderr();
    const bool ok = grid.read(headerBytes(header), file, swap);
    ReadResult r{ok, testing::internal::GetCapturedStdout(), GetCapturedStderr()};
    return r;
}

}  // namespace

TEST(GridRead, RecordsBoundariesAndItsOwnGuards) {
    // Nodes (0.5, -1), (1.5, -1), (0.5, 2), (1.5, 2): 48 bytes after the header.
    const std::string records = DatasetWriter({0.5f, 1.5f}, {-1.0f, 2.0f}).gridBytes().substr(GridHeader::size);
    Grid grid;
    ReadResult r = readGrid(grid, "SN4DB 2 2 1", records + "trailing");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.out, "Dimensions: 2 x 2 x 1\nX Boundaries: 0.5 ... 1.5\nY Boundaries: -1 ... 2\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(grid.cellHeight(), 3.0f);

    r = readGrid(grid, "SN4DB 2 2 1", records.substr(0, 47));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.err, "+ Error reading grid file.\n\n");

    r = readGrid(grid, "SN4DB 1 4 1", records);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.out, "Dimensions: 1 x 4 x 1\n");
    EXPECT_EQ(r.err, "+ Error reading grid file: fewer than 2 nodes along x or y.\n\n");

    r = readGrid(grid, "SN4DB 70000 70000 1", records);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.err, "+ Error reading grid file: too many nodes.\n\n");

    r = readGrid(grid, "SN4DB 2", records);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "+ Error reading grid file: header has 1 of its 3 numbers.\n\n");
    EXPECT_EQ(grid.nodeCount(), 0);  // nothing of the earlier read is left
}
