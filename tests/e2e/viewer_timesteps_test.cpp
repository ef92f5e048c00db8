// Time series in the viewer, read from its -screenshot images: step K shows
// exactly what the dataset of that step alone shows; a step that cannot be
// read keeps the step on screen and says so in the status line; the colour
// range of all steps makes colours compare across frames; -allTimesteps
// writes one frame per step.
//
// Geometry of the initial window: the graphics area is 1024 minus the panel
// wide and 700 high, 500 pixels per view unit around its centre, and the
// field quad's longer side is 1.3 view units.

#include "data/DatasetWriter.h"
#include "panel/PanelWindow.h"
#include "support/PanelDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace panel_e2e;
namespace fs = std::filesystem;

namespace {

// Rows of the status line, left out where two datasets of other names are compared.
constexpr int kStatusRows = StatusReferences::kRows;

class ViewerTimeSteps : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
    }

    // The moving double gyre on a 3 x 1.2 box: `args` adds the time options.
    std::string gyre(const std::string& name, std::vector<std::string> args) {
        std::vector<std::string> all = {"--field", "gyre", "--nx", "91",   "--ny", "37",   "--x0",
                                        "0",       "--x1", "3",    "--y0", "0",    "--y1", "1.2"};
        all.insert(all.end(), args.begin(), args.end());
        return generateDataset(dir.path(), name, all);
    }

    RunResult viewer(std::vector<std::string> args) { return run(programPath("quillmere"), args, dir.path(), 120.0); }

    Image shoot(const std::string& grid, std::vector<std::string> settings, const std::string& png) {
        std::vector<std::string> args = {"-datafile", grid};
        args.insert(args.end(), settings.begin(), settings.end());
        args.insert(args.end(), {"-screenshot", png});
        const RunResult r = viewer(args);
        EXPECT_EQ(r.code, 0) << r.err;
        return loadPng(dir.file(png));
    }

    TempDir dir;
};

TEST_F(ViewerTimeSteps, StepKShowsWhatThatStepAloneShows) {
    gyre("series", {"--steps", "5", "--dtime", "1.5"});
    gyre("alone", {"--time", "3"});  // step 2 of the series
    const std::vector<std::string> look = {"-showStreamlines", "1", "-dsep", "0.1", "-dtest", "0.05", "-backgroundChannel", "1"};
    std::vector<std::string> atStep2 = look;
    atStep2.insert(atStep2.end(), {"-timestep", "2"});
    const Image series = shoot("series.gri", atStep2, "series.png");
    const Image alone = shoot("alone.gri", look, "alone.png");
    const Image step0 = shoot("series.gri", look, "step0.png");
    ASSERT_TRUE(series.ok() && alone.ok() && step0.ok());
    EXPECT_EQ(differingPixels(series, alone, 0, kStatusRows), 0);
    // The steps differ, so the comparison above sees the step.
    EXPECT_GT(differingPixels(series, step0, 8, kStatusRows), 5000);

    StatusReferences status(dir.path());
    EXPECT_TRUE(status.reads(series, "series.gri, time step 2 (0 to 4)"));
}

TEST_F(ViewerTimeSteps, AStepThatCannotBeReadKeepsTheStepOnScreen) {
    gyre("series", {"--steps", "5", "--dtime", "1.5"});
    fs::remove(dir.file("series.00003.dat"));
    const std::vector<std::string> look = {"-showStreamlines", "1", "-dsep", "0.1", "-dtest", "0.05"};
    std::vector<std::string> atStep3 = look;
    atStep3.insert(atStep3.end(), {"-timestep", "3", "-screenshot", "missing.png", "-datafile", "series.gri"});
    const RunResult r = viewer(atStep3);
    EXPECT_EQ(r.code, 1) << r.err;  // a batch run that met an error says so
    EXPECT_EQ(r.err, "+ Error loading dat file:series.00003.dat\n\n");
    const Image missing = loadPng(dir.file("missing.png"));
    const Image step0 = shoot("series.gri", look, "step0.png");
    ASSERT_TRUE(missing.ok() && step0.ok());
    EXPECT_EQ(differingPixels(missing, step0, 0, kStatusRows), 0);

    StatusReferences status(dir.path());
    EXPECT_TRUE(status.reads(missing, "Error! Time step 3 could not be read; step 0 is shown."));
}

// A rigid rotation scaled by 1 + s at step s, through a transfer function
// from black to orange (1, 0.6, 0.2): at a point 3/4 of the way from the
// centre to the right edge, this step's range gives the same colour at every
// step; the range of all steps gives step 0 a third of step 2's.
TEST_F(ViewerTimeSteps, TheColourRangeOfAllStepsComparesAcrossFrames) {
    const std::vector<float> xs = DatasetWriter::evenlySpaced(-1.5f, 1.5f, 61);
    const std::vector<float> ys = DatasetWriter::evenlySpaced(-0.6f, 0.6f, 25);
    DatasetWriter(xs, ys)
        .timeSteps(3)
        .records([](const DatasetWriter::Node& n, float* r) {
            r[0] = -n.y * static_cast<float>(1 + n.step);
            r[1] = n.x * static_cast<float>(1 + n.step);
        })
        .write(dir.file("spin"));
    std::string options = readFile(std::string(QM_SOURCE_DIR) + "/tests/golden/options_default.xml");
    const std::size_t velocity = options.find("<x>4</x>");
    ASSERT_NE(velocity, std::string::npos);
    options.replace(options.find("<green>1</green>", velocity), 16, "<green>0.6</green>");
    options.replace(options.find("<blue>1</blue>", velocity), 14, "<blue>0.2</blue>");
    std::ofstream(dir.file("orange.xml")) << options;

    const int x = static_cast<int>((1024 - PanelWindow::defaultWidth) / 2 + 0.75 * 0.65 * 500.0);
    const int y = 350;
    const double share = std::hypot(1.125, 0.0) / std::hypot(1.5, 0.6);  // of the largest speed of a step
    auto colourAt = [&](int step, int range) {
        const Image image =
            shoot("spin.gri",
                  {"-options", "orange.xml", "-colorRange", std::to_string(range), "-timestep", std::to_string(step)},
                  "spin.png");
        EXPECT_TRUE(image.ok());
        const std::uint8_t* p = image.ok() ? image.at(x, y) : nullptr;
        return p ? std::vector<int>{p[0], p[1], p[2]} : std::vector<int>{};
    };
    auto near = [](const std::vector<int>& shown, double level) {
        const double expected[3] = {255 * level, 153 * level, 51 * level};
        for (int c = 0; c < 3; ++c)
            if (shown.size() != 3 || std::abs(shown[static_cast<std::size_t>(c)] - expected[c]) > 6)
                return ::testing::AssertionFailure()
                       << "channel " << c << " is " << (shown.size() == 3 ? shown[static_cast<std::size_t>(c)] : -1)
                       << ", expected " << expected[c];
        return ::testing::AssertionSuccess();
    };
    EXPECT_TRUE(near(colourAt(0, 0), share));
    EXPECT_TRUE(near(colourAt(2, 0), share));
    EXPECT_TRUE(near(colourAt(0, 1), share / 3));
    EXPECT_TRUE(near(colourAt(2, 1), share));
}

TEST_F(ViewerTimeSteps, AllTimestepsWritesOneFramePerStep) {
    gyre("series", {"--steps", "3", "--dtime", "1.5"});
    const std::vector<std::string> look = {"-showStreamlines", "1", "-dsep", "0.1", "-dtest", "0.05"};
    std::vector<std::string> frames = look;
    frames.insert(frames.end(), {"-datafile", "series.gri", "-screenshot", "frames/f%02d.png", "-allTimesteps", "1"});
    RunResult r = viewer(frames);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(containsInOrder(lines(r.out), {"- Saving screenshot to 'frames/f00.png' ...", "- Screenshot saved.",
                                               "- Saving screenshot to 'frames/f01.png' ...", "- Screenshot saved.",
                                               "- Saving screenshot to 'frames/f02.png' ...", "- Screenshot saved.",
                                               "- Wrote 3 of 3 time steps."}));
    std::vector<std::string> atStep1 = look;
    atStep1.insert(atStep1.end(), {"-timestep", "1"});
    const Image step1 = shoot("series.gri", atStep1, "step1.png");
    const Image frame1 = loadPng(dir.file("frames/f01.png"));
    ASSERT_TRUE(step1.ok() && frame1.ok());
    EXPECT_EQ(differingPixels(frame1, step1, 0), 0);

    // A step that cannot be read is left out, the others are written, and the exit code says so.
    fs::remove_all(dir.file("frames"));
    fs::remove(dir.file("series.00001.dat"));
    r = viewer(frames);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(fs::exists(dir.file("frames/f00.png")));
    EXPECT_FALSE(fs::exists(dir.file("frames/f01.png")));
    EXPECT_TRUE(fs::exists(dir.file("frames/f02.png")));
    EXPECT_EQ(r.err,
              "+ Error loading dat file:series.00001.dat\n\nTime step 1 not written: its data could not be read\n");
    EXPECT_NE(r.out.find("- Wrote 2 of 3 time steps.\n"), std::string::npos);

    // A name that is no pattern writes nothing.
    r = viewer({"-datafile", "series.gri", "-screenshot", "frame%s.png", "-allTimesteps", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "Cannot export the time steps: 'frame%s.png' may hold only %d, %0Nd or %Nd (N from 1 to 9) and "
              "%%\n");
}

}  // namespace
