// The dataset writer's time steps and failures, read back through the loader.
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(DatasetWriterSteps, EveryStepGetsItsOwnDataFileFilledForThatStep) {
    const TempDir dir;
    DatasetWriter writer({0.0f, 1.0f, 2.0f}, {0.0f, 1.0f});
    writer.timeSteps(3).dataChannels(1).records([](const DatasetWriter::Node& node, float* record) {
        record[0] = static_cast<float>(node.step);
        record[3] = static_cast<float>(node.i + 10 * node.j);
    });
    const std::string grid = writer.write(dir.file("flow"));
    EXPECT_FALSE(fs::exists(dir.file("flow.00003.dat")));

    // The loader reads step 0 only: each step's file is loaded in that place.
    for (int step = 0; step < 3; ++step) {
        const std::string base = dir.file("step" + std::to_string(step));
        fs::copy_file(grid, base + ".gri");
        fs::copy_file(DatasetWriter::dataFileName(dir.file("flow"), step), base + ".00000.dat");
        FlowData data(nullptr);
        ConsoleCapture quiet;
        ASSERT_TRUE(data.load(base + ".gri", false)) << quiet.err();
        EXPECT_EQ(data.timeStepCount(), 3);
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(data.channel(0)->valueAt(k), static_cast<float>(step)) << "step " << step;
            EXPECT_EQ(data.channel(3)->valueAt(k), static_cast<float>(k % 3 + 10 * (k / 3))) << "node " << k;
        }
    }
}

TEST(DatasetWriterFailures, AreReportedWithTheFileOrTheHeader) {
    const TempDir dir;
    const DatasetWriter writer({0.0f, 1.0f}, {0.0f, 1.0f});
    try {
        writer.write(dir.file("missing/flow"));
        ADD_FAILURE() << "no error for a missing directory";
    } catch (const DatasetWriteError& e) {
        EXPECT_EQ(e.path(), dir.file("missing/flow.gri"));
        EXPECT_EQ(std::string(e.what()), "cannot write '" + dir.file("missing/flow.gri") + "'");
    }

    // Six numbers that cannot fit in 40 bytes, even with the shortest real.
    DatasetHeader tooLong{2000000000, 2000000000, 1, 1000000000, 1000000000};
    EXPECT_THROW(tooLong.text(), std::length_error);
}

}  // namespace
