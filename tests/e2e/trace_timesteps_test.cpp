// quillmere-trace on a time series: --timestep K places the lines of the
// dataset of that step alone, and --all-timesteps writes one file per step,
// numbered by the pattern.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

TEST(TraceTimeSteps, StepKIsThatStepAloneAndEveryStepGetsItsFile) {
    TempDir dir;
    const std::vector<std::string> box = {"--field", "gyre", "--nx", "61",   "--ny", "25",   "--x0",
                                          "0",       "--x1", "3",    "--y0", "0",    "--y1", "1.2"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), box.begin(), box.end());
        return more;
    };
    generateDataset(dir.path(), "series", with({"--steps", "4", "--dtime", "1.5"}));
    generateDataset(dir.path(), "alone", with({"--time", "3"}));  // step 2

    const std::string trace = programPath("quillmere-trace");
    ASSERT_EQ(run(trace, {"alone.gri", "--rk2", "-o", "alone.csv"}, dir.path()).code, 0);
    ASSERT_EQ(run(trace, {"series.gri", "--rk2", "--timestep", "2", "-o", "step2.csv"}, dir.path()).code, 0);
    ASSERT_EQ(run(trace, {"series.gri", "--rk2", "-o", "step0.csv"}, dir.path()).code, 0);
    const std::string alone = readFile(dir.file("alone.csv"));
    EXPECT_GT(lines(alone).size(), 100u);
    // Compared whole; the files are too long to print when they differ.
    EXPECT_TRUE(readFile(dir.file("step2.csv")) == alone);
    EXPECT_TRUE(readFile(dir.file("step0.csv")) != alone);

    RunResult r = run(trace, {"series.gri", "--rk2", "--all-timesteps", "-o", "lines/l%d.vtk"}, dir.path());
    EXPECT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(run(trace, {"alone.gri", "--rk2", "-o", "alone.vtk"}, dir.path()).code, 0);
    EXPECT_TRUE(readFile(dir.file("lines/l2.vtk")) == readFile(dir.file("alone.vtk")));
    for (int step = 0; step < 4; ++step)
        EXPECT_TRUE(std::filesystem::exists(dir.file("lines/l" + std::to_string(step) + ".vtk")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("lines/l4.vtk")));

    // A missing step: the others are written, the exit code tells.
    std::filesystem::remove(dir.file("series.00001.dat"));
    std::filesystem::remove_all(dir.file("lines"));
    r = run(trace, {"series.gri", "--all-timesteps", "-o", "lines/l%d.csv"}, dir.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "+ Error loading dat file:series.00001.dat\n\nquillmere-trace: time step 1 not written\n");
    EXPECT_TRUE(std::filesystem::exists(dir.file("lines/l3.csv")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("lines/l1.csv")));

    r = run(trace, {"series.gri", "--timestep", "4", "-o", "x.csv"}, dir.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "+ Error loading time step 4: the dataset has time steps 0 to 3.\n\nquillmere-trace: cannot load "
              "series.gri\n");
    r = run(trace, {"series.gri", "--all-timesteps", "-o", "lines.csv"}, dir.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("quillmere-trace: --all-timesteps: 'lines.csv' needs exactly one %d for the time step", 0),
              0u);
}
