// The viewer in scripts: help and version without a display, and batch runs
// (-screenshot) that always end, with exit code 1 and the reason on standard
// error for every kind of failure; the picture is still saved whenever a
// frame can be drawn, through the safe writer.

#include "app/ViewerArguments.h"
#include "support/FileLimits.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kSeeHelp = "Run 'quillmere --help' for the options.\n";

bool samePixels(const Image& a, const Image& b) {
    return a.ok() && a.width == b.width && a.height == b.height && a.rgba == b.rgba;
}

class ViewerBatch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
        generateDataset(dir.path(), "flow", {"--field", "rotation", "--nx", "33", "--ny", "17"});
    }

    RunResult viewer(const std::vector<std::string>& args) { return run(programPath("quillmere"), args, dir.path()); }

    TempDir dir;
};

TEST(ViewerHelp, HelpAndVersionAnswerWithoutADisplay) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    const TempDir dir;
    for (const char* spelling : {"--help", "-h", "-help"}) {
        const RunResult r = run(programPath("quillmere"), {"-datafile", "flow.gri", spelling}, dir.path());
        EXPECT_EQ(r.code, 0) << spelling;
        EXPECT_EQ(r.out, viewerHelp()) << spelling;
        EXPECT_EQ(r.err, "") << spelling;
    }
    const RunResult v = run(programPath("quillmere"), {"--version"}, dir.path());
    EXPECT_EQ(v.code, 0);
    EXPECT_EQ(v.out, "quillmere 0.2.0\n");
    EXPECT_EQ(v.err, "");
    if (display) setenv("DISPLAY", saved.c_str(), 1);
}

TEST_F(ViewerBatch, AnUnknownOptionIsIgnoredInThePictureButFailsTheRun) {
    const RunResult clean = viewer({"--datafile=flow.gri", "--screenshot", "clean.png"});
    EXPECT_EQ(clean.code, 0) << clean.err;
    EXPECT_EQ(clean.err, "");
    const Image reference = loadPng(dir.file("clean.png"));
    ASSERT_TRUE(reference.ok());

    const RunResult r = viewer({"-v", "-screenshot", "shot.png", "-datafile", "flow.gri"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Ignoring unknown option -v\n" + kSeeHelp);
    EXPECT_NE(r.out.find("- Screenshot saved.\n"), std::string::npos);
    EXPECT_TRUE(samePixels(loadPng(dir.file("shot.png")), reference));
}

TEST_F(ViewerBatch, WithoutAFileNameTheRunEndsAtOnce) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"-datafile", "flow.gri", "-screenshot", ""},
                                                 std::vector<std::string>{"-datafile", "flow.gri", "-screenshot"},
                                                 std::vector<std::string>{"-screenshot", "-datafile", "flow.gri"}}) {
        const RunResult r = viewer(args);
        EXPECT_EQ(r.code, 1) << args[2];
        EXPECT_EQ(r.out, "");  // no window was opened
        EXPECT_EQ(r.err, "Missing value for option -screenshot\n");
    }
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"flow.00000.dat", "flow.gri", "img", "src"}));
}

TEST_F(ViewerBatch, EveryErrorBeforeThePictureExitsWithOneAndSaysWhy) {
    std::ofstream(dir.file("broken.xml")) << "<?xml version=\"1.0\"?>\n<flow_visualization_options>\n";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"-datafile", "missing.gri"}, "+ Error loading grid file:missing.gri\n\nDataset not opened: missing.gri\n"},
        {{"-datafile", "flow.00000.dat"}, "Dataset not opened: flow.00000.dat\n"},
        {{"-datafile", "flow.gri", "-options", "broken.xml"},
         "error while loeding the xml config file: file not found\n"},
        {{"-options", "broken.xml"}, "Ignoring -options: no dataset is open\n"},
        {{"-datafile", "flow.gri", "-dsep", "abc"}, "Ignoring -dsep: 'abc' is not a number\n"},
        {{"-datafile", "flow.gri", "-dsep", "-1"},
         "Streamlines not placed: dsep must be a positive number (dsep = -1)\n"},
        {{"-datafile", "--seedPoints", "3"}, "Missing value for option -datafile\n" + kSeeHelp},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-screenshot", "shot.png"});
        fs::remove(dir.file("shot.png"));
        const RunResult r = viewer(args);
        SCOPED_TRACE(args[1]);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, c.err);
        // The frame was drawn, so it was saved as well.
        EXPECT_TRUE(loadPng(dir.file("shot.png")).ok());
    }
}

TEST_F(ViewerBatch, TheScreenshotIsWrittenThroughTheSafeWriter) {
    // A symlinked target is saved through to its file, whose permissions stay.
    fs::create_directory(dir.file("shots"));
    std::ofstream(dir.file("shots/latest-real.png")) << "old picture";
    ::chmod(dir.file("shots/latest-real.png").c_str(), 0640);
    fs::create_symlink("shots/latest-real.png", dir.file("latest.png"));
    RunResult r = viewer({"-datafile", "flow.gri", "-screenshot", "latest.png"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir.file("latest.png")));
    EXPECT_TRUE(loadPng(dir.file("shots/latest-real.png")).ok());
    EXPECT_EQ(fs::status(dir.file("shots/latest-real.png")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(folderEntries(dir.file("shots")), std::vector<std::string>{"latest-real.png"});

    // A disk that fills up keeps the previous picture.
    std::ofstream(dir.file("kept.png")) << "previous picture";
    {
        const FileSizeLimit full(8192);
        r = viewer({"-datafile", "flow.gri", "-screenshot", "kept.png"});
    }
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Unable to save image\ncannot write 'kept.png': File too large\n");
    EXPECT_EQ(readFile(dir.file("kept.png")), "previous picture");
}

TEST_F(ViewerBatch, CameraValuesFromAnOptionsFileCannotBreakTheProjection) {
    // Far beyond float rounding of the view box, and a view without height.
    std::ofstream(dir.file("far.xml")) << "<?xml version=\"1.0\"?>\n<flow_visualization_options><camera><translation>"
                                          "<x>1e8</x><y>-1e8</y></translation><zoom>-0.7</zoom></camera>"
                                          "</flow_visualization_options>\n";
    const RunResult r = viewer({"-datafile", "flow.gri", "-options", "far.xml", "-screenshot", "shot.png"});
    EXPECT_NE(r.out.find("- Screenshot saved.\n"), std::string::npos);
    EXPECT_EQ(r.err.find("OpenGL Error"), std::string::npos) << r.err;
}

TEST_F(ViewerBatch, AnInteractiveRunReportsUnknownOptionsAndCarriesOn) {
    Process p(programPath("quillmere"), {"-v", "-datafile", "flow.gri", "--dsep"}, dir.path());
    bool inMainLoop = false;
    for (int i = 0; i < 3000 && p.running() && !inMainLoop; ++i) {
        inMainLoop = p.out().find("arrow texture created\n") != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(inMainLoop) << p.out() << p.err();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(p.running());
    EXPECT_EQ(p.err(), "Ignoring unknown option -v\nMissing value for option -dsep\n" + kSeeHelp);
    p.kill();
}

}  // namespace
