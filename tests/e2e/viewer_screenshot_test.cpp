// What the viewer draws, read from its -screenshot images under Xvfb: the
// size of the graphics area, the field through the default grey ramp, the
// legend bars, the arrow plot, the streamlines in each drawing mode and the
// transfer-function editor strip.
//
// Geometry of the initial window: the graphics area is 1024 minus the panel
// wide and 700 high; the field view shows 1.4 view units over its height
// (base half-height 0.7), and the field quad's longer side is 1.3 view units.
// So one view unit is 500 pixels, and a square grid's quad spans 650 pixels
// around the centre of the image.
// Tolerances: a pixel's level is its brightest channel (0..255). Levels are
// compared within 6 where the transfer function maps a known speed (texture
// filtering and the 4096-entry table each lose about one level); positions
// within 2 pixels (line smoothing spreads a line over two rows).

#include "data/DatasetWriter.h"
#include "panel/PanelWindow.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kAreaWidth = 1024 - PanelWindow::defaultWidth;
const int kAreaHeight = 700;
const double kPixelsPerUnit = kAreaHeight / 1.4;

// Window position of a point of the view (view units, y up); the result is
// a pixel-edge coordinate: pixel column floor(px) contains it.
double px(double viewX) { return kAreaWidth / 2.0 + viewX * kPixelsPerUnit; }
double py(double viewY) { return kAreaHeight / 2.0 - viewY * kPixelsPerUnit; }

int level(const Image& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return std::max({p[0], p[1], p[2]});
}

bool isGrey(const Image& image, int x, int y, int tol) {
    const std::uint8_t* p = image.at(x, y);
    return std::abs(p[0] - p[1]) <= tol && std::abs(p[1] - p[2]) <= tol;
}

bool isOrange(const Image& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return p[0] >= 200 && std::abs(p[1] - 153) <= 35 && p[2] <= 60 && p[1] < p[0] && p[2] < p[1];
}

// A run of lit pixels down one column: its rows, summed level and
// level-weighted centre (a pixel-edge coordinate like py()).
struct LitRun {
    int first = 0;
    int last = 0;
    long sum = 0;
    double centre = 0;
    int height() const { return last - first + 1; }
};

std::vector<LitRun> runsDownColumn(const Image& image, int x, int y0, int y1, int threshold) {
    std::vector<LitRun> runs;
    bool open = false;
    double weighted = 0;
    for (int y = y0; y <= y1; ++y) {
        const int v = level(image, x, y);
        if (v > threshold) {
            if (!open) {
                runs.push_back(LitRun{y, y, 0, 0});
                weighted = 0;
                open = true;
            }
            runs.back().last = y;
            runs.back().sum += v;
            weighted += v * (y + 0.5);
            runs.back().centre = weighted / runs.back().sum;
        } else {
            open = false;
        }
    }
    return runs;
}

// Summed level of the rows y0..y1 of each column x0..x1.
std::vector<long> columnSums(const Image& image, int x0, int x1, int y0, int y1) {
    std::vector<long> sums;
    for (int x = x0; x <= x1; ++x) {
        long s = 0;
        for (int y = y0; y <= y1; ++y) s += level(image, x, y);
        sums.push_back(s);
    }
    return sums;
}

class ViewerScreenshot : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
    }

    // Runs the viewer on `grid` with the settings and returns its screenshot.
    Image shoot(const std::string& grid, std::vector<std::string> settings) {
        std::vector<std::string> args = {"-datafile", grid};
        args.insert(args.end(), settings.begin(), settings.end());
        args.push_back("-screenshot");
        args.push_back("shot.png");
        fs::remove(dir.file("shot.png"));
        const RunResult r = run(programPath("quillmere"), args, dir.path(), 120.0);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err.find("OpenGL Error"), std::string::npos) << r.err;
        const Image image = loadPng(dir.file("shot.png"));
        EXPECT_EQ(image.width, kAreaWidth);
        EXPECT_EQ(image.height, kAreaHeight);
        return image;
    }

    std::string flowgen(const std::string& name, const std::vector<std::string>& args) {
        return generateDataset(dir.path(), name, args);
    }

    // Uniform flow on [-1, 1]^2, 33 x 33 nodes: constant speed, so the field
    // is black (the speed range is 0) and lines and arrows stand out.
    std::string uniform(const std::string& name, const std::string& angle) {
        return flowgen(name, {"--field", "uniform", "--nx", "33", "--ny", "33", "--angle", angle, "--channels", "0"});
    }

    TempDir dir;
};

TEST_F(ViewerScreenshot, TheImageIsTheGraphicsAreaWithTheFieldInItsMiddle) {
    const Image image = shoot(flowgen("rot", {"--field", "rotation", "--nx", "33", "--ny", "33"}), {});
    ASSERT_TRUE(image.ok());

    // The quad's edges, found where the field is lit, lie 325 pixels either
    // side of the centre of the image: the image holds the graphics area
    // only, with the view centred in it.
    const int midRow = kAreaHeight / 2;
    const int midColumn = kAreaWidth / 2;
    int left = -1, right = -1, top = -1, bottom = -1;
    for (int x = 0; x < image.width; ++x)
        if (level(image, x, midRow) > 40) {
            if (left < 0) left = x;
            right = x;
        }
    for (int y = 0; y < image.height; ++y)
        if (level(image, midColumn, y) > 40) {
            if (top < 0) top = y;
            bottom = y;
        }
    EXPECT_NEAR(left, px(-0.65), 2);
    EXPECT_NEAR(right + 1, px(0.65), 2);
    EXPECT_NEAR(top, py(0.65), 2);
    EXPECT_NEAR(bottom + 1, py(-0.65), 2);

    // No panel: the columns left of the legend bar are black.
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(level(image, x, y), 0) << x << ", " << y;
}

TEST_F(ViewerScreenshot, TheDefaultGreyRampGoesFromBlackAtTheSlowestToWhiteAtTheFastest) {
    // Rigid rotation: speed |r|, zero at the centre, largest in the corners.
    const Image image = shoot(flowgen("rot", {"--field", "rotation", "--nx", "33", "--ny", "33"}), {});
    ASSERT_TRUE(image.ok());
    const int cx = kAreaWidth / 2;
    const int cy = kAreaHeight / 2;
    for (int dy = -1; dy <= 0; ++dy)
        for (int dx = -1; dx <= 0; ++dx) EXPECT_LE(level(image, cx + dx, cy + dy), 6);
    for (int x : {static_cast<int>(px(-0.65)) + 2, static_cast<int>(px(0.65)) - 3})
        for (int y : {static_cast<int>(py(0.65)) + 2, static_cast<int>(py(-0.65)) - 3})
            EXPECT_GE(level(image, x, y), 240) << x << ", " << y;

    // Along the middle row and column the speed grows linearly from the
    // centre; the corners (sqrt 2 farther out) are the maximum.
    for (int d : {-300, -200, -100, 100, 200, 300}) {
        const double offset = std::fabs(d + 0.5) / (0.65 * kPixelsPerUnit);  // |r| in half-sides
        const double expected = 255.0 * offset / std::sqrt(2.0);
        EXPECT_NEAR(level(image, cx + d, cy), expected, 6) << "column offset " << d;
        EXPECT_NEAR(level(image, cx, cy + d), expected, 6) << "row offset " << d;
    }
    for (int y = static_cast<int>(py(0.6)); y < py(-0.6); y += 10)
        for (int x = static_cast<int>(px(-0.6)); x < px(0.6); x += 10) ASSERT_TRUE(isGrey(image, x, y, 2));
}

TEST_F(ViewerScreenshot, TheTopOfTheFieldShowsTheLargestY) {
    // Speed y + 1 along x: black at the bottom edge, white at the top.
    const std::string grid =
        DatasetWriter(DatasetWriter::evenlySpaced(-1, 1, 33), DatasetWriter::evenlySpaced(-1, 1, 33))
            .velocity([](float, float y) {
                return std::array<float, 3>{y + 1.0f, 0.0f, 0.0f};
            })
            .write(dir.file("shear"));
    const Image image = shoot(grid, {});
    ASSERT_TRUE(image.ok());
    const int cx = kAreaWidth / 2 + 100;  // clear of the status line and the legend
    for (int y = static_cast<int>(py(0.64)); y < py(-0.64); y += 25) {
        const double worldY = (kAreaHeight / 2.0 - (y + 0.5)) / (0.65 * kPixelsPerUnit);
        EXPECT_NEAR(level(image, cx, y), 255.0 * (worldY + 1.0) / 2.0, 6) << "row " << y;
    }
}

TEST_F(ViewerScreenshot, TheLegendBarShowsTheBackgroundRampAndTheArrowBarOnlyWithApplyTf) {
    const std::string grid = flowgen("rot", {"--field", "rotation", "--nx", "33", "--ny", "33"});
    // Bars 20 pixels wide from 90 % of the height down by 150 pixels; the
    // background bar at 1 % of the width, the arrow bar ending at 99 %.
    const int barTop = kAreaHeight - static_cast<int>(0.9 * kAreaHeight);
    const int barBottom = barTop + 150;
    const int backgroundColumn = kAreaWidth / 100 + 10;
    const int arrowColumn = static_cast<int>(0.99 * kAreaWidth) - 10;
    auto expectRamp = [&](const Image& image, int x) {
        EXPECT_GE(level(image, x, barTop + 2), 245);
        EXPECT_NEAR(level(image, x, (barTop + barBottom) / 2), 128, 8);
        EXPECT_LE(level(image, x, barBottom - 3), 10);
        for (int y = barTop + 1; y < barBottom - 1; ++y) {
            EXPECT_LE(level(image, x, y + 1), level(image, x, y)) << "row " << y;
            EXPECT_TRUE(isGrey(image, x, y, 2));
        }
    };

    const Image plain = shoot(grid, {"-showArrowPlot", "1"});
    ASSERT_TRUE(plain.ok());
    expectRamp(plain, backgroundColumn);
    for (int y = barTop; y < barBottom; ++y) ASSERT_EQ(level(plain, arrowColumn, y), 0) << y;

    const Image withTf = shoot(grid, {"-showArrowPlot", "1", "-applyArrowTf", "1"});
    ASSERT_TRUE(withTf.ok());
    expectRamp(withTf, backgroundColumn);
    expectRamp(withTf, arrowColumn);
}

TEST_F(ViewerScreenshot, ArrowsStandOnTheLatticeInTheirOwnColourUnlessApplyTfIsOn) {
    const Image image = shoot(uniform("uni", "0"), {"-showArrowPlot", "1", "-arrowCountX", "4", "-arrowCountY", "3",
                                                    "-arrowSizeEnabled", "0", "-arrowSize", "24"});
    ASSERT_TRUE(image.ok());
    // Columns from the left edge of the quad to its right, rows bottom to top.
    std::vector<std::pair<int, int>> lattice;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            lattice.push_back({static_cast<int>(px(-0.65 + i * 1.3 / 3)), static_cast<int>(py(-0.65 + j * 0.65))});
    int inBoxes = 0;
    for (const auto& [ax, ay] : lattice) {
        int n = 0;
        for (int y = ay - 13; y < ay + 13; ++y)
            for (int x = ax - 13; x < ax + 13; ++x)
                if (x >= 0 && x < image.width && y >= 0 && y < image.height && isOrange(image, x, y)) ++n;
        EXPECT_GT(n, 20) << "arrow at " << ax << ", " << ay;
        inBoxes += n;
    }
    int total = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) total += isOrange(image, x, y) ? 1 : 0;
    EXPECT_EQ(total, inBoxes) << "orange pixels away from the lattice";
    // A constant speed has no range and normalises to 0: between the arrows
    // the field is black.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(level(image, static_cast<int>(px(-0.65 + (i + 0.5) * 1.3 / 3)),
                            static_cast<int>(py(-0.65 + (j + 0.5) * 0.65))),
                      0);

    // Coloured by the arrow transfer function (the grey ramp) instead.
    const Image grey = shoot(flowgen("rot", {"--field", "rotation", "--nx", "33", "--ny", "33"}),
                             {"-showArrowPlot", "1", "-applyArrowTf", "1", "-arrowSizeEnabled", "0"});
    ASSERT_TRUE(grey.ok());
    int orange = 0;
    for (int y = 0; y < grey.height; ++y)
        for (int x = 0; x < grey.width; ++x) orange += isOrange(grey, x, y) ? 1 : 0;
    EXPECT_EQ(orange, 0);
}

// The arrow block at the centre of the view for a uniform flow at `angle`
// degrees (the field is black there, so only the arrow is lit).
TEST_F(ViewerScreenshot, ArrowsTurnWithTheFlow) {
    const int n = 24;
    auto centreArrow = [&](const std::string& angle) {
        const Image image =
            shoot(uniform("uni" + angle, angle), {"-showArrowPlot", "1", "-arrowCountX", "3", "-arrowCountY", "3",
                                                  "-arrowSizeEnabled", "0", "-arrowSize", std::to_string(n)});
        std::vector<int> block(n * n, 0);
        if (!image.ok()) return block;
        const int x0 = kAreaWidth / 2 - n / 2;
        const int y0 = kAreaHeight / 2 - n / 2;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) block[j * n + i] = level(image, x0 + i, y0 + j);
        return block;
    };
    const std::vector<int> east = centreArrow("0");
    const std::vector<int> north = centreArrow("90");
    const std::vector<int> west = centreArrow("180");
    ASSERT_GT(std::count_if(east.begin(), east.end(), [](int v) { return v > 100; }), 30);

    // Mean level difference to `east` turned by a quarter (counter-clockwise
    // on screen) or a half turn about the block's centre.
    auto difference = [&](const std::vector<int>& turned, int quarters) {
        long sum = 0;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                int si = i, sj = j;  // source pixel in `east`
                if (quarters == 1) {
                    si = n - 1 - j;
                    sj = i;
                } else if (quarters == 2) {
                    si = n - 1 - i;
                    sj = n - 1 - j;
                }
                sum += std::abs(turned[j * n + i] - east[sj * n + si]);
            }
        return static_cast<double>(sum) / (n * n);
    };
    EXPECT_LT(difference(north, 1), 6.0);
    EXPECT_LT(difference(west, 2), 6.0);
    // And the glyph is not symmetric, so the comparisons mean something.
    EXPECT_GT(difference(west, 0), 20.0);
}

class ViewerStreamlines : public ViewerScreenshot {
protected:
    // Evenly spaced lines of a uniform flow along x at dsep 0.2 lie at
    // y = 0, +-0.2, ...; these are the interior ones, in window rows from
    // the top.
    static std::vector<double> lineRows() {
        std::vector<double> rows;
        for (int k = 4; k >= -4; --k) rows.push_back(py(k * 0.2 * 0.65));
        return rows;
    }

    Image shootLines(const std::vector<std::string>& more) {
        std::vector<std::string> settings = {"-showStreamlines", "1", "-dsep", "0.2", "-dtest", "0.1"};
        settings.insert(settings.end(), more.begin(), more.end());
        return shoot(grid, settings);
    }

    void SetUp() override {
        ViewerScreenshot::SetUp();
        grid = uniform("uni", "0");
    }

    std::string grid;
    const int top = static_cast<int>(py(0.65));
    const int bottom = static_cast<int>(py(-0.65));
};

TEST_F(ViewerStreamlines, EvenlySpacedLinesAreHorizontalWhiteLinesAcrossTheWholeField) {
    const Image image = shootLines({"-streamlineMode", "0"});
    ASSERT_TRUE(image.ok());
    for (int x : {static_cast<int>(px(-0.5)), kAreaWidth / 2 + 7, static_cast<int>(px(0.5))}) {
        SCOPED_TRACE("column " + std::to_string(x));
        const std::vector<LitRun> runs = runsDownColumn(image, x, top + 10, bottom - 10, 20);
        const std::vector<double> rows = lineRows();
        ASSERT_EQ(runs.size(), rows.size());
        for (size_t k = 0; k < runs.size(); ++k) {
            EXPECT_NEAR(runs[k].centre, rows[k], 2.0);
            EXPECT_LE(runs[k].height(), 3);
            // A smoothed white line: its coverage adds up to about one pixel.
            EXPECT_NEAR(runs[k].sum, 255, 60);
            for (int y = runs[k].first; y <= runs[k].last; ++y) EXPECT_TRUE(isGrey(image, x, y, 2));
        }
    }
    // The line through the centre runs from the left edge of the quad to the right.
    const std::vector<long> sums = columnSums(image, 0, image.width - 1, kAreaHeight / 2 - 3, kAreaHeight / 2 + 2);
    int first = -1, last = -1;
    for (int x = 0; x < image.width; ++x)
        if (sums[x] > 120) {
            if (first < 0) first = x;
            last = x;
        }
    EXPECT_NEAR(first, px(-0.65), 2);
    EXPECT_NEAR(last + 1, px(0.65), 2);
}

TEST_F(ViewerStreamlines, NormalModeDrawsOneLinePerSeedOnTheDiagonal) {
    const Image image = shootLines({"-streamlineMode", "1", "-seedPoints", "3"});
    ASSERT_TRUE(image.ok());
    // Seeds at 1/4, 2/4 and 3/4 of the diagonal: y = -0.5, 0 and 0.5.
    const std::vector<LitRun> runs = runsDownColumn(image, kAreaWidth / 2 + 7, top + 2, bottom - 2, 20);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_NEAR(runs[0].centre, py(0.5 * 0.65), 2.0);
    EXPECT_NEAR(runs[1].centre, py(0.0), 2.0);
    EXPECT_NEAR(runs[2].centre, py(-0.5 * 0.65), 2.0);
}

TEST_F(ViewerStreamlines, TaperedBandsAreWiderThanLinesAndAsWideAsLineWidthMax) {
    // lineWidthMax 0.1 world units is 0.065 view units, 32.5 pixels; with
    // the neighbours at dsep every band has its full width.
    const Image image = shootLines({"-streamlineMode", "2", "-lineWidthMax", "0.1", "-lineWidthMin", "0.02"});
    ASSERT_TRUE(image.ok());
    // (The lines on the box edges keep only their inner half: band
    // vertices are clamped to the box like the points.)
    const std::vector<LitRun> runs = runsDownColumn(image, kAreaWidth / 2 + 7, top + 20, bottom - 20, 20);
    const std::vector<double> rows = lineRows();
    ASSERT_EQ(runs.size(), rows.size());
    for (size_t k = 0; k < runs.size(); ++k) {
        EXPECT_NEAR(runs[k].centre, rows[k], 2.0);
        EXPECT_NEAR(runs[k].height(), 0.1 * 0.65 * kPixelsPerUnit, 3.0);
        EXPECT_GE(level(image, kAreaWidth / 2 + 7, static_cast<int>(rows[k])), 250);
    }

    const Image thinner = shootLines({"-streamlineMode", "2", "-lineWidthMax", "0.04", "-lineWidthMin", "0"});
    ASSERT_TRUE(thinner.ok());
    for (const LitRun& run : runsDownColumn(thinner, kAreaWidth / 2 + 7, top + 20, bottom - 20, 20))
        EXPECT_NEAR(run.height(), 0.04 * 0.65 * kPixelsPerUnit, 3.0);
}

TEST_F(ViewerStreamlines, GlyphsAreWedgesAlongTheLinesPointingDownstream) {
    const Image image = shootLines({"-streamlineMode", "3"});
    ASSERT_TRUE(image.ok());
    // Nothing lit away from the lines.
    const std::vector<double> rows = lineRows();
    for (int y = top + 10; y < bottom - 10; ++y) {
        const bool nearLine =
            std::any_of(rows.begin(), rows.end(), [&](double r) { return std::fabs(y + 0.5 - r) < 5.0; });
        if (nearLine) continue;
        for (int x = static_cast<int>(px(-0.6)); x < px(0.6); ++x) ASSERT_LE(level(image, x, y), 20) << x << ", " << y;
    }
    // Along the middle line each glyph starts with its wide side, then
    // narrows downstream (+x) to its tip: sharp rises, each followed by a
    // slow fall.
    const int x0 = static_cast<int>(px(-0.6));
    const std::vector<long> sums =
        columnSums(image, x0, static_cast<int>(px(0.6)), kAreaHeight / 2 - 5, kAreaHeight / 2 + 4);
    const long widest = *std::max_element(sums.begin(), sums.end());
    EXPECT_GT(widest, 350) << "wedges about 2.4 pixels wide at their base";
    int rises = 0;
    for (size_t x = 1; x + 12 < sums.size(); ++x) {
        if (sums[x] - sums[x - 1] < widest / 2) continue;
        ++rises;
        EXPECT_GT(sums[x + 4], sums[x + 12]) << "column " << x0 + static_cast<int>(x);
        EXPECT_GT(sums[x + 12], sums[x - 1]) << "column " << x0 + static_cast<int>(x);
    }
    // About 0.3 world units (97 pixels) apart over 780 pixels.
    EXPECT_GE(rises, 5);
    EXPECT_LE(rises, 9);
    int falls = 0;
    for (size_t x = 1; x < sums.size(); ++x) falls += sums[x - 1] - sums[x] >= widest / 2 ? 1 : 0;
    EXPECT_EQ(falls, 0);
}

TEST_F(ViewerStreamlines, TextureModeVariesTheGreyLevelAlongEachLine) {
    const Image lines = shootLines({"-streamlineMode", "0"});
    for (const char* function : {"0", "1"}) {
        SCOPED_TRACE(std::string("textureFunction ") + function);
        const Image image = shootLines({"-streamlineMode", "4", "-textureFunction", function, "-texturePeriod", "160"});
        ASSERT_TRUE(image.ok() && lines.ok());
        const int x0 = static_cast<int>(px(-0.6));
        const int x1 = static_cast<int>(px(0.6));
        const int y0 = kAreaHeight / 2 - 3;
        const int y1 = kAreaHeight / 2 + 2;
        // Compared column by column with the plain white line.
        const std::vector<long> white = columnSums(lines, x0, x1, y0, y1);
        const std::vector<long> textured = columnSums(image, x0, x1, y0, y1);
        double darkest = 1.0, brightest = 0.0;
        for (size_t k = 0; k < white.size(); ++k) {
            ASSERT_GT(white[k], 150);
            const double g = static_cast<double>(textured[k]) / white[k];
            darkest = std::min(darkest, g);
            brightest = std::max(brightest, g);
        }
        // A period of 160 steps of 0.005 is 0.8 world units: the line spans 2.5.
        EXPECT_LT(darkest, 0.15);
        EXPECT_GT(brightest, 0.85);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) ASSERT_TRUE(isGrey(image, x, y, 2));
    }
}

TEST_F(ViewerScreenshot, StreamlinesOfAWideGridLieOnItsFieldQuad) {
    // 65 x 33 nodes over [0, 4] x [0, 1]: the quad takes the box's shape,
    // 1.3 by 0.325 view units.
    const std::string grid = flowgen("wide", {"--field", "uniform", "--nx", "65", "--ny", "33", "--x0", "0", "--x1",
                                              "4", "--y0", "0", "--y1", "1", "--channels", "0"});
    const Image image = shoot(grid, {"-showStreamlines", "1", "-dsep", "0.2", "-dtest", "0.1"});
    ASSERT_TRUE(image.ok());
    const double quadHeight = 1.3 / 4.0;
    // Lines at y = 0.1, 0.3, ..., 0.9 (the first through the centre, 0.5).
    const std::vector<LitRun> runs = runsDownColumn(image, kAreaWidth / 2 + 7, static_cast<int>(py(quadHeight / 2)) + 5,
                                                    static_cast<int>(py(-quadHeight / 2)) - 5, 20);
    ASSERT_EQ(runs.size(), 5u);
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(runs[k].centre, py((0.4 - 0.2 * k) * quadHeight), 2.0);
    const std::vector<long> sums = columnSums(image, 0, image.width - 1, kAreaHeight / 2 - 3, kAreaHeight / 2 + 2);
    int first = -1, last = -1;
    for (int x = 0; x < image.width; ++x)
        if (sums[x] > 120) {
            if (first < 0) first = x;
            last = x;
        }
    EXPECT_NEAR(first, px(-0.65), 2);
    EXPECT_NEAR(last + 1, px(0.65), 2);
}

TEST_F(ViewerScreenshot, StreamlinesLieWhereTheFieldShowsTheFlow) {
    // Flow along x above y = -0.1, rest below: the field is white above and
    // black below, and every line runs above. Texture mode draws them in
    // grey, visible on white.
    const std::string grid =
        DatasetWriter(DatasetWriter::evenlySpaced(-1, 1, 33), DatasetWriter::evenlySpaced(-1, 1, 33))
            .velocity([](float, float y) {
                return std::array<float, 3>{y > -0.1f ? 1.0f : 0.0f, 0.0f, 0.0f};
            })
            .write(dir.file("half"));
    const Image image = shoot(grid, {"-showStreamlines", "1", "-streamlineMode", "4", "-dsep", "0.2", "-dtest", "0.1"});
    ASSERT_TRUE(image.ok());
    const int x0 = static_cast<int>(px(-0.6));
    const int x1 = static_cast<int>(px(0.6));
    for (double y : {0.2, 0.4, 0.6}) {
        const int row = static_cast<int>(py(y * 0.65));
        int grey = 0;
        for (int r = row - 2; r <= row + 1; ++r)
            for (int x = x0; x < x1; ++x) grey += level(image, x, r) < 200 ? 1 : 0;
        EXPECT_GT(grey, 100) << "line at y = " << y;
    }
    int lit = 0;
    for (int y = static_cast<int>(py(-0.3 * 0.65)); y < py(-0.64); ++y)
        for (int x = x0; x < x1; ++x) lit += level(image, x, y) > 10 ? 1 : 0;
    EXPECT_EQ(lit, 0) << "streamline pixels where the field is at rest";
}

TEST_F(ViewerScreenshot, StreamlinesRiseToTheRightInAFlowRisingToTheRight) {
    // Uniform flow at 30 degrees: along a line, 30 pixels to the right is
    // 17 pixels up.
    const Image image = shoot(uniform("uni30", "30"), {"-showStreamlines", "1", "-dsep", "0.3", "-dtest", "0.15"});
    ASSERT_TRUE(image.ok());
    const int rise = static_cast<int>(std::lround(30 * std::tan(30 * 3.14159265358979 / 180)));
    auto litNear = [&](int x, int y) {
        for (int d = -2; d <= 2; ++d)
            if (level(image, x, y + d) > 60) return true;
        return false;
    };
    int pixels = 0, rising = 0, falling = 0;
    for (int y = static_cast<int>(py(0.6)); y < py(-0.6); ++y)
        for (int x = static_cast<int>(px(-0.6)); x < px(0.6) - 30; ++x) {
            if (level(image, x, y) <= 60) continue;
            ++pixels;
            rising += litNear(x + 30, y - rise) ? 1 : 0;
            falling += litNear(x + 30, y + rise) ? 1 : 0;
        }
    ASSERT_GT(pixels, 500);
    EXPECT_GT(rising, pixels * 8 / 10);
    EXPECT_LT(falling, pixels * 2 / 10);
}

TEST_F(ViewerScreenshot, ShowTfPutsTheEditorInTheBottomRows) {
    const Image image =
        shoot(flowgen("rot", {"--field", "rotation", "--nx", "33", "--ny", "33"}), {"-showTfEditor", "1"});
    ASSERT_TRUE(image.ok());
    // 700 rows: the field view takes 560, the editor 141 (grey 0.8 = 204),
    // its first and last row smoothed.
    const int editorTop = kAreaHeight - 141;
    for (int x : {2, kAreaWidth - 3}) {
        for (int y = editorTop + 1; y < kAreaHeight - 1; ++y) EXPECT_NEAR(level(image, x, y), 204, 3) << x << ", " << y;
        for (int y = 0; y < editorTop - 1; ++y) ASSERT_EQ(level(image, x, y), 0) << x << ", " << y;
    }
    // The field view above it is centred in its own 560 rows, its slowest
    // point black: the view starts at window row 141 from the bottom, so its
    // centre is 141 + 280 rows up, an edge between two image rows.
    const int centre = kAreaHeight - (kAreaHeight - 560 + 1 + 560 / 2);
    for (int y : {centre - 1, centre})
        for (int x : {kAreaWidth / 2 - 1, kAreaWidth / 2}) EXPECT_LE(level(image, x, y), 6) << x << ", " << y;
    EXPECT_GE(level(image, kAreaWidth / 2, centre + 40), 20);
    EXPECT_GE(level(image, kAreaWidth / 2, centre - 40), 20);
}

TEST_F(ViewerScreenshot, AScreenshotThatCannotBeWrittenExitsWithOne) {
    const std::string grid = uniform("uni", "0");
    const RunResult r =
        run(programPath("quillmere"), {"-datafile", grid, "-screenshot", "no/such/folder/shot.png"}, dir.path(), 120.0);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("- Saving screenshot to 'no/such/folder/shot.png' ...\n"), std::string::npos);
    EXPECT_EQ(r.out.find("- Screenshot saved."), std::string::npos);
    EXPECT_NE(r.err.find("Unable to save image\n"), std::string::npos) << r.err;
}

}  // namespace
