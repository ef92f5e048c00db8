// A true picture of real data, read from the viewer's screenshots and from
// its window under Xvfb: the field takes the shape of its box, every data
// channel can be shown through its own transfer function, missing values
// are marked as missing, arrows and lines stand out from the field, and
// "Fit to data" gives the same picture on a tiny and a huge box.
//
// Geometry: the graphics area is 784 x 700 pixels and shows 1.4 view units
// over its height, 500 pixels a unit; the field quad's longer side is 1.3.
// Colours are compared within 8 per channel (texture filtering and the
// 8-bit colour tables), positions within 2 pixels (smoothed edges).

#include "data/DatasetWriter.h"
#include "support/PanelDriver.h"
#include "support/ScreenGrab.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace panel_e2e;

namespace {

const int kWidth = 784;
const int kHeight = 700;

// Pixel of a view point (view units, y up).
int px(double viewX) { return static_cast<int>(std::floor(kWidth / 2.0 + viewX * 500.0)); }
int py(double viewY) { return static_cast<int>(std::floor(kHeight / 2.0 - viewY * 500.0)); }

using Rgb = std::array<int, 3>;
Rgb colourAt(const Image& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return {p[0], p[1], p[2]};
}
bool near(const Rgb& a, const Rgb& b, int tol) {
    return std::abs(a[0] - b[0]) <= tol && std::abs(a[1] - b[1]) <= tol && std::abs(a[2] - b[2]) <= tol;
}
std::string text(const Rgb& c) {
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) + ")";
}

class ViewerPicture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
    }

    Image shoot(const std::string& grid, std::vector<std::string> settings, RunResult* result = nullptr,
                int expectedCode = 0) {
        std::vector<std::string> args = {"-datafile", grid};
        args.insert(args.end(), settings.begin(), settings.end());
        args.insert(args.end(), {"-screenshot", "shot.png"});
        fs::remove(dir.file("shot.png"));
        const RunResult r = run(programPath("quillmere"), args, dir.path(), 120.0);
        EXPECT_EQ(r.code, expectedCode) << r.err;
        if (result) *result = r;
        const Image image = loadPng(dir.file("shot.png"));
        EXPECT_EQ(image.width, kWidth);
        EXPECT_EQ(image.height, kHeight);
        return image;
    }

    std::string flowgen(const std::string& name, const std::vector<std::string>& args) {
        return generateDataset(dir.path(), name, args);
    }

    TempDir dir;
};

TEST_F(ViewerPicture, ATwoToOneBoxOnNodesOfAnotherRatioIsDrawnTwoToOne) {
    // A rotation on an 8 x 4 box sampled on 40 x 40 nodes: the field, lit
    // wherever the flow moves, spans 1.3 by 0.65 view units, not 1.3 by 1.3.
    const std::string rotation = flowgen(
        "rot", {"--field", "rotation", "--nx", "40", "--ny", "40", "--x0", "0", "--x1", "8", "--y0", "0", "--y1", "4"});
    const Image field = shoot(rotation, {});
    ASSERT_TRUE(field.ok());
    const Box quad = litBox(field, 60, StatusReferences::kRows);
    EXPECT_NEAR(quad.x0, px(-0.65), 2);
    EXPECT_NEAR(quad.x1, px(0.65), 2);
    EXPECT_NEAR(quad.y0, py(0.325), 2);
    EXPECT_NEAR(quad.y1, py(-0.325), 2);

    // Lines of a flow at 45 degrees in the box rise at 45 degrees on the
    // screen: 30 pixels to the right is 30 pixels up.
    const std::string diagonal =
        flowgen("diag", {"--field", "uniform", "--angle", "45", "--nx", "40", "--ny", "40", "--x0", "0", "--x1", "8",
                         "--y0", "0", "--y1", "4", "--channels", "0"});
    const Image lines = shoot(diagonal, {"-showStreamlines", "1", "-dsep", "0.5", "-dtest", "0.25"});
    ASSERT_TRUE(lines.ok());
    auto litNear = [&](int x, int y) {
        for (int d = -2; d <= 2; ++d)
            if (level(lines, x, y + d) > 60) return true;
        return false;
    };
    int pixels = 0, along = 0;
    for (int y = py(0.3); y < py(-0.3); ++y)
        for (int x = px(-0.6); x < px(0.6) - 30; ++x)
            if (level(lines, x, y) > 60) {
                ++pixels;
                along += litNear(x + 30, y - 30) ? 1 : 0;
            }
    ASSERT_GT(pixels, 500);
    EXPECT_GT(along, pixels * 9 / 10);
}

TEST_F(ViewerPicture, ADiscWithoutDataShowsTheNoDataColourAndNoArrow) {
    // Rigid rotation on [-1, 1]^2, NaN in a disc of radius 0.25 about
    // (0.5, 0.5): on screen 81 pixels about view (0.325, 0.325), where one
    // arrow of the 9 x 9 lattice stands.
    const std::string grid = flowgen("nan", {"--field", "rotation", "--nx", "65", "--ny", "65", "--nan-x", "0.5",
                                             "--nan-y", "0.5", "--nan-r", "0.25"});
    const int cx = px(0.325);
    const int cy = py(0.325);
    auto expectDisc = [&](const Image& image, const Rgb& colour) {
        int inside = 0, outside = 0;
        for (int y = cy - 100; y <= cy + 100; ++y)
            for (int x = cx - 100; x <= cx + 100; ++x) {
                const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                const bool shown = near(colourAt(image, x, y), colour, 8);
                if (r < 70) inside += shown ? 0 : 1;
                if (r > 95) outside += shown ? 1 : 0;
            }
        EXPECT_EQ(inside, 0) << "pixels in the disc not in " << text(colour);
        EXPECT_EQ(outside, 0) << "pixels around the disc in " << text(colour);
    };
    const std::vector<std::string> arrows = {"-showArrowPlot",    "1", "-arrowCountX", "9", "-arrowCountY", "9",
                                             "-arrowSizeEnabled", "0", "-arrowSize",   "30"};
    const Image start = shoot(grid, arrows);
    ASSERT_TRUE(start.ok());
    expectDisc(start, {255, 0, 153});
    // An arrow two lattice steps to the left is drawn (the one between
    // samples the disc with its texels and is left out too).
    int arrowPixels = 0;
    for (int y = cy - 15; y <= cy + 15; ++y)
        for (int x = px(0.0) - 15; x <= px(0.0) + 15; ++x) arrowPixels += colourAt(start, x, y)[2] < 40 ? 1 : 0;
    EXPECT_GT(arrowPixels, 40);

    std::vector<std::string> coloured = arrows;
    coloured.insert(coloured.end(), {"-noDataRed", "0.2", "-noDataGreen", "0.7", "-noDataBlue", "0.4"});
    const Image chosen = shoot(grid, coloured);
    ASSERT_TRUE(chosen.ok());
    expectDisc(chosen, {51, 178, 102});
}

TEST_F(ViewerPicture, ArrowsColouredByTheirTransferFunctionStandOutFromTheField) {
    // With the start transfer functions an arrow's colour is the field's
    // under it; its edge sets it apart, on bright and on dark ground.
    const std::string grid = flowgen("rot", {"--field", "rotation", "--nx", "33", "--ny", "33"});
    const Image field = shoot(grid, {});
    const Image arrows = shoot(grid, {"-showArrowPlot", "1", "-applyArrowTf", "1", "-arrowSizeEnabled", "0",
                                      "-arrowSize", "30", "-arrowCountX", "5", "-arrowCountY", "5"});
    ASSERT_TRUE(field.ok() && arrows.ok());
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) {
            const int ax = px(-0.65 + i * 0.325);
            const int ay = py(-0.65 + j * 0.325);
            int differing = 0;
            for (int y = ay - 15; y <= ay + 15; ++y)
                for (int x = ax - 15; x <= ax + 15; ++x)
                    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
                        differing += std::abs(level(arrows, x, y) - level(field, x, y)) > 30 ? 1 : 0;
            // Without its edge an arrow would differ nowhere.
            EXPECT_GT(differing, 40) << "arrow " << i << ", " << j;
        }
}

TEST_F(ViewerPicture, BlackLinesAndOutlinedWhiteLinesShowOnABrightField) {
    // Flow along x at speed y + 1 on [-1, 1]^2: the field is white at the
    // top. Lines 0.2 apart run at y = 0.6 and 0.8 there.
    const std::string grid =
        DatasetWriter(DatasetWriter::evenlySpaced(-1, 1, 33), DatasetWriter::evenlySpaced(-1, 1, 33))
            .velocity([](float, float y) {
                return std::array<float, 3>{y + 1.0f, 0.0f, 0.0f};
            })
            .write(dir.file("shear"));
    const std::vector<std::string> lines = {"-showStreamlines", "1", "-dsep", "0.2", "-dtest", "0.1"};
    // Columns where a line darkens the field by 80 levels or more (a
    // smoothed line covers two rows by half).
    auto darkAcrossTheLines = [&](const Image& image) {
        int dark = 0;
        for (double y : {0.6, 0.8}) {
            const int row = py(y * 0.65);
            for (int x = px(-0.5); x < px(0.5); x += 10) {
                int darkest = 255;
                for (int r = row - 3; r <= row + 3; ++r) darkest = std::min(darkest, level(image, x, r));
                const int field = level(image, x, row - 8);
                EXPECT_GE(field, 200) << "the bright field between the lines";
                dark += darkest <= field - 80 ? 1 : 0;
            }
        }
        return dark;
    };
    const int columns = 2 * ((px(0.5) - px(-0.5) + 9) / 10);
    const Image white = shoot(grid, lines);
    ASSERT_TRUE(white.ok());
    EXPECT_EQ(darkAcrossTheLines(white), 0) << "white lines vanish on white";
    std::vector<std::string> black = lines;
    black.insert(black.end(), {"-lineColor", "1"});
    const Image blackLines = shoot(grid, black);
    EXPECT_EQ(darkAcrossTheLines(blackLines), columns);
    if (HasFailure()) savePng(blackLines, std::string(QM_BINARY_DIR) + "/viewer_picture_black_lines.png");
    std::vector<std::string> outlined = lines;
    outlined.insert(outlined.end(), {"-lineOutline", "1"});
    EXPECT_EQ(darkAcrossTheLines(shoot(grid, outlined)), columns);
}

// Pixels where a picture differs from the same field without lines.
std::vector<bool> lineMask(const Image& lines, const Image& field) {
    std::vector<bool> mask(static_cast<std::size_t>(kWidth) * kHeight, false);
    for (int y = StatusReferences::kRows; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) mask[y * kWidth + x] = std::abs(level(lines, x, y) - level(field, x, y)) > 40;
    return mask;
}

// The share of the pixels of mask a that have a pixel of mask b within 2
// pixels: lines that lie where the other picture's lines lie.
double sharedShare(const std::vector<bool>& a, const std::vector<bool>& b) {
    int total = 0, shared = 0;
    for (int y = 2; y < kHeight - 2; ++y)
        for (int x = 2; x < kWidth - 2; ++x) {
            if (!a[y * kWidth + x]) continue;
            ++total;
            bool found = false;
            for (int dy = -2; dy <= 2 && !found; ++dy)
                for (int dx = -2; dx <= 2 && !found; ++dx) found = b[(y + dy) * kWidth + x + dx];
            shared += found ? 1 : 0;
        }
    return total > 2000 ? static_cast<double>(shared) / total : 0.0;
}

TEST_F(ViewerPicture, FitToDataDrawsTheSamePictureOnATinyAndAHugeBox) {
    // One cavity in a 4:1 box, 0.01 and 1000 wide. With the start values
    // the tiny one gets a single line, and the status line says what to press.
    auto box = [&](const std::string& name, const char* width, const char* height) {
        flowgen(name, {"--field", "cavity", "--nx", "129", "--ny", "33", "--channels", "0", "--x0", "0", "--x1", width,
                       "--y0", "0", "--y1", height});
        return name + ".gri";
    };
    const std::string tiny = box("tiny", "0.01", "0.0025");
    const std::string huge = box("huge", "1000", "250");
    StatusReferences status(dir.path());
    EXPECT_TRUE(status.reads(shoot(tiny, {"-showStreamlines", "1"}),
                             "tiny.gri   (1 streamline placed: try \"Fit to data\" under Streamlines)"));

    RunResult fitted;
    const Image tinyField = shoot(tiny, {"-fitToData", "1"}, &fitted);
    EXPECT_NE(fitted.out.find("Fit to data (box 0.01 x 0.0025): dsep 0.000104167, dtest 4.16667e-05, dt 2.60417e-06 "
                              "with unit speed, line widths 2.60417e-05 and 1.04167e-05, glyph spacing 7.8125e-05, "
                              "arrow size 9.93055\n"),
              std::string::npos)
        << fitted.out;
    const Image hugeField = shoot(huge, {"-fitToData", "1"});
    for (const char* mode : {"0", "2"}) {
        SCOPED_TRACE(std::string("mode ") + mode);
        const std::vector<std::string> lines = {"-fitToData", "1", "-showStreamlines", "1", "-streamlineMode", mode};
        const std::vector<bool> a = lineMask(shoot(tiny, lines), tinyField);
        const std::vector<bool> b = lineMask(shoot(huge, lines), hugeField);
        EXPECT_GT(sharedShare(a, b), 0.95);
        EXPECT_GT(sharedShare(b, a), 0.95);
    }
}

TEST_F(ViewerPicture, TheFitToDataButtonSetsAndShowsTheFittedValues) {
    flowgen("cavity", {"--field", "cavity", "--nx", "128", "--ny", "128", "--x0", "0", "--x1", "0.1", "--y0", "0",
                       "--y1", "0.1", "--channels", "3"});
    PanelViewer v(dir.path(), {"-datafile", "cavity.gri"});
    ASSERT_TRUE(v.ok()) << v.out() << v.err();
    ASSERT_TRUE(v.click("checkbox", "Streamlines"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("button", "Fit to data") == 1; }));
    ASSERT_TRUE(v.click("button", "Fit to data"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("spinner", "dsep") == "0.003125"; }));
    const PanelMap m = v.map();
    EXPECT_EQ(m.state("spinner", "dtest"), "0.00125");
    EXPECT_EQ(m.state("spinner", "dt"), "7.8125e-05");
    EXPECT_EQ(m.state("checkbox", "Unit speed"), "1");
    EXPECT_EQ(m.state("spinner", "Line Width Max"), "0.00078125");
    EXPECT_EQ(m.state("spinner", "Glyph spacing"), "0.00234375");
    EXPECT_TRUE(contains(v.out(),
                         "Fit to data (box 0.1 x 0.1): dsep 0.003125, dtest 0.00125, dt 7.8125e-05 with unit "
                         "speed, line widths 0.00078125 and 0.0003125, glyph spacing 0.00234375, arrow size "
                         "39.7222\n"));
    // One placement after the fit, with evenly spaced lines over the cavity.
    const std::string after = v.out().substr(v.out().find("Fit to data"));
    EXPECT_EQ(countOf(after, "Distance Field OK\n"), 1);
    EXPECT_EQ(v.err(), "");
}

// Data channel k of the channel datasets over [0, 2] x [0, 1], in unit
// coordinates u = x / 2, v = y: each channel a different ramp.
double channelPattern(int k, double u, double v) {
    switch (k) {
    case 1: return u;
    case 2: return v;
    case 3: return 1.0 - u;
    case 4: return 1.0 - v;
    default: return (u + v) / 2.0;
    }
}

// The end colour of channel k's transfer function, a ramp from black; the
// bytes are fifths of 255, which a save and load keep.
Rgb channelColour(int k) {
    const Rgb colours[5] = {{255, 153, 51}, {51, 255, 153}, {153, 51, 255}, {255, 51, 153}, {153, 255, 51}};
    return colours[k - 1];
}

std::string rampXml(const std::string& name, const Rgb& end) {
    auto point = [](const char* x, const Rgb& c) {
        auto f = [](int byte) { return std::to_string(byte / 255.0); };
        return std::string("\t\t\t<point>\n\t\t\t\t<x>") + x + "</x>\n\t\t\t\t<size>0.12</size>\n\t\t\t\t<red>" +
               f(c[0]) + "</red>\n\t\t\t\t<green>" + f(c[1]) + "</green>\n\t\t\t\t<blue>" + f(c[2]) +
               "</blue>\n\t\t\t\t<alpha>1</alpha>\n\t\t\t</point>\n";
    };
    return "\t\t<" + name + ">\n" + point("0", {0, 0, 0}) + point("4", end) + "\t\t</" + name + ">\n";
}

class ViewerChannels : public ViewerPicture {
protected:
    // A dataset with n data channels on 33 x 17 nodes, and an options file
    // (the start values) that gives channels 1 to 5 their own ramps.
    std::string channelDataset(int n) {
        const std::string name = "channels" + std::to_string(n);
        const std::string grid =
            DatasetWriter(DatasetWriter::evenlySpaced(0, 2, 33), DatasetWriter::evenlySpaced(0, 1, 17))
                .dataChannels(n)
                .velocity([](float, float) {
                    return std::array<float, 3>{1.0f, 0.0f, 0.0f};
                })
                .data([](int k, float x, float y) { return static_cast<float>(channelPattern(k, x / 2.0, y)); })
                .write(dir.file(name));
        std::string options = readFile(std::string(QM_SOURCE_DIR) + "/tests/golden/options_default.xml");
        std::string ramps;
        for (int k = 1; k <= 5; ++k) ramps += rampXml("data" + std::to_string(k), channelColour(k));
        const std::size_t from = options.find("\t\t<data1>");
        const std::size_t to = options.find("\t\t<arrow>");
        options.replace(from, to - from, ramps.substr(0, ramps.find("\t\t<data3>")));
        const std::size_t end = options.find("\t</transferfunction>");
        options.insert(end, ramps.substr(ramps.find("\t\t<data3>")));
        std::ofstream(dir.file("ramps.xml"), std::ios::binary) << options;
        return name + ".gri";
    }

    // The field shows channel k through its ramp at three places.
    void expectChannel(const Image& image, int k) {
        SCOPED_TRACE("channel " + std::to_string(k));
        for (const auto& [u, v] : {std::pair<double, double>{0.25, 0.5}, {0.75, 0.25}, {0.5, 0.8}}) {
            const double t = channelPattern(k, u, v);
            const Rgb c = channelColour(k);
            const Rgb expected = {static_cast<int>(t * c[0]), static_cast<int>(t * c[1]), static_cast<int>(t * c[2])};
            const Rgb shown = colourAt(image, px((u - 0.5) * 1.3), py((v - 0.5) * 0.65));
            EXPECT_TRUE(near(shown, expected, 8))
                << text(shown) << " instead of " << text(expected) << " at " << u << ", " << v;
        }
    }
};

TEST_F(ViewerChannels, EveryChannelOfAThreeAndAFiveChannelDatasetShowsThroughItsOwnTransferFunction) {
    for (int n : {3, 5}) {
        SCOPED_TRACE(std::to_string(n) + " channels");
        const std::string grid = channelDataset(n);
        for (int k = 1; k <= n; ++k) {
            RunResult r;
            const Image image = shoot(grid, {"-options", "ramps.xml", "-backgroundChannel", std::to_string(k)}, &r);
            ASSERT_TRUE(image.ok());
            expectChannel(image, k);
            EXPECT_EQ(r.err, "") << "the ramps of channels a dataset lacks are passed over";
        }
        RunResult lacking;
        // Refused: the run says so, and shows the velocity.
        const Image velocity = shoot(grid, {"-backgroundChannel", std::to_string(n + 1)}, &lacking, 1);
        EXPECT_EQ(lacking.err, "Background channel " + std::to_string(n + 1) +
                                   " is not in this dataset (data channels: " + std::to_string(n) +
                                   "); showing the velocity\n");
        EXPECT_EQ(level(velocity, px(0.0), py(0.0)), 0) << "a uniform flow: the velocity background is black";
    }
}

TEST_F(ViewerChannels, ThePanelOffersEveryChannelAndItsTransferFunctionSurvivesASaveAndLoad) {
    const std::string grid = channelDataset(5);
    PanelViewer v(dir.path(), {"-datafile", grid, "-options", "ramps.xml"});
    ASSERT_TRUE(v.ok()) << v.out() << v.err();
    const PanelMap start = v.map();
    EXPECT_EQ(start.enabled("radio", "Channel 5"), 1);
    EXPECT_EQ(start.find("radio", "Channel 6"), nullptr) << "not drawn for a five-channel dataset";
    ASSERT_TRUE(v.click("radio", "Channel 4"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("radio", "Channel 4") == "1"; }));
    expectChannel(v.screenshot(dir.path()), 4);

    ASSERT_TRUE(v.click("rollout", "Save"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Save") == "1"; }));
    ASSERT_TRUE(v.click("button", "Save Options"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("rollout", "Save") == "0"; }));
    const std::string saved = readFile(dir.file("options.xml"));
    EXPECT_NE(saved.find("\t\t</data4>\n\t\t<data5>\n"), std::string::npos);

    // A fresh start that loads the saved file shows channel 5 in its own ramp.
    const Image loaded = shoot(grid, {"-options", "options.xml", "-backgroundChannel", "5"});
    ASSERT_TRUE(loaded.ok());
    expectChannel(loaded, 5);
}

}  // namespace
