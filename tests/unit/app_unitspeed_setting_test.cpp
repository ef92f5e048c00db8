// "-unitSpeed" on the command line: held to 0 .. 1 like the checkbox and
// applied through control id 28, in the panel's order.
#include "app/CommandLine.h"
#include "app/Settings.h"
#include "panel/LiveVariables.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> calls;
void record(int id) { calls.push_back(id); }

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quillmere");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

class UnitSpeedSetting : public ::testing::Test {
protected:
    void SetUp() override {
        resetLiveVariables();
        calls.clear();
    }
    void TearDown() override { resetLiveVariables(); }
};
}  // namespace

TEST_F(UnitSpeedSetting, AppliedAfterTheMethodAndBeforeTheDistances) {
    EXPECT_EQ(unitSpeed, 0);
    CommandLine cl = parse({"-stepSize", "0.01", "-unitSpeed", "1", "-integrationMethod", "1"});
    EXPECT_EQ(applyCommandLineSettings(cl, record), 3);
    EXPECT_EQ(calls, (std::vector<int>{21, 28, 24}));
    EXPECT_EQ(unitSpeed, 1);
}

TEST_F(UnitSpeedSetting, HeldToZeroOrOne) {
    applyCommandLineSettings(parse({"-unitSpeed", "7"}), record);
    EXPECT_EQ(unitSpeed, 1);
    applyCommandLineSettings(parse({"-unitSpeed", "-2"}), record);
    EXPECT_EQ(unitSpeed, 0);
    testing::internal::CaptureStderr();
    unitSpeed = 1;
    applyCommandLineSettings(parse({"-unitSpeed", "yes"}), record);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Ignoring -unitSpeed: 'yes' is not a number\n");
    EXPECT_EQ(unitSpeed, 1);
    EXPECT_EQ(calls, (std::vector<int>{28, 28}));

    unitSpeed = 1;
    resetLiveVariables();
    EXPECT_EQ(unitSpeed, 0);
}
