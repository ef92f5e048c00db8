// A dataset stored with y varying fastest shows the same picture as the same
// dataset stored with x fastest: the field quad's aspect, the streamlines and
// the arrows follow the node counts along x and y, not the storage order.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Columns and rows of the image that are not black: the field quad's extent.
struct Extent {
    int left = -1, right = -1, top = -1, bottom = -1;
};

Extent litExtent(const Image& image) {
    Extent e;
    for (int y = 60; y < image.height; ++y)       // below the status line
        for (int x = 60; x < image.width; ++x) {  // right of the legend bar
            const std::uint8_t* p = image.at(x, y);
            if (p[0] + p[1] + p[2] < 30) continue;
            if (e.left < 0 || x < e.left) e.left = x;
            if (x > e.right) e.right = x;
            if (e.top < 0 || y < e.top) e.top = y;
            if (y > e.bottom) e.bottom = y;
        }
    return e;
}

Image shoot(const std::string& dir, const std::string& grid, const std::string& name) {
    const RunResult r =
        run(programPath("quillmere"),
            {"-datafile", grid, "-showStreamlines", "1", "-showArrowPlot", "1", "-screenshot", name}, dir);
    EXPECT_EQ(r.code, 0) << r.err;
    return loadPng(dir + "/" + name);
}

}  // namespace

TEST(ViewerFlipped, FlippedStorageShowsTheSamePicture) {
    ASSERT_TRUE(Xvfb::shared().ok());
    TempDir dir;
    prepareViewerDir(dir.path());
    // A wide grid: 65 nodes along x, 33 along y, over an 8 x 4 box.
    const std::vector<std::string> field = {"--field", "gyre", "--nx", "65",   "--ny", "33",   "--x0",
                                            "0",       "--x1", "8",    "--y0", "0",    "--y1", "4"};
    std::vector<std::string> flippedField = field;
    flippedField.push_back("--flipped");
    const Image normal = shoot(dir.path(), generateDataset(dir.path(), "normal", field), "normal.png");
    const Image flipped = shoot(dir.path(), generateDataset(dir.path(), "flipped", flippedField), "flipped.png");
    ASSERT_TRUE(normal.ok());
    ASSERT_TRUE(flipped.ok());

    const Extent a = litExtent(normal);
    const Extent b = litExtent(flipped);
    ASSERT_GT(a.right - a.left, 1.8 * (a.bottom - a.top));  // wide, as the box and the node counts are
    EXPECT_NEAR(b.left, a.left, 2);
    EXPECT_NEAR(b.right, a.right, 2);
    EXPECT_NEAR(b.top, a.top, 2);
    EXPECT_NEAR(b.bottom, a.bottom, 2);

    // The field, the lines and the arrows agree pixel by pixel, but for the
    // texture's other resolution along each axis: at most 2 % of the pixels
    // differ by more than 24 levels.
    int differing = 0;
    for (int y = 0; y < normal.height; ++y)
        for (int x = 0; x < normal.width; ++x) {
            const std::uint8_t* p = normal.at(x, y);
            const std::uint8_t* q = flipped.at(x, y);
            if (std::abs(p[0] - q[0]) > 24 || std::abs(p[1] - q[1]) > 24 || std::abs(p[2] - q[2]) > 24) ++differing;
        }
    EXPECT_LT(differing, normal.width * normal.height / 50);
}
