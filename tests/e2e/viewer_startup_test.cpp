// The viewer from start to exit under Xvfb: its console output in order, the
// status line of the overlay, and the failure paths of start-up and of
// opening a dataset. Every run saves a screenshot and exits, so the exit
// clean-up is part of what is checked.

#include "data/DatasetWriter.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kTitle = "Flow Visualization Application";
const char* const kRefused = "Error! Only gri-files are permitted.";

// Start-up lines up to and including the shader pair, with the two shader
// handles written as '#'.
std::vector<std::string> startLines() {
    return {"- Initializing GLUT ...",   "- GLUT initialized.",  "",
            "- Initializing GLEW ...",   "- GLEW initialized.",  "",
            "- Initializing DevIL ...",  "- DevIL initialized.", "",
            "Loading Shaders... ",       "vertexShader: #",      "fragmentShader: #",
            "Compiling vertex shader: ", "compiling succeeded!", "Compiling fragment shader: ",
            "compiling succeeded!"};
}

// The shader handles are whatever the driver hands out; they must be numbers.
std::vector<std::string> withHandlesMasked(std::vector<std::string> text) {
    for (std::string& line : text) {
        for (const std::string prefix : {"vertexShader: ", "fragmentShader: "}) {
            if (line.rfind(prefix, 0) != 0) continue;
            const std::string number = line.substr(prefix.size());
            if (!number.empty() && std::all_of(number.begin(), number.end(), ::isdigit)) line = prefix + "#";
        }
    }
    return text;
}

void append(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

std::vector<std::string> channelLines(int slot, const std::string& max, const std::string& min) {
    return {"Creating channel at " + std::to_string(slot) + " ... ok", "Maximum value in channel: " + max,
            "Minimum value in channel: " + min};
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Brightest channel of a pixel.
int level(const Image& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return std::max({p[0], p[1], p[2]});
}

// Rows of the "Datafile: " line; nothing else is drawn there for the
// datasets used here.
const int kStatusTop = 0;
const int kStatusBottom = 40;

int lastLitColumn(const Image& image) {
    int last = -1;
    for (int y = kStatusTop; y < kStatusBottom; ++y)
        for (int x = 0; x < image.width; ++x)
            if (level(image, x, y) > 0) last = std::max(last, x);
    return last;
}

// Whether `shown` draws the same status line as two references whose text
// is `text` followed by ".gri" and by "/f.gri": all three agree up to the end
// of the shown line, and the first lit column of the references after it is
// where they part (the '.' or the '/' right after the text). A shown text
// shorter or longer than `text` fails one of the two checks (trailing blanks
// aside, which draw nothing).
::testing::AssertionResult sameStatusText(const Image& shown, const Image& dotted, const Image& slashed) {
    for (const Image* image : {&dotted, &slashed})
        if (!image->ok() || image->width != shown.width || image->height != shown.height)
            return ::testing::AssertionFailure() << "a reference image is missing or of another size";
    const int end = lastLitColumn(shown);
    if (end < 50) return ::testing::AssertionFailure() << "no status line drawn (last lit column " << end << ")";
    for (int y = kStatusTop; y < kStatusBottom; ++y)
        for (int x = 0; x <= end + 1; ++x)
            if (level(shown, x, y) != level(dotted, x, y) || level(shown, x, y) != level(slashed, x, y))
                return ::testing::AssertionFailure() << "status pixels differ at (" << x << ", " << y << ")";
    for (int x = end + 2; x < shown.width; ++x) {
        bool lit = false;
        for (int y = kStatusTop; y < kStatusBottom; ++y) {
            if (level(dotted, x, y) != level(slashed, x, y)) return ::testing::AssertionSuccess();
            lit = lit || level(dotted, x, y) > 0;
        }
        if (lit) return ::testing::AssertionFailure() << "the text goes on after the shown line (column " << x << ")";
    }
    return ::testing::AssertionFailure() << "the references do not part";
}

int litPixelsBelowStatus(const Image& image) {
    int n = 0;
    for (int y = kStatusBottom; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (level(image, x, y) > 0) ++n;
    return n;
}

class ViewerStartup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
    }

    RunResult viewer(const std::vector<std::string>& args) { return run(program, args, dir.path(), 120.0); }

    // Runs with -screenshot and returns the saved image (empty on failure).
    // A batch run that reported an error exits with 1, its picture saved.
    Image shot(std::vector<std::string> args, RunResult* result = nullptr, int exitCode = 0) {
        args.push_back("-screenshot");
        args.push_back("shot.png");
        fs::remove(dir.file("shot.png"));
        RunResult r = viewer(args);
        EXPECT_EQ(r.code, exitCode) << r.err;
        EXPECT_FALSE(contains(r.err, "OpenGL Error")) << r.err;
        if (result) *result = r;
        return loadPng(dir.file("shot.png"));
    }

    // A wide dataset, so that the field stays clear of the status line.
    std::string wideDataset(const std::string& name) {
        return generateDataset(dir.path(), name, {"--field", "uniform", "--nx", "65", "--ny", "9"});
    }

    // Whether the status line of `shown` reads exactly "Datafile: " + text.
    ::testing::AssertionResult statusReads(const Image& shown, const std::string& text) {
        auto found = references.find(text);
        if (found == references.end()) {
            wideDataset(text);
            fs::create_directory(dir.file(text));
            generateDataset(dir.file(text), "f", {"--field", "uniform", "--nx", "65", "--ny", "9"});
            found = references
                        .emplace(text, std::make_pair(shot({"-datafile", text + ".gri"}),
                                                      shot({"-datafile", text + "/f.gri"})))
                        .first;
        }
        return sameStatusText(shown, found->second.first, found->second.second);
    }

    // Waits until the program has entered its main loop.
    static bool waitForMainLoop(Process& p) {
        for (int i = 0; i < 3000 && p.running(); ++i) {
            if (contains(p.out(), "arrow texture created\n")) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    TempDir dir;
    std::string program = programPath("quillmere");
    std::map<std::string, std::pair<Image, Image>> references;
};

// A 5 x 5 rotation about the centre with two data channels of known range:
// its centre seed has no velocity, so the placement starts from a seed of
// the lattice around it.
std::string writeRotation(const std::string& base) {
    return DatasetWriter(DatasetWriter::evenlySpaced(-1, 1, 5), DatasetWriter::evenlySpaced(-1, 1, 5))
        .dataChannels(2)
        .velocity([](float x, float y) {
            return std::array<float, 3>{-y, x, 0.0f};
        })
        .data([](int channel, float x, float y) { return channel == 1 ? x + 2.0f : 3.0f * y; })
        .write(base);
}

TEST_F(ViewerStartup, StartupOpeningAndExitPrintTheirLinesInOrder) {
    writeRotation(dir.file("flow"));
    RunResult r;
    const Image image = shot({"-datafile", "flow.gri"}, &r);
    EXPECT_EQ(r.err, "");

    // The opener's resolution of 538 texels gives 5 nodes 107 texels each.
    const std::string side = std::to_string(538 / 5 * 5);
    std::vector<std::string> expected = startLines();
    append(expected,
           {"- Loading grid file 'flow.gri' ... ", "Dimensions: 5 x 5 x 1", "X Boundaries: -1 ... 1",
            "Y Boundaries: -1 ... 1", "Channels: 2", "Timesteps: 1", "- Loading dat file 'flow.00000.dat' ... "});
    append(expected, channelLines(0, "1", "-1"));  // velocity x = -y
    append(expected, channelLines(1, "1", "-1"));  // velocity y = x
    append(expected, channelLines(2, "0", "0"));
    append(expected, channelLines(3, "3", "1"));   // x + 2
    append(expected, channelLines(4, "3", "-3"));  // 3 y
    expected.push_back("Debuging: Flipped for shader: 0");
    append(expected, channelLines(5, "1", "-1"));      // node x
    append(expected, channelLines(6, "1", "-1"));      // node y
    append(expected, {"Creating channel at 7 ... ok",  // magnitude: no range lines
                      "Debuging: texture velocity: " + side + " x " + side, "texture velocity erzeugt and uploaded",
                      "Debuging: texture data one channel 3 created", "Debuging: texture data two channel 4 created",
                      "DEBUG: tf texture uploaded", "DEBUG: arrow tf texture uploaded"});
    // The placement's lines, as the export tool prints them for the same settings.
    const RunResult traced = run(programPath("quillmere-trace"), {"flow.gri", "-o", "lines.csv"}, dir.path());
    const auto placement = placementBlocks(traced.out);
    ASSERT_EQ(placement.size(), 1u) << traced.out;
    EXPECT_EQ(std::count(placement[0].begin(), placement[0].end(), "Number of points in streamlines: 0"), 0);
    append(expected, placement[0]);
    append(expected, {"- Entering main loop ...", "", "arrow texture created", "- Saving screenshot to 'shot.png' ...",
                      "- Screenshot saved."});
    for (int slot = 0; slot < 8; ++slot) expected.push_back("Deleting channel at " + std::to_string(slot) + " ... ok");
    expected.push_back("cleaned up and exit now");

    EXPECT_EQ(withHandlesMasked(lines(r.out)), expected);
    EXPECT_TRUE(image.ok());
}

TEST_F(ViewerStartup, DataTexturesAndChannelSlotsFollowTheChannelCount) {
    for (int channels : {0, 1, 2, 3}) {
        SCOPED_TRACE("data channels: " + std::to_string(channels));
        generateDataset(dir.path(), "flow",
                        {"--field", "saddle", "--nx", "9", "--ny", "9", "--channels", std::to_string(channels)});
        RunResult r;
        shot({"-datafile", "flow.gri"}, &r);
        const std::vector<std::string> out = lines(r.out);
        auto count = [&](const std::string& prefix) {
            return std::count_if(out.begin(), out.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
        };
        // Velocity, the file's channels, node x and y, and the magnitude.
        EXPECT_EQ(count("Creating channel at "), channels + 6);
        EXPECT_EQ(count("Deleting channel at "), channels + 6);
        EXPECT_EQ(count("Debuging: texture velocity: "), 1);
        // Every data channel gets its data texture.
        EXPECT_EQ(count("Debuging: texture data one channel 3 created"), channels >= 1 ? 1 : 0);
        EXPECT_EQ(count("Debuging: texture data two channel 4 created"), channels >= 2 ? 1 : 0);
        EXPECT_EQ(count("Debuging: texture data 3 channel 5 created"), channels >= 3 ? 1 : 0);
        EXPECT_TRUE(
            containsInOrder(out, {"Debuging: Flipped for shader: 0", "texture velocity erzeugt and uploaded",
                                  "DEBUG: tf texture uploaded", "DEBUG: arrow tf texture uploaded", "Distance Field OK",
                                  "- Entering main loop ...", "arrow texture created", "cleaned up and exit now"}));
    }
}

TEST_F(ViewerStartup, WithoutArgumentsTheStatusSaysNoDataFileAndNothingElseIsDrawn) {
    RunResult r;
    const Image none = shot({}, &r);
    std::vector<std::string> expected = startLines();
    append(expected, {"- Entering main loop ...", "", "arrow texture created", "- Saving screenshot to 'shot.png' ...",
                      "- Screenshot saved.", "cleaned up and exit now"});
    EXPECT_EQ(withHandlesMasked(lines(r.out)), expected);
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(none.ok());
    EXPECT_EQ(litPixelsBelowStatus(none), 0);

    EXPECT_TRUE(statusReads(none, "No data file specified"));
}

TEST_F(ViewerStartup, WithoutArgumentsTheWindowStaysOpenInItsMainLoop) {
    Process p(programPath("quillmere"), {}, dir.path());
    ASSERT_TRUE(waitForMainLoop(p)) << p.out() << p.err();
    EXPECT_FALSE(xdotool(std::string("search --name '^") + kTitle + "$'").empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(p.running());
    p.kill();
}

TEST_F(ViewerStartup, ANonGridFileIsRefusedInTheStatusLineAndTheProgramGoesOn) {
    wideDataset("flow");
    for (const std::string path : {"flow.00000.dat", "flow.GRI", "flow.gri.bak", "gri"}) {
        SCOPED_TRACE(path);
        RunResult r;
        const Image refused = shot({"-datafile", path}, &r, 1);
        EXPECT_FALSE(contains(r.out, "- Loading grid file")) << "the extension is tested before any load";
        EXPECT_TRUE(containsInOrder(lines(r.out),
                                    {"- Entering main loop ...", "- Screenshot saved.", "cleaned up and exit now"}));
        EXPECT_EQ(r.err, "Dataset not opened: " + path + "\n");
        ASSERT_TRUE(refused.ok());
        EXPECT_TRUE(statusReads(refused, kRefused));
        EXPECT_EQ(litPixelsBelowStatus(refused), 0);
    }

    Process p(programPath("quillmere"), {"-datafile", "flow.00000.dat"}, dir.path());
    ASSERT_TRUE(waitForMainLoop(p)) << p.out() << p.err();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(p.running());
    p.kill();
}

TEST_F(ViewerStartup, UnreadableDatasetsPrintTheirErrorAndLeaveNoScene) {
    struct Case {
        std::string kind;  // flowgen --broken kind, or how the files are made unreadable
        std::string err;   // the whole of standard error; a trailing '*' matches any rest
    };
    const std::vector<Case> cases = {
        {"short-grid", "+ Error reading grid file.\n\n"},
        {"short-data", "+ Error reading dat file:br.00000.dat\n\n"},
        {"dims2", "Invalid Z dimension value.\n"},
        {"bad-magic", "+ Error in grid file header:br.gri*"},
        {"few-values", "+ Error in grid file header:br.gri*"},
        {"huge", "+ Error in grid file header:br.gri*"},
        {"no-grid", "+ Error loading grid file:br.gri\n\n"},
        {"no-data", "+ Error loading dat file:br.00000.dat\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        fs::remove(dir.file("br.gri"));
        fs::remove(dir.file("br.00000.dat"));
        if (c.kind == "no-data") {
            generateDataset(dir.path(), "br", {"--field", "uniform"});
            fs::remove(dir.file("br.00000.dat"));
        } else if (c.kind != "no-grid") {
            generateDataset(dir.path(), "br", {"--field", "uniform", "--broken", c.kind});
        }
        // Every dataset-dependent setting asks for the scene that is not there.
        RunResult r;
        const Image image =
            shot({"-datafile", "br.gri", "-showStreamlines", "1", "-streamlineMode", "2", "-showArrowPlot", "1",
                  "-applyArrowTf", "1", "-backgroundChannel", "1", "-dsep", "0.3", "-seedPoints", "7"},
                 &r, 1);
        const std::string last = "Dataset not opened: br.gri\n";
        ASSERT_GT(r.err.size(), last.size()) << r.err;
        const std::string loaderErr = r.err.substr(0, r.err.size() - last.size());
        EXPECT_EQ(r.err.substr(loaderErr.size()), last);
        if (c.err.back() == '*') {
            EXPECT_EQ(loaderErr.rfind(c.err.substr(0, c.err.size() - 1), 0), 0u) << r.err;
            EXPECT_TRUE(!loaderErr.empty() && loaderErr.back() == '\n') << r.err;
        } else {
            EXPECT_EQ(loaderErr, c.err);
        }
        EXPECT_TRUE(contains(r.out, "- Loading grid file 'br.gri' ... \n"));
        EXPECT_FALSE(contains(r.out, "Debuging: texture velocity"));
        EXPECT_FALSE(contains(r.out, "Distance Field OK"));
        EXPECT_TRUE(containsInOrder(lines(r.out), {"- Entering main loop ...", "arrow texture created",
                                                   "- Screenshot saved.", "cleaned up and exit now"}));
        ASSERT_TRUE(image.ok());
        EXPECT_TRUE(statusReads(image, kRefused));
        EXPECT_EQ(litPixelsBelowStatus(image), 0);
    }
}

// Copies the shaders into a folder of their own so that a test can spoil
// them, and runs a copy of the viewer that finds no others.
class ViewerShaders : public ViewerStartup {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        program = isolatedViewer(dir.path());
        fs::create_directory(dir.file("src"));
        for (const char* name : {"Flow.vert", "Flow.frag"})
            fs::copy_file(fs::path(QM_BINARY_DIR) / "src" / name, fs::path(dir.file("src")) / name);
        fs::create_directory_symlink(fs::path(QM_BINARY_DIR) / "img", dir.file("img"));
    }
};

TEST_F(ViewerShaders, AnEmptyOrMissingShaderEndsTheProgramBeforeCompiling) {
    { std::ofstream empty(dir.file("src/Flow.frag"), std::ios::trunc); }
    RunResult r = viewer({});
    EXPECT_EQ(r.code, 0);
    const std::vector<std::string> start = startLines();
    // Up to the two handle lines.
    std::vector<std::string> expected(start.begin(), start.begin() + 12);
    expected.push_back("Problem loading shaders! Could not load them!");
    EXPECT_EQ(withHandlesMasked(lines(r.out)), expected);

    EXPECT_EQ(r.err, "");

    // Missing: the same lines, after saying where the pair was looked for.
    // A batch run ends with 1.
    fs::remove(dir.file("src/Flow.vert"));
    const std::string looked = "Looked for src/Flow.vert and src/Flow.frag in " + dir.path() + ", " + dir.path() +
                               "/bin, " + dir.path() + "/share/quillmere\n";
    r = viewer({});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(withHandlesMasked(lines(r.out)), expected);
    EXPECT_EQ(r.err, looked);
    r = viewer({"-screenshot", "shot.png"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(withHandlesMasked(lines(r.out)), expected);
    EXPECT_EQ(r.err, looked);
}

TEST_F(ViewerShaders, AVertexShaderWarningEndsTheProgramWithTheCompilerLog) {
    std::string source = readFile(dir.file("src/Flow.vert"));
    const size_t afterVersion = source.find('\n') + 1;
    source.insert(afterVersion, "#extension GL_ARB_quillmere_no_such_extension : warn\n");
    {
        std::ofstream out(dir.file("src/Flow.vert"), std::ios::trunc);
        out << source;
    }

    // Mesa's on-disk shader cache hands back a cached shader without its
    // compile log, so a second run would see no warning.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    RunResult r = viewer({"-screenshot", "shot.png"});
    unsetenv("MESA_SHADER_CACHE_DISABLE");
    EXPECT_EQ(r.code, 1);  // a batch run that cannot draw fails
    std::vector<std::string> out = withHandlesMasked(lines(r.out));
    const std::vector<std::string> start = startLines();
    // Up to "Compiling vertex shader: ".
    std::vector<std::string> expected(start.begin(), start.begin() + 13);
    expected.push_back("compiler_log:");
    ASSERT_GT(out.size(), expected.size()) << r.out;
    EXPECT_EQ(std::vector<std::string>(out.begin(), out.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_TRUE(contains(r.out, "GL_ARB_quillmere_no_such_extension")) << r.out;
    EXPECT_FALSE(contains(r.out, "compiling succeeded!"));
    EXPECT_FALSE(contains(r.out, "- Entering main loop ..."));
    EXPECT_FALSE(fs::exists(dir.file("shot.png")));
}

TEST_F(ViewerShaders, AMissingArrowImageIsReportedAndTheViewerStillSavesItsScreenshot) {
    fs::remove(dir.file("img"));
    RunResult r;
    const Image image = shot({}, &r, 1);
    EXPECT_TRUE(
        containsInOrder(lines(r.out), {"- Entering main loop ...", "Error: Loading arrow image failed!",
                                       "arrow texture created", "- Screenshot saved.", "cleaned up and exit now"}))
        << r.out;
    EXPECT_EQ(r.err, "Looked for img/arrow.tga in " + dir.path() + ", " + dir.path() + "/bin, " + dir.path() +
                         "/share/quillmere\n");
    EXPECT_TRUE(image.ok());
}

}  // namespace
