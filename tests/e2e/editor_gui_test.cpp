// The transfer-function editor of the running viewer, driven with xdotool and
// checked on the X screen: a colour picked in the chooser, a point added on
// the strip, dragged and removed again. After each gesture the editor's
// colour bar, the point markers, the "Bg" legend and the field itself must
// show the transfer function the gesture leaves behind, and the console must
// report one texture upload per mouse event.

#include "support/Process.h"
#include "support/ScreenGrab.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const kTitle = "Flow Visualization Application";
const char* const kUpload = "DEBUG: tf texture uploaded";
const char* const kArrowUpload = "DEBUG: arrow tf texture uploaded";

// Layout of the 1024 x 700 window: the panel takes the left 240 columns, the
// graphics area the rest; with "Show TF" the editor has the bottom
// (int)(700 * 0.2 + 1) = 141 rows and the field view the 560 above.
struct Layout {
    int areaLeft = 240;
    int areaWidth = 784;
    int areaHeight = 700;
    int editorHeight = static_cast<int>(700 * 0.2 + 1.0);
    int fieldHeight = static_cast<int>(700 * 0.8);
    // The editor's view: the shorter side 1.4 units, computed in float as the viewer does.
    float viewWidth = static_cast<float>(784) / static_cast<float>(141) * 2.0f * 0.7f;
    float viewHeight = 0.7f * 2.0f;

    double unitsToColumn(double ux) const { return areaLeft + ux * areaWidth / viewWidth; }
    double unitsToRow(double uy) const { return areaHeight - uy * editorHeight / viewHeight; }
    int column(double ux) const { return static_cast<int>(std::floor(unitsToColumn(ux))); }
    int row(double uy) const { return static_cast<int>(std::floor(unitsToRow(uy))); }
    // Where the viewer puts a press at window column x / row y, in editor units.
    float pointerX(int x) const { return static_cast<float>(x - areaLeft) / static_cast<float>(areaWidth) * viewWidth; }
    float pointerY(int y) const {
        return static_cast<float>(std::abs(y - areaHeight)) / static_cast<float>(editorHeight) * viewHeight;
    }
};

// Strip and colour bar of the transfer function, in editor units.
const double kStripX = 2.5;
const double kStripWidth = 4.0;
const double kMarkerWidth = 0.12;
const double kMarkerRowY = 0.2;  // above the white strip (0.1 .. 0.165), inside the markers (0.1 .. 0.22)
const double kColorBarY = 0.4;   // the bar spans 0.25 .. 0.55
const double kPreviewX = 1.8;    // 1.5 x the chooser's centre (1.2, 0.7)
const double kPreviewY = 1.05;

using Rgb = std::array<double, 3>;

struct TfPoint {
    double position;
    Rgb color;
};

// Colour of a transfer function at a strip position: linear between points.
Rgb colourAt(const std::vector<TfPoint>& points, double s) {
    if (s <= points.front().position) return points.front().color;
    for (size_t i = 1; i < points.size(); ++i) {
        const TfPoint& p = points[i - 1];
        const TfPoint& q = points[i];
        if (s <= q.position) {
            const double c = (s - p.position) / (q.position - p.position);
            return {p.color[0] + c * (q.color[0] - p.color[0]), p.color[1] + c * (q.color[1] - p.color[1]),
                    p.color[2] + c * (q.color[2] - p.color[2])};
        }
    }
    return points.back().color;
}

std::vector<TfPoint> greyRamp() { return {{0.0, {0, 0, 0}}, {4.0, {255, 255, 255}}}; }

bool near(const std::uint8_t* p, const Rgb& c, double tol) {
    return std::abs(p[0] - c[0]) <= tol && std::abs(p[1] - c[1]) <= tol && std::abs(p[2] - c[2]) <= tol;
}

std::string describe(const std::uint8_t* p) {
    std::ostringstream s;
    s << "(" << int(p[0]) << ", " << int(p[1]) << ", " << int(p[2]) << ")";
    return s.str();
}

std::string describe(const Rgb& c) {
    std::ostringstream s;
    s << "(" << c[0] << ", " << c[1] << ", " << c[2] << ")";
    return s.str();
}

int countLines(const std::string& text, const std::string& line) {
    int n = 0;
    for (const std::string& l : lines(text))
        if (l == line) ++n;
    return n;
}

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// "Position: X,Y (screen: 0)" and "Geometry: WxH" of xdotool getwindowgeometry.
WindowGeometry windowGeometry(const std::string& id) {
    WindowGeometry g;
    const std::string text = xdotool("getwindowgeometry " + id);
    const size_t position = text.find("Position: ");
    const size_t geometry = text.find("Geometry: ");
    if (position == std::string::npos || geometry == std::string::npos) return g;
    std::sscanf(text.c_str() + position, "Position: %d,%d", &g.x, &g.y);
    std::sscanf(text.c_str() + geometry, "Geometry: %dx%d", &g.width, &g.height);
    return g;
}

// The window's pixels cut out of the screen; parts off the screen stay black.
Image grabWindow(const WindowGeometry& g) {
    const Image screen = grabScreen();
    Image image;
    if (!screen.ok()) return image;
    image.width = g.width;
    image.height = g.height;
    image.rgba.assign(static_cast<size_t>(g.width) * g.height * 4, 0);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            const int sx = g.x + x, sy = g.y + y;
            if (sx < 0 || sy < 0 || sx >= screen.width || sy >= screen.height) continue;
            const std::uint8_t* p = screen.at(sx, sy);
            std::copy(p, p + 4, &image.rgba[(static_cast<size_t>(y) * g.width + x) * 4]);
        }
    return image;
}

using Check = std::function<std::string(const Image&)>;  // empty when the picture is right

class EditorGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
        // A double gyre: speeds over the whole range, so the field shows the
        // whole transfer function.
        generateDataset(dir.path(), "gyre",
                        {"--field", "gyre", "--nx", "129", "--ny", "65", "--x0", "0", "--x1", "2", "--y0", "0", "--y1",
                         "1", "--channels", "2"});
        viewer = std::make_unique<Process>(programPath("quillmere"),
                                           std::vector<std::string>{"-datafile", "gyre.gri", "-showTfEditor", "1"},
                                           dir.path());
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (windowId.empty() && std::chrono::steady_clock::now() < end && viewer->running()) {
            const std::vector<std::string> found = lines(xdotool(std::string("search --name \"") + kTitle + "\""));
            if (!found.empty()) windowId = found.front();
            else std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ASSERT_FALSE(windowId.empty()) << viewer->err();
        geometry = windowGeometry(windowId);
        ASSERT_EQ(geometry.width, 1024);
        ASSERT_EQ(geometry.height, 700);
    }

    void TearDown() override {
        if (HasFailure() && lastImage.ok()) savePng(lastImage, std::string(QM_BINARY_DIR) + "/editor_gui_failure.png");
    }

    // Runs xdotool with a pointer position given in window pixels.
    void pointer(int x, int y, const std::string& then) {
        std::ostringstream command;
        command << "mousemove " << geometry.x + x << " " << geometry.y + y << " " << then;
        xdotool(command.str());
    }

    int uploads() const { return countLines(viewer->out(), kUpload); }

    // Waits until the console shows at least `count` uploads.
    bool waitForUploads(int count) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (uploads() < count) {
            if (std::chrono::steady_clock::now() > end || !viewer->running()) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }

    // Grabs the window until the check passes (the redraw may lag behind the
    // event); returns the last failure, empty on success.
    std::string waitForPicture(const Check& check) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::string failure = "no picture";
        while (std::chrono::steady_clock::now() < end && viewer->running()) {
            lastImage = grabWindow(geometry);
            failure = lastImage.ok() ? check(lastImage) : "no screen";
            if (failure.empty()) return failure;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return failure;
    }

    TempDir dir;
    std::unique_ptr<Process> viewer;
    std::string windowId;
    WindowGeometry geometry;
    Layout layout;
    Image lastImage;
};

// The editor region: grey (0.8) background right of the panel, under the
// field view.
std::string checkEditorFrame(const Layout& l, const Image& image) {
    const Rgb grey{204, 204, 204};
    const int bottom = l.row(0.09);
    const int top = l.areaHeight - l.editorHeight + 5;
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {l.areaLeft + 1, bottom}, {1020, bottom}, {1020, top}, {l.column(kStripX - 0.3), l.row(0.6)}})
        if (!near(image.at(x, y), grey, 3))
            return "editor background at " + std::to_string(x) + ", " + std::to_string(y) + " is " +
                   describe(image.at(x, y));
    if (near(image.at(l.areaLeft - 3, bottom), grey, 20)) return "the editor reaches into the panel";
    if (near(image.at(1020, l.areaHeight - l.editorHeight - 4), grey, 20)) return "the editor is too high";
    return "";
}

// The colour bar under the histogram, sampled every 0.05 units along the strip.
std::string checkColorBar(const Layout& l, const Image& image, const std::vector<TfPoint>& tf) {
    for (double s = 0.05; s < kStripWidth - 0.02; s += 0.05) {
        const Rgb expected = colourAt(tf, s);
        const std::uint8_t* p = image.at(l.column(kStripX + s), l.row(kColorBarY));
        if (!near(p, expected, 12))
            return "colour bar at " + std::to_string(s) + " is " + describe(p) + ", expected " + describe(expected);
    }
    return "";
}

// The "Bg" legend bar of the field view: 20 x 150 pixels, its left edge at
// 1 % of the width and its top at 90 % of the field view's height; colour 0 at
// the bottom, 1 at the top.
std::string checkLegend(const Layout& l, const Image& image, const std::vector<TfPoint>& tf) {
    const int x = l.areaLeft + l.areaWidth / 100 + 10;
    // The field viewport starts at GL row 700 - 560 + 1; its lower edge is window row 559.
    const double viewportBottom = l.areaHeight - (l.areaHeight - l.fieldHeight + 1);
    const double legendBottom = 0.9 * l.fieldHeight - 150.0;
    for (double t = 0.05; t < 0.96; t += 0.05) {
        const int y = static_cast<int>(viewportBottom - (legendBottom + 150.0 * t));
        const Rgb expected = colourAt(tf, 4.0 * t);
        const std::uint8_t* p = image.at(x, y);
        if (!near(p, expected, 14))
            return "legend at " + std::to_string(t) + " is " + describe(p) + ", expected " + describe(expected);
    }
    return "";
}

// Markers: a square of the point's colour, marker width wide, at every
// interior point; none of that colour elsewhere on the strip.
std::string checkMarkers(const Layout& l, const Image& image, const std::vector<TfPoint>& tf, const Rgb& colour) {
    const int y = l.row(kMarkerRowY);
    std::vector<int> columns;
    for (int x = l.column(kStripX + 0.2); x <= l.column(kStripX + kStripWidth - 0.2); ++x)
        if (near(image.at(x, y), colour, 6)) columns.push_back(x);
    std::vector<double> interior;
    for (size_t i = 1; i + 1 < tf.size(); ++i) interior.push_back(tf[i].position);
    if (interior.empty()) {
        return columns.empty() ? "" : "a marker is left at column " + std::to_string(columns.front());
    }
    const double width = kMarkerWidth * l.areaWidth / l.viewWidth;  // about 12 pixels
    if (columns.empty()) return "no marker";
    const double centre = (columns.front() + columns.back() + 1) / 2.0;
    const double expected = l.unitsToColumn(kStripX + interior.front());
    if (std::abs(centre - expected) > 3)
        return "marker centred at " + std::to_string(centre) + ", expected " + std::to_string(expected);
    if (std::abs(static_cast<double>(columns.size()) - width) > 4)
        return "marker " + std::to_string(columns.size()) + " pixels wide";
    return "";
}

// The field view against its picture under the grey ramp: a pixel of grey
// level v has the normalised speed v / 255 and must now show the transfer
// function's colour at 4 v / 255.
std::string checkField(const Image& before, const Image& image, const std::vector<TfPoint>& tf) {
    int samples = 0, matching = 0;
    for (int y = 30; y < 540; y += 3)
        for (int x = 300; x < 1020; x += 3) {
            const std::uint8_t* g = before.at(x, y);
            if (std::abs(g[0] - g[1]) > 2 || std::abs(g[1] - g[2]) > 2 || g[0] < 12 || g[0] > 243) continue;
            ++samples;
            if (near(image.at(x, y), colourAt(tf, 4.0 * g[0] / 255.0), 12)) ++matching;
        }
    if (samples < 2000) return "only " + std::to_string(samples) + " field pixels";
    if (matching < 0.97 * samples)
        return "field: " + std::to_string(matching) + " of " + std::to_string(samples) + " pixels as expected";
    return "";
}

TEST_F(EditorGuiTest, PickAddDragAndRemoveAPointRecolourTheEditorLegendAndField) {
    const Layout& l = layout;
    std::vector<TfPoint> tf = greyRamp();

    // The start: the editor on its grey background, everything on the grey ramp.
    std::string failure = waitForPicture([&](const Image& image) {
        std::string f = checkEditorFrame(l, image);
        if (f.empty()) f = checkColorBar(l, image, tf);
        if (f.empty()) f = checkLegend(l, image, tf);
        return f;
    });
    ASSERT_EQ(failure, "") << "at the start";
    const Image start = lastImage;
    const int startUploads = uploads();
    const int arrowUploads = countLines(viewer->out(), kArrowUpload);
    EXPECT_EQ(startUploads, 1);

    // Pick near the red corner of the chooser (0.65, 0.425): a press and a
    // release, each passed on to the transfer function and uploaded.
    pointer(l.column(0.70), l.row(0.44), "click 1");
    ASSERT_TRUE(waitForUploads(startUploads + 2));
    Rgb red{};
    failure = waitForPicture([&](const Image& image) {
        const std::uint8_t* p = image.at(l.column(kPreviewX), l.row(kPreviewY));
        if (p[0] < 230 || p[1] > 20 || p[2] > 40) return "preview is " + describe(p);
        red = {double(p[0]), double(p[1]), double(p[2])};
        return checkColorBar(l, image, tf);
    });
    ASSERT_EQ(failure, "") << "after the pick";
    EXPECT_EQ(uploads(), startUploads + 2);

    // Editor colour bar, markers, legend and field all follow `tf`.
    const Check everything = [&](const Image& image) {
        std::string f = checkEditorFrame(l, image);
        if (f.empty()) f = checkColorBar(l, image, tf);
        if (f.empty()) f = checkMarkers(l, image, tf, red);
        if (f.empty()) f = checkLegend(l, image, tf);
        if (f.empty()) f = checkField(start, image, tf);
        return f;
    };

    // A left click on the empty strip adds a red point in the middle.
    const int addX = l.column(kStripX + 2.0);
    const int stripY = l.row(0.13);
    ASSERT_GE(l.pointerY(stripY), 0.1f);
    ASSERT_LE(l.pointerY(stripY), 0.165f);
    pointer(addX, stripY, "click 1");
    ASSERT_TRUE(waitForUploads(startUploads + 4));
    tf = {tf[0], {l.pointerX(addX) - kStripX, red}, tf[1]};
    EXPECT_EQ(waitForPicture(everything), "") << "after adding";
    EXPECT_EQ(uploads(), startUploads + 4);

    // Drag it to 3.0 along the strip (the same row, so the camera's zoom,
    // which sees the drag too, stays put): the red peak follows.
    const int dragX = l.column(kStripX + 3.0);
    pointer(addX, stripY, "mousedown 1");
    for (int step = 1; step <= 5; ++step) {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        pointer(addX + (dragX - addX) * step / 5, stripY, "");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    xdotool("mouseup 1");
    ASSERT_TRUE(waitForUploads(startUploads + 7));
    tf[1].position = l.pointerX(dragX) - kStripX;
    EXPECT_EQ(waitForPicture(everything), "") << "after dragging";
    const int afterDrag = uploads();

    // A right click on it removes it: back to the grey ramp everywhere.
    pointer(dragX, stripY, "click 3");
    ASSERT_TRUE(waitForUploads(afterDrag + 2));
    tf = greyRamp();
    EXPECT_EQ(waitForPicture(everything), "") << "after removing";
    EXPECT_EQ(uploads(), afterDrag + 2);
    // Only the velocity transfer function was active.
    EXPECT_EQ(countLines(viewer->out(), kArrowUpload), arrowUploads);
    EXPECT_TRUE(viewer->running());
    EXPECT_EQ(viewer->err(), "");
}

}  // namespace
