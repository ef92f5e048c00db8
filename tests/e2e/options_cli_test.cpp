// Options files given on the viewer's command line, checked in the saved
// screenshot, on the screen and on the console: a file that sets the
// streamline mode, the arrow plot and a coloured velocity transfer function;
// a command-line setting that overrides the file; the panel showing what was
// loaded; a background channel the dataset lacks; and the load failures (a
// transfer function with one point, a truncated or missing file, missing
// elements).

#include "support/Process.h"
#include "support/ScreenGrab.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// The dataset: a double gyre on [0, 2] x [0, 1]. Its speed is symmetric in x
// about 1 and in y about 0.5, so the checks below do not depend on which way
// the field quad runs; it is 0 at the gyre centres and the corners and peaks
// at the centre of the domain and at the middle of every edge of the gyres.
const int kNx = 129;
const int kNy = 65;
const double kPi = 3.14159265358979323846;

double gyreSpeed(double x, double y) {
    const double a = std::sin(kPi * x) * std::cos(kPi * y);
    const double b = std::cos(kPi * x) * std::sin(kPi * y);
    return std::sqrt(a * a + b * b);
}

struct TfPointText {
    double x, size, red, green, blue, alpha;
};

// The settings an options file carries, with the panel's start values;
// `omit` names leaf paths to leave out of the file.
struct OptionsContent {
    std::vector<TfPointText> velocity{{0, 0.12, 0, 0, 0, 1}, {4, 0.12, 1, 1, 1, 1}};
    int background = 0;
    int arrows = 0;
    int streamlines = 0;
    int mode = 0;
    std::set<std::string> omit;
};

// A small element tree written the way the viewer saves its options: one
// element per line, tab-indented, values as element text.
struct Element {
    std::string name;
    std::string text;
    std::vector<std::unique_ptr<Element>> children;

    Element* add(const std::string& childName, const std::string& childText = "") {
        children.push_back(std::make_unique<Element>(Element{childName, childText, {}}));
        return children.back().get();
    }
    void write(std::string& out, int depth) const {
        const std::string indent(static_cast<size_t>(depth), '\t');
        if (children.empty()) {
            out += indent + "<" + name + ">" + text + "</" + name + ">\n";
            return;
        }
        out += indent + "<" + name + ">\n";
        for (const auto& c : children) c->write(out, depth + 1);
        out += indent + "</" + name + ">\n";
    }
};

std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

std::string optionsXml(const OptionsContent& c) {
    Element root{"flow_visualization_options", "", {}};
    auto leaf = [&](Element* parent, const std::string& path, const std::string& name, const std::string& text) {
        if (!c.omit.count(path + name)) parent->add(name, text);
    };
    leaf(root.add("background"), "background/", "index", std::to_string(c.background));
    Element* camera = root.add("camera");
    Element* translation = camera->add("translation");
    leaf(translation, "camera/translation/", "x", "0");
    leaf(translation, "camera/translation/", "y", "0");
    leaf(camera, "camera/", "zoom", "0");
    Element* functions = root.add("transferfunction");
    const std::vector<TfPointText> grey{{0, 0.12, 0, 0, 0, 1}, {4, 0.12, 1, 1, 1, 1}};
    for (const char* name : {"velocity", "data1", "data2", "arrow"}) {
        Element* group = functions->add(name);
        for (const TfPointText& p : std::string(name) == "velocity" ? c.velocity : grey) {
            Element* point = group->add("point");
            point->add("x", number(p.x));
            point->add("size", number(p.size));
            point->add("red", number(p.red));
            point->add("green", number(p.green));
            point->add("blue", number(p.blue));
            point->add("alpha", number(p.alpha));
        }
    }
    Element* arrows = root.add("arrowplot");
    leaf(arrows, "arrowplot/", "enable_arrowplot", std::to_string(c.arrows));
    leaf(arrows, "arrowplot/", "enable_sizemodification", "1");
    leaf(arrows, "arrowplot/", "apply_arrowtf", "0");
    leaf(arrows, "arrowplot/", "count_x", "10");
    leaf(arrows, "arrowplot/", "count_y", "10");
    leaf(arrows, "arrowplot/", "pointsize", "40");
    Element* lines = root.add("streamlines");
    leaf(lines, "streamlines/", "enable_streamlines", std::to_string(c.streamlines));
    leaf(lines, "streamlines/", "integration_index", "0");
    leaf(lines, "streamlines/", "modus_index", std::to_string(c.mode));
    leaf(lines, "streamlines/", "seedpoints", "5");
    leaf(lines, "streamlines/", "dsep", "0.4");
    leaf(lines, "streamlines/", "dtest", "0.2");
    leaf(lines, "streamlines/", "dt", "0.005");
    Element* color = lines->add("color");
    for (const char* name : {"red", "green", "blue"}) leaf(color, "streamlines/color/", name, "1");

    std::string out = "<?xml version=\"1.0\"?>\n";
    root.write(out, 0);
    return out;
}

// Tapered streamlines, the arrow plot and a velocity transfer function from
// blue at 0 to red at 4.0.
OptionsContent styled() {
    OptionsContent c;
    c.velocity = {{0, 0.12, 0, 0, 1, 1}, {4, 0.12, 1, 0, 0, 1}};
    c.arrows = 1;
    c.streamlines = 1;
    c.mode = 2;
    return c;
}

// The field quad in a screenshot of the graphics area with the editor off:
// the camera's view is 1.4 units high (for a wide area), the quad 1.3 units
// wide and 1.3 * ny / nx high, centred.
struct Quad {
    double left, top, width, height;  // pixels, row 0 at the top
};

Quad fieldQuad(const Image& image) {
    const double pixelsPerUnit = image.width >= image.height ? image.height / 1.4 : image.width / 1.4;
    const double w = 1.3 * pixelsPerUnit;
    const double h = 1.3 * static_cast<float>(kNy) / static_cast<float>(kNx) * pixelsPerUnit;
    return {image.width / 2.0 - w / 2, image.height / 2.0 - h / 2, w, h};
}

// Speed at the centre of a pixel, normalised to the peak.
double speedAt(const Quad& q, int px, int py) {
    const double u = (px + 0.5 - q.left) / q.width;
    const double v = (py + 0.5 - q.top) / q.height;
    return gyreSpeed(2.0 * u, v);
}

struct FieldColours {
    int samples = 0;       // pixels where the field shows (not covered by lines or arrows)
    int matching = 0;      // of these, coloured as the blue-to-red function predicts
    int slowMatching = 0;  // matching, under 0.1 of the peak speed (blue)
    int fastMatching = 0;  // matching, over 0.9 of the peak speed (red)
};

// Field pixels are those without green (the blue-to-red function has none);
// each is compared with the colour its speed maps to, within 20 per channel
// (texture interpolation and the 8-bit table).
FieldColours checkBlueToRedField(const Image& image) {
    const Quad q = fieldQuad(image);
    FieldColours c;
    for (int y = static_cast<int>(q.top) + 3; y < static_cast<int>(q.top + q.height) - 3; ++y)
        for (int x = static_cast<int>(q.left) + 3; x < static_cast<int>(q.left + q.width) - 3; ++x) {
            const std::uint8_t* p = image.at(x, y);
            if (p[1] > 8) continue;
            ++c.samples;
            const double t = speedAt(q, x, y);
            if (std::abs(p[0] - 255.0 * t) > 20 || std::abs(p[2] - 255.0 * (1.0 - t)) > 20) continue;
            ++c.matching;
            if (t < 0.1) ++c.slowMatching;
            if (t > 0.9) ++c.fastMatching;
        }
    return c;
}

// Pixels of the streamlines (white, or mostly white where smoothed) in the quad.
int streamlinePixels(const Image& image) {
    const Quad q = fieldQuad(image);
    return image.count(static_cast<int>(q.left), static_cast<int>(q.top), static_cast<int>(q.left + q.width),
                       static_cast<int>(q.top + q.height), 255, 255, 255, 100);
}

bool isOrange(const std::uint8_t* p) {
    return p[0] >= 100 && p[1] >= 0.4 * p[0] && p[1] <= 0.8 * p[0] && p[2] <= 0.35 * p[0];
}

// Arrow-raster positions (10 x 10, from edge to edge of the quad) that have an
// orange arrow pixel within 6 pixels.
int arrowsFound(const Image& image) {
    const Quad q = fieldQuad(image);
    int found = 0;
    for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 10; ++i) {
            const int cx = static_cast<int>(q.left + q.width * i / 9.0);
            const int cy = static_cast<int>(q.top + q.height * j / 9.0);
            bool hit = false;
            for (int y = cy - 6; y <= cy + 6 && !hit; ++y)
                for (int x = cx - 6; x <= cx + 6 && !hit; ++x)
                    if (x >= 0 && y >= 0 && x < image.width && y < image.height) hit = isOrange(image.at(x, y));
            if (hit) ++found;
        }
    return found;
}

// The background legend bar: 20 pixels wide at 1 % of the width, 150 high
// with its top at 90 % of the height; colour 0 at its bottom.
std::array<int, 3> legendAt(const Image& image, double t) {
    const int x = image.width / 100 + 10;
    const double top = image.height - 0.9 * image.height;
    const int y = static_cast<int>(top + 150.0 * (1.0 - t));
    const std::uint8_t* p = image.at(x, y);
    return {p[0], p[1], p[2]};
}

int countLinesWith(const std::string& text, const std::string& part) {
    int n = 0;
    for (const std::string& line : lines(text))
        if (line.find(part) != std::string::npos) ++n;
    return n;
}

// The viewer's window as the X screen shows it, once `ready` holds for the
// picture (or the last picture after 20 s). The window may sit partly off
// the screen (no window manager places it); those pixels stay black.
Image grabViewer(Process& viewer, const std::function<bool(const Image&)>& ready) {
    Image window;
    std::string id;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end && viewer.running()) {
        if (id.empty()) {
            const std::vector<std::string> found = lines(xdotool("search --name \"Flow Visualization Application\""));
            if (!found.empty()) id = found.front();
        }
        int x = 0, y = 0, w = 0, h = 0;
        const std::string geometry = id.empty() ? "" : xdotool("getwindowgeometry " + id);
        const size_t position = geometry.find("Position: ");
        const size_t size = geometry.find("Geometry: ");
        if (position != std::string::npos && size != std::string::npos &&
            std::sscanf(geometry.c_str() + position, "Position: %d,%d", &x, &y) == 2 &&
            std::sscanf(geometry.c_str() + size, "Geometry: %dx%d", &w, &h) == 2) {
            const Image screen = grabScreen();
            window.width = w;
            window.height = h;
            window.rgba.assign(static_cast<size_t>(w) * h * 4, 0);
            for (int row = 0; row < h; ++row)
                for (int col = 0; col < w; ++col) {
                    if (x + col < 0 || y + row < 0 || x + col >= screen.width || y + row >= screen.height) continue;
                    const std::uint8_t* p = screen.at(x + col, y + row);
                    std::copy(p, p + 4, &window.rgba[(static_cast<size_t>(row) * w + col) * 4]);
                }
            if (ready(window)) return window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return window;
}

const char* const kTooFewPoints = "ERROR while loading xml conifg file: file emptry or too few points for tf found";
const char* const kFileNotFound = "error while loeding the xml config file: file not found";

class OptionsCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
        generateDataset(dir.path(), "gyre",
                        {"--field", "gyre", "--nx", std::to_string(kNx), "--ny", std::to_string(kNy), "--x0", "0",
                         "--x1", "2", "--y0", "0", "--y1", "1", "--channels", "2"});
        ASSERT_TRUE(std::filesystem::exists(dir.file("gyre.gri")));
    }

    void writeOptions(const std::string& name, const std::string& text) {
        std::ofstream(dir.file(name), std::ios::binary) << text;
    }

    // Runs the viewer on a dataset (the gyre) with `extra` arguments and a screenshot.
    RunResult shoot(const std::vector<std::string>& extra, const std::string& png, Image& image,
                    const std::string& dataset = "gyre.gri") {
        std::vector<std::string> args{"-datafile", dataset};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back("-screenshot");
        args.push_back(png);
        RunResult r = run(programPath("quillmere"), args, dir.path(), 120.0);
        image = loadPng(dir.file(png));
        return r;
    }

    // The same pixels within 2 per channel everywhere.
    static int differingPixels(const Image& a, const Image& b) {
        if (a.width != b.width || a.height != b.height) return -1;
        int n = 0;
        for (size_t i = 0; i < a.rgba.size(); i += 4)
            for (size_t k = 0; k < 3; ++k)
                if (std::abs(a.rgba[i + k] - b.rgba[i + k]) > 2) {
                    ++n;
                    break;
                }
        return n;
    }

    TempDir dir;
};

TEST_F(OptionsCliTest, FileSetsTaperedStreamlinesArrowsAndColouredFieldAndTheCommandLineOverridesItsMode) {
    writeOptions("styled.xml", optionsXml(styled()));

    Image tapered;
    const RunResult r = shoot({"-options", "styled.xml"}, "tapered.png", tapered);
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_TRUE(tapered.ok());
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(containsInOrder(lines(r.out), {"- Saving screenshot to 'tapered.png' ...", "- Screenshot saved."}));
    EXPECT_EQ(tapered.width, 784);
    EXPECT_EQ(tapered.height, 700);

    // Field: blue where the flow stands still, red where it is fastest.
    const FieldColours field = checkBlueToRedField(tapered);
    EXPECT_GT(field.samples, 50000);
    EXPECT_GE(field.matching, 0.97 * field.samples);
    EXPECT_GT(field.slowMatching, 200);
    EXPECT_GT(field.fastMatching, 200);
    // The legend shows the same function: blue at the bottom, red at the top.
    for (double t : {0.1, 0.5, 0.9}) {
        const std::array<int, 3> c = legendAt(tapered, t);
        EXPECT_NEAR(c[0], 255 * t, 12) << "legend at " << t;
        EXPECT_LE(c[1], 8) << "legend at " << t;
        EXPECT_NEAR(c[2], 255 * (1 - t), 12) << "legend at " << t;
    }
    EXPECT_GE(arrowsFound(tapered), 95);
    const int taperedLines = streamlinePixels(tapered);

    // The mode on the command line wins over the file: thin lines over the
    // same field and arrows.
    Image evenly;
    const RunResult e = shoot({"-options", "styled.xml", "-streamlineMode", "0"}, "evenly.png", evenly);
    ASSERT_EQ(e.code, 0) << e.err;
    ASSERT_TRUE(evenly.ok());
    EXPECT_EQ(e.err, "");
    const FieldColours evenField = checkBlueToRedField(evenly);
    EXPECT_GE(evenField.matching, 0.97 * evenField.samples);
    EXPECT_GT(evenField.samples, field.samples);
    EXPECT_GE(arrowsFound(evenly), 95);
    const int thinLines = streamlinePixels(evenly);
    EXPECT_GT(thinLines, 200);
    // About 1 pixel against bands up to 0.1 world units (about 30 pixels) wide.
    EXPECT_GT(taperedLines, 10 * thinLines) << taperedLines << " against " << thinLines;

    if (HasFailure()) {
        savePng(tapered, std::string(QM_BINARY_DIR) + "/options_cli_tapered.png");
        savePng(evenly, std::string(QM_BINARY_DIR) + "/options_cli_evenly.png");
    }
}

TEST_F(OptionsCliTest, FailedLoadsReportOnceAndKeepTheDefaultView) {
    Image reference;
    const RunResult plain = shoot({}, "default.png", reference);
    ASSERT_EQ(plain.code, 0) << plain.err;
    ASSERT_TRUE(reference.ok());
    EXPECT_EQ(plain.err, "");

    // A velocity transfer function of one point stops the load before the
    // streamline and arrow settings are read.
    OptionsContent onePoint = styled();
    onePoint.velocity = {{0, 0.12, 0, 0, 1, 1}};
    writeOptions("onepoint.xml", optionsXml(onePoint));
    Image afterOnePoint;
    const RunResult one = shoot({"-options", "onepoint.xml"}, "onepoint.png", afterOnePoint);
    EXPECT_EQ(one.code, 1) << one.err;  // a batch run with an error fails
    EXPECT_EQ(lines(one.err), std::vector<std::string>{kTooFewPoints});
    EXPECT_EQ(differingPixels(afterOnePoint, reference), 0);

    // A file that breaks off inside an element.
    const std::string full = optionsXml(styled());
    writeOptions("truncated.xml", full.substr(0, full.find("<arrowplot>") + 14));
    Image afterTruncated;
    const RunResult cut = shoot({"-options", "truncated.xml"}, "truncated.png", afterTruncated);
    EXPECT_EQ(cut.code, 1) << cut.err;
    EXPECT_EQ(lines(cut.err), std::vector<std::string>{kFileNotFound});
    EXPECT_EQ(differingPixels(afterTruncated, reference), 0);

    // A file that is not there at all.
    Image afterMissing;
    const RunResult none = shoot({"-options", "nosuchfile.xml"}, "missing.png", afterMissing);
    EXPECT_EQ(none.code, 1) << none.err;
    EXPECT_EQ(lines(none.err), std::vector<std::string>{kFileNotFound});
    EXPECT_EQ(differingPixels(afterMissing, reference), 0);

    if (HasFailure()) {
        savePng(afterOnePoint, std::string(QM_BINARY_DIR) + "/options_cli_onepoint.png");
        savePng(afterTruncated, std::string(QM_BINARY_DIR) + "/options_cli_truncated.png");
    }
}

TEST_F(OptionsCliTest, MissingElementsKeepTheirCurrentValuesWithOneWarning) {
    // Without a mode the streamlines keep the current one ("Evenly", thin
    // lines); everything else of the file applies.
    OptionsContent partial = styled();
    partial.omit = {"camera/zoom", "streamlines/modus_index"};
    writeOptions("partial.xml", optionsXml(partial));
    Image image;
    const RunResult r = shoot({"-options", "partial.xml"}, "partial.png", image);
    ASSERT_EQ(r.code, 1) << r.err;  // the warning fails a batch run; the picture is saved
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(lines(r.err), std::vector<std::string>{
                                "Warning: kept the current values of missing or unusable entries in options file "
                                "'partial.xml': camera/zoom, streamlines/modus_index"});
    EXPECT_EQ(countLinesWith(r.err + r.out, "kept the current values"), 1);

    const FieldColours field = checkBlueToRedField(image);
    EXPECT_GE(field.matching, 0.97 * field.samples);
    EXPECT_GT(field.fastMatching, 200);
    EXPECT_GE(arrowsFound(image), 95);

    Image tapered;
    writeOptions("styled.xml", optionsXml(styled()));
    ASSERT_EQ(shoot({"-options", "styled.xml"}, "tapered.png", tapered).code, 0);
    const int thin = streamlinePixels(image);
    EXPECT_GT(thin, 200);
    EXPECT_GT(streamlinePixels(tapered), 10 * thin);
    if (HasFailure()) savePng(image, std::string(QM_BINARY_DIR) + "/options_cli_partial.png");
}

TEST_F(OptionsCliTest, FileLoadedAtStartIsShownInThePanel) {
    // The check marks of the "Options" group at the top of the 240-pixel
    // panel: "Arrow plot" and "Streamlines".
    const auto checkMarks = [](const Image& window) { return window.count(0, 0, 240, 70, 66, 150, 250, 10); };
    // The grey field of the start, and the blue-to-red one of the file.
    const auto fieldShown = [](const Image& window) { return window.count(240, 0, 1024, 700, 128, 128, 128, 6) > 500; };

    Process plain(programPath("quillmere"), {"-datafile", "gyre.gri"}, dir.path());
    const Image before = grabViewer(plain, fieldShown);
    ASSERT_TRUE(fieldShown(before));
    EXPECT_EQ(checkMarks(before), 0);
    plain.kill();

    writeOptions("styled.xml", optionsXml(styled()));
    Process loaded(programPath("quillmere"), {"-datafile", "gyre.gri", "-options", "styled.xml"}, dir.path());
    const auto styledShown = [](const Image& window) { return window.count(240, 0, 1024, 700, 40, 0, 215, 40) > 2000; };
    const Image after = grabViewer(loaded, styledShown);
    ASSERT_TRUE(styledShown(after));
    EXPECT_GT(checkMarks(after), 50) << "one check mark has about 35 pixels";
    if (HasFailure()) savePng(after, std::string(QM_BINARY_DIR) + "/options_cli_panel.png");
}

TEST_F(OptionsCliTest, BackgroundChannelTheDatasetLacksFallsBackToTheVelocity) {
    // The same gyre without data channels: "Channel 2" has nothing to show.
    generateDataset(dir.path(), "bare",
                    {"--field", "gyre", "--nx", std::to_string(kNx), "--ny", std::to_string(kNy), "--x0", "0", "--x1",
                     "2", "--y0", "0", "--y1", "1", "--channels", "0"});
    OptionsContent c = styled();
    c.background = 2;
    writeOptions("channel2.xml", optionsXml(c));
    Image image;
    const RunResult r = shoot({"-options", "channel2.xml"}, "channel2.png", image, "bare.gri");
    ASSERT_EQ(r.code, 1) << r.err;  // the picture is saved, but the run says that a setting was refused
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(r.err, "Background channel 2 is not in this dataset (data channels: 0); showing the velocity\n");
    const FieldColours field = checkBlueToRedField(image);
    EXPECT_GT(field.samples, 50000);
    EXPECT_GE(field.matching, 0.97 * field.samples);
    if (HasFailure()) savePng(image, std::string(QM_BINARY_DIR) + "/options_cli_channel2.png");
}

}  // namespace
