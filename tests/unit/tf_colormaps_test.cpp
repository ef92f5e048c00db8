// Colour maps as transfer-function points: the grey ramp is the start, a
// diverging map centred on zero puts its middle at the channel's 0, and the
// points keep the editor's spacing. (Their colours against the published
// tables: tests/gl/tf_texture_test.cpp.)
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"
#include "tf/ColorMaps.h"
#include "tf/TransferFunction.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

struct Point {
    float position;
    std::array<int, 3> color;
};

std::vector<Point> pointsOf(const TransferFunction& tf) {
    std::vector<Point> points;
    for (const TfPoint* p = tf.points().first(); p; p = p->next.get())
        points.push_back({p->position, {p->color.redByte, p->color.greenByte, p->color.blueByte}});
    return points;
}

TEST(ColorMaps, ADivergingMapCentredOnZeroGivesTheChannelsZeroItsMiddleColour) {
    // Data channel 1 is x - 1 on x = 0 .. 4: from -1 to 3, reaching 3 either
    // side of 0, so the strip shows the map from 1/3 to its end.
    const TempDir dir;
    const std::string grid = DatasetWriter({0.0f, 1.0f, 2.0f, 3.0f, 4.0f}, {0.0f, 1.0f})
                                 .dataChannels(1)
                                 .data([](int, float x, float) { return x - 1.0f; })
                                 .write(dir.file("ramp"));
    FlowData data(nullptr);
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    ASSERT_TRUE(data.load(grid, false));
    TransferFunction tf(2.5f, 0.1f, 4.0f, 0.12f, 320, nullptr, nullptr, 0.065f, 1, false, &data, 3);

    applyColorMap(tf, *findColorMap("cool-warm-zero"));
    std::vector<Point> points = pointsOf(tf);
    ASSERT_EQ(points.size(), 22u);  // both ends and the stops from 12/32 to 31/32
    EXPECT_EQ(points.front().position, 0.0f);
    EXPECT_EQ(points.front().color, (std::array<int, 3>{170, 199, 254}));  // the map at 1/3
    EXPECT_EQ(points.back().position, 4.0f);
    EXPECT_EQ(points.back().color, (std::array<int, 3>{180, 4, 38}));
    EXPECT_NEAR(points[5].position, 1.0f, 1e-5f);  // the value 0
    EXPECT_EQ(points[5].color, (std::array<int, 3>{221, 221, 221}));
    for (std::size_t k = 1; k < points.size(); ++k)
        EXPECT_GE(points[k].position - points[k - 1].position, tf.pointWidth) << "point " << k;

    // Over the whole range the middle colour sits in the middle, and grey
    // gives back the two points a transfer function starts with.
    applyColorMap(tf, *findColorMap("cool-warm"));
    points = pointsOf(tf);
    ASSERT_EQ(points.size(), 33u);
    EXPECT_EQ(points[16].position, 2.0f);
    EXPECT_EQ(points[16].color, (std::array<int, 3>{221, 221, 221}));
    applyColorMap(tf, *findColorMap("grey"));
    const TransferFunction fresh(2.5f, 0.1f, 4.0f, 0.12f, 320, nullptr, nullptr, 0.065f, 1, false, &data, 3);
    points = pointsOf(tf);
    const std::vector<Point> start = pointsOf(fresh);
    ASSERT_EQ(points.size(), start.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_EQ(points[k].position, start[k].position);
        EXPECT_EQ(points[k].color, start[k].color);
    }
    EXPECT_EQ(tf.colorTable, fresh.colorTable);
}

}  // namespace
