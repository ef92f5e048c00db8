// "Fit to data": streamline settings from the size of the box, and what
// they place on boxes of very different sizes.
#include "streamlines/FitToData.h"
#include "streamlines/PlacementQuality.h"
#include "streamlines/StreamlineSet.h"
#include "support/AnalyticFlow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

PlacementQuality placeFitted(const AnalyticFlow& flow) {
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.4f, 0.2f);
    applyFit(set, fitToBox(set.domainBox()));
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    set.computeEvenlySpaced();
    return measurePlacement(set);
}

TEST(FitToData, SettingsFollowTheBoxInTheStartValuesProportions) {
    const FittedSettings square = fitToBox(DomainBox{0.0f, 0.0f, 0.1f, 0.1f});
    EXPECT_FLOAT_EQ(square.dsep, 0.1f / 32);
    EXPECT_FLOAT_EQ(square.dtest, 0.4f * square.dsep);
    EXPECT_FLOAT_EQ(square.dt, square.dsep / 40);
    EXPECT_FLOAT_EQ(square.lineWidthMax, 0.25f * square.dsep);  // 0.1 to 0.4
    EXPECT_FLOAT_EQ(square.lineWidthMin, 0.1f * square.dsep);   // 0.04 to 0.4
    EXPECT_FLOAT_EQ(square.glyphSpacing, 0.75f * square.dsep);  // 0.3 to 0.4
    EXPECT_EQ(describeFit(DomainBox{0.0f, 0.0f, 0.1f, 0.1f}, square),
              "Fit to data (box 0.1 x 0.1): dsep 0.003125, dtest 0.00125, dt 7.8125e-05 with unit speed, line widths "
              "0.00078125 and 0.0003125, glyph spacing 0.00234375");

    // A box of the same area but ten times as long as high keeps 24 lines
    // across its height.
    EXPECT_FLOAT_EQ(fitToBox(DomainBox{-5.0f, 0.0f, 5.0f, 1.0f}).dsep, 1.0f / 24);
    EXPECT_FLOAT_EQ(fitToBox(DomainBox{0.0f, 0.0f, 1.0f, 10.0f}).dsep, 1.0f / 24);
    // The settings scale with the box.
    const FittedSettings huge = fitToBox(DomainBox{-500.0f, 0.0f, 500.0f, 1000.0f});
    EXPECT_FLOAT_EQ(huge.dsep / square.dsep, 10000.0f);
    EXPECT_FLOAT_EQ(huge.dt / square.dt, 10000.0f);
    // Nothing fits a box without area.
    EXPECT_EQ(fitToBox(DomainBox{1.0f, 0.0f, 1.0f, 2.0f}).dsep, 0.0f);
}

TEST(FitToData, ACavityIsFilledAlikeAtEverySize) {
    // The same cavity on 65 x 65 nodes, 0.01, 1 and 1000 wide.
    PlacementQuality q[3];
    const double sizes[3] = {0.01, 1.0, 1000.0};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(sizes[k]);
        const float side = static_cast<float>(sizes[k]);
        const AnalyticFlow flow =
            makeAnalyticFlow(FlowBox{65, 65, 0.0f, side, 0.0f, side}, analytic::cavity(0.0, 0.0, side, side));
        q[k] = placeFitted(flow);
        EXPECT_GE(q[k].lines, 20);
        EXPECT_GE(q[k].coverage, 0.99);
        EXPECT_LE(q[k].shortShare, 0.2);
    }
    // Rounding differs with the size; the character of the picture does not.
    for (int k : {0, 2}) {
        EXPECT_NEAR(q[k].lines, q[1].lines, 3);
        EXPECT_NEAR(q[k].meanLength / q[k].dsep, q[1].meanLength / q[1].dsep, 0.1 * q[1].meanLength / q[1].dsep);
    }
}

TEST(FitToData, ARotationAboutTheCentreIsCovered) {
    // Rigid rotation about the centre of the box: the line from the centre
    // does not move, the first line starts from the seed lattice.
    const AnalyticFlow flow = makeAnalyticFlow(FlowBox{33, 33, -1.0f, 1.0f, -1.0f, 1.0f}, analytic::rotation(0.0, 0.0));
    const PlacementQuality q = placeFitted(flow);
    EXPECT_GE(q.lines, 20);
    EXPECT_GE(q.coverage, 0.99);
    EXPECT_LE(q.shortShare, 0.2);
}

}  // namespace
