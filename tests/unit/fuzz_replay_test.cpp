// Every saved fuzz input (tests/fuzz/inputs/<target>/: the seeds and each
// input that once broke a property) through the fuzz targets' own checks,
// so that CI guards them without clang.

#include "fuzz/FuzzChecks.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using Check = std::string (*)(const std::uint8_t*, std::size_t);

// Runs every input of the target's folder; returns how many there were.
int replay(const std::string& target, Check check) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(std::string(QM_FUZZ_INPUTS) + "/" + target)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::string problem;
        {
            const ConsoleCapture quiet;
            problem = check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        }
        EXPECT_EQ(problem, "") << entry.path();
        ++count;
    }
    return count;
}

TEST(FuzzReplay, XmlInputs) { EXPECT_GE(replay("xml", checkXmlInput), 8); }

TEST(FuzzReplay, OptionsInputs) { EXPECT_GE(replay("options", checkOptionsInput), 8); }

TEST(FuzzReplay, DatasetInputs) { EXPECT_GE(replay("dataset", checkDatasetInput), 8); }

}  // namespace
