// The values on the legend bars and the axes: where they stand and how they read.
#include "render/Ticks.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

namespace {

std::vector<std::string> labels(const TickSet& set) {
    std::vector<std::string> out;
    for (const Tick& t : set.ticks) out.push_back(t.label);
    return out;
}

using Labels = std::vector<std::string>;

TEST(AxisTicks, RoundStepsOfOneTwoOrFiveForBoxesOfEverySize) {
    // 0.1 wide over 600 pixels, ticks at least 80 apart: at most 7 steps, so 0.02.
    const TickSet tenth = axisTicks(0.0, 0.1, 600, 80);
    EXPECT_EQ(labels(tenth), (Labels{"0.00", "0.02", "0.04", "0.06", "0.08", "0.10"}));
    EXPECT_DOUBLE_EQ(tenth.ticks[3].value, 0.06);
    EXPECT_NEAR(tenth.ticks[3].fraction, 0.6, 1e-12);
    // 2 wide over 300 pixels, 50 apart: 6 steps at most, so 0.5.
    EXPECT_EQ(labels(axisTicks(-1.0, 1.0, 300, 50)), (Labels{"-1.0", "-0.5", "0.0", "0.5", "1.0"}));
    // 1000 wide over 650 pixels: 8 steps at most, so 200.
    EXPECT_EQ(labels(axisTicks(0.0, 1000.0, 650, 80)), (Labels{"0", "200", "400", "600", "800", "1000"}));
    // Negative coordinates that are not multiples of the step at either end.
    const TickSet negative = axisTicks(-3.7, -1.2, 400, 80);
    EXPECT_EQ(labels(negative), (Labels{"-3.5", "-3.0", "-2.5", "-2.0", "-1.5"}));
    EXPECT_NEAR(negative.ticks[0].fraction, 0.2 / 2.5, 1e-12);
    EXPECT_EQ(negative.exponent, 0);
    // Tiny coordinates count in their power of ten.
    const TickSet tiny = axisTicks(0.0, 3e-5, 500, 80);
    EXPECT_EQ(labels(tiny), (Labels{"0.0", "0.5", "1.0", "1.5", "2.0", "2.5", "3.0"}));
    EXPECT_EQ(exponentNote(tiny.exponent), "x1e-5");
    // Nothing to show for an empty or broken range.
    EXPECT_TRUE(axisTicks(1.0, 1.0, 500, 80).ticks.empty());
    EXPECT_TRUE(axisTicks(0.0, NAN, 500, 80).ticks.empty());
}

TEST(LegendTicks, EndsAndQuartersRoundedToTwoDigitsOfTheQuarterStep) {
    const TickSet speed = legendTicks(0.0, 1.7309);
    EXPECT_EQ(labels(speed), (Labels{"0.00", "0.43", "0.87", "1.30", "1.73"}));
    // The values between stand where their rounded values lie.
    EXPECT_DOUBLE_EQ(speed.ticks[1].value, 0.43);
    EXPECT_DOUBLE_EQ(speed.ticks[1].fraction, 0.43 / 1.7309);
    EXPECT_DOUBLE_EQ(speed.ticks[4].fraction, 1.0);
    // A signed range: no "-0" where a value rounds to nothing.
    EXPECT_EQ(labels(legendTicks(-2.0, 2.0)), (Labels{"-2.0", "-1.0", "0.0", "1.0", "2.0"}));
    EXPECT_EQ(labels(legendTicks(-1e-9, 400.0)), (Labels{"0", "100", "200", "300", "400"}));
    // Large values count in their power of ten.
    const TickSet large = legendTicks(0.0, 2.5e6);
    EXPECT_EQ(labels(large), (Labels{"0.00", "0.63", "1.25", "1.88", "2.50"}));
    EXPECT_EQ(exponentNote(large.exponent), "x1e6");
    // A constant field has one value; a range that is no number none.
    EXPECT_EQ(labels(legendTicks(0.25, 0.25)), (Labels{"0.250"}));
    EXPECT_TRUE(legendTicks(INFINITY, -INFINITY).ticks.empty());
}

}  // namespace
