// Pictures for a report, read from the viewer's screenshots under Xvfb: the
// legend with values, the axes, colour maps on the command line, screenshots
// at N times the window's size and smooth lines in the window and in
// screenshots alike.
//
// The dataset is a rigid rotation on [0, 2] x [0, 1] with a node at the
// centre: speeds from exactly 0 there to 1 in the corners. In the initial
// window the graphics area is 784 x 700 and the background's legend bar
// spans columns 7 to 26 and, top down, rows 70 to 219 (GL rows 629 to 480).

#include "panel/PanelWindow.h"
#include "support/PanelDriver.h"
#include "support/Process.h"
#include "support/ScreenGrab.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kAreaWidth = 1024 - PanelWindow::defaultWidth;
const int kAreaHeight = 700;
// The legend bar: its columns, and the image row of a fraction of its range.
const int kBarLeft = 7;
const int kBarRight = 27;
int barRow(double fraction) { return static_cast<int>(std::lround(219.5 - fraction * 150.0)); }

// Near-white pixels in the box [x0, x1) x [y0, y1): text, ticks, frame.
int white(const Image& image, int x0, int y0, int x1, int y1) { return image.count(x0, y0, x1, y1, 245, 245, 245, 10); }

// Columns where runs of white pixels start along row y.
std::vector<int> whiteRuns(const Image& image, int y) {
    std::vector<int> starts;
    for (int x = 0; x < image.width; ++x)
        if (white(image, x, y, x + 1, y + 1) == 1 && (x == 0 || white(image, x - 1, y, x, y + 1) == 0))
            starts.push_back(x);
    return starts;
}

bool coloured(const Image& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 30;
}

void expectColour(const Image& image, int x, int y, int r, int g, int b, int tol) {
    const std::uint8_t* p = image.at(x, y);
    EXPECT_NEAR(p[0], r, tol) << "red at " << x << ", " << y;
    EXPECT_NEAR(p[1], g, tol) << "green at " << x << ", " << y;
    EXPECT_NEAR(p[2], b, tol) << "blue at " << x << ", " << y;
}

class ViewerFigure : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
        grid = generateDataset(
            dir.path(), "rot",
            {"--field", "rotation", "--nx", "33", "--ny", "17", "--x0", "0", "--x1", "2", "--y0", "0", "--y1", "1"});
    }

    RunResult run(std::vector<std::string> settings, const std::string& picture) {
        std::vector<std::string> args = {"-datafile", grid};
        args.insert(args.end(), settings.begin(), settings.end());
        args.insert(args.end(), {"-screenshot", picture});
        fs::remove(dir.file(picture));
        return ::run(programPath("quillmere"), args, dir.path(), 120.0);
    }

    // A batch run that must succeed quietly; its picture.
    Image shoot(const std::vector<std::string>& settings, const std::string& picture = "shot.png") {
        const RunResult r = run(settings, picture);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return loadPng(dir.file(picture));
    }

    TempDir dir;
    std::string grid;
};

TEST_F(ViewerFigure, TheLegendNamesItsQuantityAndShowsItsValuesAtTheirPlaces) {
    const Image image = shoot({"-colormap", "velocity=viridis", "-legendValues", "1"});
    ASSERT_EQ(image.width, kAreaWidth);
    ASSERT_EQ(image.height, kAreaHeight);
    // The bar runs through viridis: published colours at a third and two thirds.
    expectColour(image, 17, barRow(1.0 / 3.0), 0x31, 0x68, 0x8E, 8);
    expectColour(image, 17, barRow(2.0 / 3.0), 0x35, 0xB7, 0x79, 8);
    // "0.00", "0.25", "0.50", "0.75", "1.00" beside tick marks at their values,
    // nothing in between; "Speed" above the bar.
    for (double f : {0.0, 0.25, 0.5, 0.75, 1.0}) {
        EXPECT_GT(white(image, kBarRight + 7, barRow(f) - 6, kBarRight + 40, barRow(f) + 6), 15) << "label at " << f;
        EXPECT_GT(white(image, kBarRight, barRow(f) - 1, kBarRight + 4, barRow(f) + 2), 2) << "tick at " << f;
    }
    for (double f : {0.125, 0.375, 0.625, 0.875})
        EXPECT_EQ(white(image, kBarRight, barRow(f) - 5, kBarRight + 40, barRow(f) + 5), 0) << "between at " << f;
    EXPECT_GT(white(image, kBarLeft, 45, kBarLeft + 40, 63), 20);
}

TEST_F(ViewerFigure, AxesTickRoundDataValuesAroundTheFieldAndFollowTheZoom) {
    const Image image = shoot({"-colormap", "velocity=viridis", "-showAxes", "1"});
    ASSERT_TRUE(image.ok());
    // The field's pixels (coloured, unlike the white frame and labels).
    int left = -1, right = -1, bottom = -1;
    for (int x = 0; x < image.width; ++x)
        if (coloured(image, x, kAreaHeight / 2)) {
            if (left < 0) left = x;
            right = x;
        }
    for (int y = 0; y < image.height; ++y)
        if (coloured(image, (left + right) / 2, y)) bottom = y;
    ASSERT_GT(right - left, 400);
    // A frame a pixel away from the field; ticks below it every 0.2 from 0
    // to 2, each with a label under it.
    EXPECT_EQ(white(image, left - 2, kAreaHeight / 2, left, kAreaHeight / 2 + 1), 1);
    EXPECT_EQ(white(image, right + 1, kAreaHeight / 2, right + 3, kAreaHeight / 2 + 1), 1);
    EXPECT_EQ(white(image, left, bottom + 2, right + 1, bottom + 3), right + 1 - left);
    const std::vector<int> ticks = whiteRuns(image, bottom + 5);
    ASSERT_EQ(ticks.size(), 11u);
    for (int k = 0; k <= 10; ++k) {
        EXPECT_NEAR(ticks[k], left + k / 10.0 * (right + 1 - left), 1.0) << "tick " << k;
        EXPECT_GT(white(image, ticks[k] - 12, bottom + 10, ticks[k] + 12, bottom + 23), 10) << "label " << k;
    }

    // Zoomed in (zoom -0.35): the frame spans the view, which shows x from
    // about 0.48 to 1.67; ticks every 0.2 from 0.6 to 1.6, as far apart as
    // 0.2 is there. The base view's half-height follows from the quad's 1.3
    // view units across the field's pixels.
    std::string options = readFile(std::string(QM_SOURCE_DIR) + "/tests/golden/options_default.xml");
    options.replace(options.find("<zoom>0</zoom>"), 14, "<zoom>-0.35</zoom>");
    std::ofstream(dir.file("zoomed.xml"), std::ios::binary) << options;
    const Image zoomed = shoot({"-options", "zoomed.xml", "-showAxes", "1"}, "zoomed.png");
    int frame = -1;
    for (int y = 0; y < zoomed.height; ++y)
        if (white(zoomed, 0, y, zoomed.width, y + 1) > 600) frame = y;
    const std::vector<int> zoomedTicks = whiteRuns(zoomed, frame + 3);
    ASSERT_EQ(zoomedTicks.size(), 6u);
    const double quad = right + 1 - left;
    const double base = 1.3 * kAreaHeight / (2.0 * quad);
    const double step = 0.2 * quad / 2.0 * base / (base - 0.35);
    for (std::size_t k = 1; k < zoomedTicks.size(); ++k)
        EXPECT_NEAR(zoomedTicks[k] - zoomedTicks[k - 1], step, 1.5) << "tick " << k;
}

// A picture three times the window's size, averaged over blocks of 3 x 3
// pixels, matches the window-sized one: the mean difference of a channel is
// at most 2.5 levels of 255, and at most 1.5 % of the pixels differ by more
// than 64 in a channel. Text is drawn in another font and the edges of
// lines, arrows and text fall on finer pixels, so single pixels differ (here
// 1.7 levels and 0.7 %); a legend bar left at its window-sized place, or
// lines or text not scaled, break the bounds.
TEST_F(ViewerFigure, AScaledScreenshotIsNTimesAsLargeAndShowsTheSamePictureSharper) {
    const std::vector<std::string> figure = {"-colormap",
                                             "velocity=magma",
                                             "-legendValues",
                                             "1",
                                             "-showAxes",
                                             "1",
                                             "-showStreamlines",
                                             "1",
                                             "-dsep",
                                             "0.1",
                                             "-dtest",
                                             "0.05",
                                             "-lineColor",
                                             "1",
                                             "-lineWidth",
                                             "2",
                                             "-smoothLines",
                                             "1",
                                             "-showArrowPlot",
                                             "1",
                                             "-applyArrowTf",
                                             "1"};
    const Image normal = shoot(figure, "normal.png");
    std::vector<std::string> scaled = figure;
    scaled.insert(scaled.end(), {"-screenshotScale", "3"});
    const Image large = shoot(scaled, "large.png");
    ASSERT_EQ(large.width, 3 * kAreaWidth);
    ASSERT_EQ(large.height, 3 * kAreaHeight);
    double sum = 0;
    int far = 0;
    for (int y = 0; y < kAreaHeight; ++y)
        for (int x = 0; x < kAreaWidth; ++x) {
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                int block = 0;
                for (int dy = 0; dy < 3; ++dy)
                    for (int dx = 0; dx < 3; ++dx) block += large.at(3 * x + dx, 3 * y + dy)[c];
                const int difference = std::abs((block + 4) / 9 - normal.at(x, y)[c]);
                sum += difference;
                worst = std::max(worst, difference);
            }
            if (worst > 64) ++far;
        }
    const double pixels = static_cast<double>(kAreaWidth) * kAreaHeight;
    EXPECT_LE(sum / (3 * pixels), 2.5);
    EXPECT_LE(far, pixels * 0.015);
}

// Tapered white bands across a uniform flow at 30 degrees, on the purple
// that viridis gives a field of one speed: with "Smooth lines" their edges
// blend into the field, without it every pixel is one colour or the other;
// the window shows exactly the picture a screenshot saves.
TEST_F(ViewerFigure, SmoothEdgesLookTheSameInTheWindowAsInTheScreenshot) {
    grid = generateDataset(dir.path(), "uniform",
                           {"--field", "uniform", "--angle", "30", "--nx", "33", "--ny", "17", "--x0", "0", "--x1", "2",
                            "--y0", "0", "--y1", "1", "--channels", "0"});
    const std::vector<std::string> bands = {
        "-colormap", "velocity=viridis", "-showStreamlines", "1", "-streamlineMode", "2", "-statusLine", "0"};
    // Pixels of the field that are neither the bands' white nor the field's purple.
    auto blended = [](const Image& image) {
        const int all = (680 - 100) * (480 - 220);
        return all - image.count(100, 220, 680, 480, 255, 255, 255, 3) - image.count(100, 220, 680, 480, 68, 1, 84, 3);
    };
    EXPECT_EQ(blended(shoot(bands)), 0);

    std::vector<std::string> smooth = {"-datafile", grid, "-smoothLines", "1"};
    smooth.insert(smooth.end(), bands.begin(), bands.end());
    panel_e2e::PanelViewer v(dir.path(), smooth);
    ASSERT_TRUE(v.ok()) << v.err();
    const Image screen = grabScreen();
    const Image picture = v.keyScreenshot(dir.path(), 400, 600);
    ASSERT_EQ(picture.width, kAreaWidth);
    ASSERT_EQ(picture.height, kAreaHeight);
    EXPECT_GT(blended(picture), 1000);
    // Without a window manager the window's top row lies just off the screen.
    int differing = 0;
    for (int y = std::max(0, -v.originY()); y < kAreaHeight; ++y)
        for (int x = 0; x < kAreaWidth; ++x)
            if (!std::equal(picture.at(x, y), picture.at(x, y) + 3,
                            screen.at(v.originX() + panel_e2e::PanelViewer::panelWidth + x, v.originY() + y)))
                ++differing;
    EXPECT_EQ(differing, 0);
}

TEST_F(ViewerFigure, ColourMapsTheRunCannotGiveAreNamedAndFailIt) {
    const RunResult r = run(
        {"-colormap", "velocity", "-colormap", "3=viridis", "-colormap", "arrow=jet", "-colormap", "1=cool-warm-zero"},
        "maps.png");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "Ignoring -colormap 'velocity': give TF=NAME, TF being velocity, arrow or a data channel's number\n"
              "Ignoring -colormap '3=viridis': the dataset has no transfer function '3' (velocity, arrow or 1 to 2)\n"
              "Ignoring -colormap 'arrow=jet': the colour maps are grey, viridis, magma, cividis, cool-warm, "
              "cool-warm-zero, cubehelix\n");
    EXPECT_TRUE(fs::exists(dir.file("maps.png")));
}

// A window 3000 pixels wide at scale 8 asks for a picture wider than the GL
// draws: the screenshot says so and writes nothing.
TEST_F(ViewerFigure, APictureTooLargeForTheGlIsRefusedWithItsReason) {
    panel_e2e::PanelViewer v(dir.path(), {"-datafile", grid, "-screenshotScale", "8"});
    ASSERT_TRUE(v.ok()) << v.err();
    ASSERT_TRUE(v.resize(3000, 700));
    const std::string why = "a picture of 22080 x 5600 pixels is larger than the GL draws (16384 x 16384)";
    v.key("s", 400, 600);
    ASSERT_TRUE(v.waitMap([&](const panel_e2e::PanelMap& m) {
        return m.messages() == std::vector<std::string>{"error: Screenshot not saved: " + why};
    }));
    EXPECT_EQ(v.err(), "Unable to draw the screenshot: " + why + "\n");
    EXPECT_FALSE(fs::exists(dir.file("Quillmere0000.png")));
    EXPECT_TRUE(v.process().running());
}

}  // namespace

// With "Screenshot with panel" the picture is the window as it shows, at
// the size -geometry gave it: the panel's columns in front of the graphics
// area's.
TEST_F(ViewerFigure, AScreenshotWithThePanelIsTheWholeWindowAsShown) {
    panel_e2e::PanelViewer v(dir.path(), {"-datafile", grid, "-screenshotPanel", "1", "-showStreamlines", "1",
                                          "-geometry", "700x450"});
    ASSERT_TRUE(v.ok()) << v.err();
    const Image screen = grabScreen();
    const Image shot = v.keyScreenshot(dir.path(), PanelWindow::defaultWidth + 300, 300);
    ASSERT_EQ(shot.width, 700);
    ASSERT_EQ(shot.height, 450);
    // On the screen the window's first row and column are its border's.
    int differing = 0;
    for (int y = 1; y < shot.height; ++y)
        for (int x = 1; x < shot.width; ++x) {
            const std::uint8_t* a = shot.at(x, y);
            const std::uint8_t* b = screen.at(v.originX() + x, v.originY() + y);
            differing += std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])}) > 2;
        }
    EXPECT_LT(differing, shot.width * shot.height / 1000);
    // The panel's dark background and a ticked checkbox's blue are there.
    EXPECT_GT(shot.count(0, 0, PanelWindow::defaultWidth, shot.height, 0x0F, 0x0F, 0x0F, 12), 20000);
}
