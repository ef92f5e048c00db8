#include "app/CommandLine.h"
#include "app/CommandLineSettings.h"
#include "settings/LiveVariables.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> calls;
void record(int id) { calls.push_back(id); }

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quillmere");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetLiveVariables();
        calls.clear();
    }
    void TearDown() override { resetLiveVariables(); }
};
}  // namespace

TEST_F(SettingsTest, AppliedInPanelOrderThroughTheControlIds) {
    CommandLine cl = parse({"-dsep", "0.2", "-streamlineMode", "2", "-showStreamlines", "1", "-datafile", "x.gri"});
    EXPECT_EQ(applyCommandLineSettings(cl, record), 3);
    EXPECT_EQ(calls, (std::vector<int>{11, 16, 22}));
    EXPECT_EQ(showStreamlines, 1);
    EXPECT_EQ(streamlineMode, 2);
    EXPECT_FLOAT_EQ(dsep, 0.2f);
}

TEST_F(SettingsTest, ClampedToThePanelLimitsButStreamlineDistancesAreFree) {
    CommandLine cl = parse({"-arrowCountX", "0", "-arrowSize", "500", "-texturePeriod", "-3", "-dt", "9",
                            "-stepSize", "-1", "-dtest", "1e6"});
    applyCommandLineSettings(cl, record);
    EXPECT_EQ(arrowCountX, 2);
    EXPECT_FLOAT_EQ(arrowSize, 200.0f);
    EXPECT_EQ(texturePeriod, 1);
    EXPECT_FLOAT_EQ(stepSize, -1.0f);  // guarded by the streamline set, not here
    EXPECT_FLOAT_EQ(dtest, 1e6f);
}

TEST_F(SettingsTest, ValuesThatAreNotNumbersAreRefusedWithOneLine) {
    CommandLine cl = parse({"-dsep", "abc", "-seedPoints", "12abc", "-arrowSize", "nan", "-showArrowPlot", "1"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(applyCommandLineSettings(cl, record), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "Ignoring -arrowSize: 'nan' is not a number\n"
              "Ignoring -seedPoints: '12abc' is not a number\n"
              "Ignoring -dsep: 'abc' is not a number\n");
    EXPECT_FLOAT_EQ(dsep, 0.4f);
    EXPECT_EQ(seedPoints, 5);
    EXPECT_EQ(calls, std::vector<int>{10});
}

TEST_F(SettingsTest, UnitSpeedIsAppliedAfterTheMethodAndBeforeTheDistances) {
    EXPECT_EQ(unitSpeed, 0);
    CommandLine cl = parse({"-stepSize", "0.01", "-unitSpeed", "1", "-integrationMethod", "1"});
    EXPECT_EQ(applyCommandLineSettings(cl, record), 3);
    EXPECT_EQ(calls, (std::vector<int>{21, 28, 24}));
    EXPECT_EQ(unitSpeed, 1);
}

TEST_F(SettingsTest, UnitSpeedIsHeldToZeroOrOne) {
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
