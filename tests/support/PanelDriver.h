#pragma once

// Drives the viewer's real window under Xvfb with xdotool: finds the panel's
// controls through the panel map that the viewer writes when
// QUILLMERE_PANEL_MAP is set, clicks, types and drags, and waits for the
// effects (map states, console lines, files) instead of sleeping.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace panel_e2e {

// One line of the panel map: a drawn control or file-browser entry.
struct MapEntry {
    std::string kind;
    std::string label;
    bool enabled = false;
    int x = 0, y = 0, w = 0, h = 0;  // window pixels from the top left
    std::string state;               // shown value: 0/1, a number, a text, "dir"/"file"
};

struct PanelMap {
    long frame = 0;
    bool settled = false;   // the viewer asks for no further frame
    long buttonEvents = 0;  // mouse button and wheel events the panel has taken
    std::vector<MapEntry> entries;

    const MapEntry* find(const std::string& kind, const std::string& label) const {
        for (const MapEntry& e : entries)
            if (e.kind == kind && e.label == label) return &e;
        return nullptr;
    }
    // The state of a drawn control, "-" when it is not drawn.
    std::string state(const std::string& kind, const std::string& label) const {
        const MapEntry* e = find(kind, label);
        return e ? e->state : "-";
    }
    // 1 or 0 for a drawn control's enabled flag, -1 when it is not drawn.
    int enabled(const std::string& kind, const std::string& label) const {
        const MapEntry* e = find(kind, label);
        return e ? (e->enabled ? 1 : 0) : -1;
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const MapEntry& e : entries)
            if (e.kind == "file") names.push_back(e.label);
        return names;
    }
    // Where the panel is: label "docked", "strip" or "open", w its width.
    const MapEntry* dock() const {
        for (const MapEntry& e : entries)
            if (e.kind == "dock") return &e;
        return nullptr;
    }
    // The status line and the messages under it, top to bottom: the text is
    // the label, the kind ("datafile", "info", "warning", "error") the state.
    std::vector<MapEntry> status() const {
        std::vector<MapEntry> lines;
        for (const MapEntry& e : entries)
            if (e.kind == "status") lines.push_back(e);
        return lines;
    }
    // The messages alone, as "kind: text".
    std::vector<std::string> messages() const {
        std::vector<std::string> shown;
        for (const MapEntry& e : status())
            if (e.state != "datafile") shown.push_back(e.state + ": " + e.label);
        return shown;
    }
};

inline std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

inline PanelMap parsePanelMap(const std::string& text) {
    PanelMap map;
    for (const std::string& line : lines(text)) {
        const std::vector<std::string> f = splitTabs(line);
        if (f.size() == 4 && f[0] == "frame") {
            map.frame = std::atol(f[1].c_str());
            map.settled = f[2] == "1";
            map.buttonEvents = std::atol(f[3].c_str());
        } else if (f.size() == 8) {
            map.entries.push_back({f[0], f[1], f[2] == "1", std::atoi(f[3].c_str()), std::atoi(f[4].c_str()),
                                   std::atoi(f[5].c_str()), std::atoi(f[6].c_str()), f[7]});
        }
    }
    return map;
}

inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

// Polls `done` every 20 ms until it holds or `seconds` pass.
inline bool pollUntil(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

const char* const kTitle = "Flow Visualization Application";
constexpr double kTimeout = 60.0;  // generous: a placement runs inside the frame that asked for it

// The viewer started in `dir` with the panel map switched on.
class PanelViewer {
public:
    PanelViewer(const std::string& dir, const std::vector<std::string>& args) : dir_(dir) {
        mapPath_ = dir + "/.panelmap";
        std::filesystem::remove(mapPath_);
        setenv("QUILLMERE_PANEL_MAP", mapPath_.c_str(), 1);
        process_ = std::make_unique<Process>(programPath("quillmere"), args, dir);
        unsetenv("QUILLMERE_PANEL_MAP");
        ok_ = pollUntil([&] { return !process_->running() || map().settled; }, kTimeout) && process_->running() &&
              findWindow();
    }
    // Waits for the window to go, so that the next viewer's window is the only one.
    ~PanelViewer() {
        process_->kill();
        pollUntil([] { return windowIds().empty(); }, 10.0);
    }

    bool ok() const { return ok_; }
    Process& process() { return *process_; }
    std::string out() const { return process_->out(); }
    std::string err() const { return process_->err(); }
    int windowWidth() const { return width_; }
    int windowHeight() const { return height_; }
    // The window's top left on the screen (for grabScreen).
    int originX() const { return originX_; }
    int originY() const { return originY_; }

    PanelMap map() const { return parsePanelMap(readFile(mapPath_)); }

    // Sends mouse input through xdotool and waits until the panel has taken
    // its `events` button and wheel events (a click is two) and settled.
    PanelMap mouse(const std::string& command, int events) {
        const long target = map().buttonEvents + events;
        xdotool(command);
        PanelMap m;
        pollUntil([&] { return (m = map()).settled && m.buttonEvents >= target; }, kTimeout);
        return m;
    }
    // Waits until the map shows what `done` asks for, in a settled frame.
    bool waitMap(const std::function<bool(const PanelMap&)>& done) {
        return pollUntil(
            [&] {
                const PanelMap m = map();
                return m.settled && done(m);
            },
            kTimeout);
    }
    bool waitOutput(const std::function<bool(const std::string&)>& done) {
        return pollUntil([&] { return done(out()) || !process_->running(); }, kTimeout) && process_->running();
    }

    // Scrolls the panel until the control lies wholly inside the window;
    // returns it as now drawn, or nothing when it is not drawn at all.
    bool reveal(const std::string& kind, const std::string& label, MapEntry& entry) {
        for (int tries = 0; tries < 60; ++tries) {
            PanelMap m;
            pollUntil([&] { return (m = map()).settled; }, kTimeout);
            const MapEntry* e = m.find(kind, label);
            if (!e) return false;
            if (e->y >= 0 && e->y + e->h <= height_) {
                entry = *e;
                return true;
            }
            // Wheel up (4) or down (5) over the panel: one step scrolls a few lines.
            mouse(at(panelWidth / 2, height_ / 2) + (e->y < 0 ? " click 4" : " click 5"), 1);
        }
        return false;
    }

    // Clicks a control at a point given as fractions of its drawn rectangle
    // (the middle by default); returns once the click has been handled.
    bool click(const std::string& kind, const std::string& label, double fx = 0.5, double fy = 0.5) {
        MapEntry e;
        if (!reveal(kind, label, e)) return false;
        mouse(at(e.x + static_cast<int>(e.w * fx), e.y + static_cast<int>(e.h * fy)) + " click 1", 2);
        return true;
    }

    // Types into a spinner's number field (its left part) and presses Return;
    // keys keep their order with later mouse input, so the caller waits for
    // the value it expects.
    bool typeInto(const std::string& label, const std::string& text) {
        if (!click("spinner", label, 0.1)) return false;
        xdotool("type --delay 20 -- '" + text + "'");
        xdotool("key Return");
        return true;
    }

    // A left-button drag inside the graphics area, in steps; positions are
    // window pixels.
    void drag(int x0, int y0, int x1, int y1, int steps) { drag(1, x0, y0, x1, y1, steps); }

    // Presses "Screenshot" and returns the picture it saved; `folder` is the
    // viewer's current directory (the file browser may have moved it).
    Image screenshot(const std::string& folder, std::string* name = nullptr) {
        const int saved = countOf(out(), "- Screenshot saved.\n");
        if (!click("button", "Screenshot")) return Image();
        return savedScreenshot(folder, saved, name);
    }
    // The same with the "s" key, the pointer at (x, y) of the window; keys
    // are taken in order, so the picture shows what earlier keys did.
    Image keyScreenshot(const std::string& folder, int x, int y, std::string* name = nullptr) {
        const int saved = countOf(out(), "- Screenshot saved.\n");
        key("s", x, y);
        return savedScreenshot(folder, saved, name);
    }

    // Keys (xdotool's names, several separated by blanks) typed with the
    // pointer at (x, y) of the window, which then has the keyboard.
    void key(const std::string& keys, int x, int y) { xdotool(at(x, y) + " key --delay 30 " + keys); }

    // Wheel notches at (x, y): positive away from the user.
    PanelMap wheel(int x, int y, int notches) {
        std::string command = at(x, y);
        for (int i = 0; i < std::abs(notches); ++i) command += notches > 0 ? " click 4" : " click 5";
        return mouse(command, std::abs(notches));
    }

    // A drag with `button` (1 left, 2 middle, 3 right) from (x0, y0) to (x1, y1) in steps.
    void drag(int button, int x0, int y0, int x1, int y1, int steps) {
        const std::string b = std::to_string(button);
        std::string command = at(x0, y0) + " mousedown " + b;
        for (int i = 1; i <= steps; ++i) command += " " + at(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
        mouse(command + " mouseup " + b, 2);
    }

    // Resizes the window and waits for a frame of the new size.
    bool resize(int w, int h) {
        xdotool("windowsize " + windowIds().front() + " " + std::to_string(w) + " " + std::to_string(h));
        width_ = w;
        height_ = h;
        return waitMap([&](const PanelMap& m) { return m.dock() && m.dock()->h == h; });
    }

    // Window pixels as xdotool's mousemove; the window sits at a fixed place.
    std::string at(int x, int y) const {
        return "mousemove " + std::to_string(originX_ + x) + " " + std::to_string(originY_ + y);
    }

private:
    Image savedScreenshot(const std::string& folder, int saved, std::string* name) {
        if (!waitOutput([&](const std::string& o) { return countOf(o, "- Screenshot saved.\n") > saved; }))
            return Image();
        const std::string o = out();
        const std::string prefix = "- Saving screenshot to '";
        const auto start = o.rfind(prefix) + prefix.size();
        const std::string file = o.substr(start, o.find('\'', start) - start);
        if (name) *name = file;
        return loadPng(folder + "/" + file);
    }

public:
    static constexpr int panelWidth = 240;

private:
    static std::vector<std::string> windowIds() {
        return lines(xdotool(std::string("search --name '^") + kTitle + "$'"));
    }

    // The window's place on the screen; "Position: X,Y" and "Geometry: WxH".
    bool findWindow() {
        std::vector<std::string> ids;
        if (!pollUntil([&] { return (ids = windowIds()).size() == 1; }, kTimeout)) return false;
        const std::string info = xdotool("getwindowgeometry " + ids[0]);
        const auto pos = info.find("Position: ");
        const auto geo = info.find("Geometry: ");
        if (pos == std::string::npos || geo == std::string::npos) return false;
        return std::sscanf(info.c_str() + pos, "Position: %d,%d", &originX_, &originY_) == 2 &&
               std::sscanf(info.c_str() + geo, "Geometry: %dx%d", &width_, &height_) == 2;
    }

    std::string dir_;
    std::string mapPath_;
    std::unique_ptr<Process> process_;
    bool ok_ = false;
    int originX_ = 0, originY_ = 0, width_ = 0, height_ = 0;
};

// --- Pictures -------------------------------------------------------------

// Brightest channel of a pixel.
inline int level(const Image& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return std::max({p[0], p[1], p[2]});
}

// Bounding box of the lit pixels in the region from (x0, y0) to the image's end.
struct Box {
    int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
    bool empty() const { return x1 < 0; }
    bool operator==(const Box& o) const { return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1; }
};
inline Box litBox(const Image& image, int fromX, int fromY) {
    Box box;
    for (int y = fromY; y < image.height; ++y)
        for (int x = fromX; x < image.width; ++x)
            if (level(image, x, y) > 0) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x);
                box.y1 = std::max(box.y1, y);
            }
    return box;
}
inline std::string describe(const Box& b) {
    return "(" + std::to_string(b.x0) + "," + std::to_string(b.y0) + ")-(" + std::to_string(b.x1) + "," +
           std::to_string(b.y1) + ")";
}

// Pixels whose colour differs by more than tol on some channel; both images of one size.
inline int differingPixels(const Image& a, const Image& b, int tol, int fromY = 0, int toY = INT_MAX) {
    int n = 0;
    for (int y = fromY; y < std::min({a.height, b.height, toY}); ++y)
        for (int x = 0; x < std::min(a.width, b.width); ++x)
            for (int c = 0; c < 3; ++c)
                if (std::abs(a.at(x, y)[c] - b.at(x, y)[c]) > tol) {
                    ++n;
                    break;
                }
    return n;
}

// Arrow glyphs are orange (1.0, 0.6, 0.1) over the field.
inline int orangePixels(const Image& image) { return image.count(0, 0, image.width, image.height, 255, 153, 25, 40); }

// A double gyre, 2 x 1, with two data channels: streamlines fill it in a
// fraction of a second.
inline std::string gyreDataset(const std::string& dir, const std::string& name) {
    return generateDataset(dir, name,
                           {"--field", "gyre", "--nx", "129", "--ny", "65", "--x0", "0", "--x1", "2", "--y0", "0",
                            "--y1", "1", "--channels", "2"});
}

// A test that runs the viewer in a fresh folder prepared for it, with the
// gyre dataset "flow" in it.
class ViewerFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
        gyreDataset(dir.path(), "flow");
    }
    // Starts the viewer (after the last one has gone); a window that does
    // not come up fails the test.
    PanelViewer& start(const std::vector<std::string>& args) {
        viewer.reset();
        viewer = std::make_unique<PanelViewer>(dir.path(), args);
        EXPECT_TRUE(viewer->ok()) << viewer->out() << viewer->err();
        return *viewer;
    }

    TempDir dir;
    std::unique_ptr<PanelViewer> viewer;
};

// The "Datafile: " status line: rows 0 to 39 of the graphics area. A text is
// checked against two references that the viewer draws itself for datasets
// named `text` + ".gri" and `text` + "/f.gri": the shown line must agree with
// both up to its end, and the references must part right after it (at the
// '.' or the '/'), so a shorter or longer text fails.
class StatusReferences {
public:
    explicit StatusReferences(const std::string& dir) : dir_(dir) { prepareViewerDir(dir); }

    ::testing::AssertionResult reads(const Image& shown, const std::string& text) {
        const Image dotted = reference(text, text + ".gri", "dotted.png");
        std::filesystem::create_directory(dir_ + "/" + text);
        const Image slashed = reference(text + "/f", text + "/f.gri", "slashed.png");
        for (const Image* image : {&dotted, &slashed})
            if (!image->ok() || image->width != shown.width || image->height != shown.height)
                return ::testing::AssertionFailure() << "a reference is missing or of another size";
        int end = -1;
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < shown.width; ++x)
                if (level(shown, x, y) > 0) end = std::max(end, x);
        if (end < 50) return ::testing::AssertionFailure() << "no status line (last lit column " << end << ")";
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x <= end + 1; ++x)
                if (level(shown, x, y) != level(dotted, x, y) || level(shown, x, y) != level(slashed, x, y))
                    return ::testing::AssertionFailure() << "status pixels differ at (" << x << ", " << y << ")";
        for (int x = end + 2; x < shown.width; ++x) {
            bool lit = false;
            for (int y = 0; y < kRows; ++y) {
                if (level(dotted, x, y) != level(slashed, x, y)) return ::testing::AssertionSuccess();
                lit = lit || level(dotted, x, y) > 0;
            }
            if (lit) return ::testing::AssertionFailure() << "the text goes on after the shown line at " << x;
        }
        return ::testing::AssertionFailure() << "the references do not part";
    }

    static constexpr int kRows = 40;

private:
    // A wide, flat field stays clear of the status rows.
    Image reference(const std::string& base, const std::string& grid, const std::string& png) {
        generateDataset(dir_, base, {"--field", "saddle", "--nx", "33", "--ny", "9", "--x0", "-4", "--x1", "4"});
        std::filesystem::remove(dir_ + "/" + png);
        run(programPath("quillmere"), {"-datafile", grid, "-screenshot", png}, dir_);
        return loadPng(dir_ + "/" + png);
    }

    std::string dir_;
};

}  // namespace panel_e2e
