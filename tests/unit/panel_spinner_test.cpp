// Spinner steps that keep their proportion to the value, and the notices a
// spinner gives when it refuses or clamps what was typed.
#include "panel/ControlPanel.h"
#include "settings/LiveVariables.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<bool, std::string>> notices;
void note(bool refused, const std::string& text) { notices.emplace_back(refused, text); }
void ignore(int) {}

class SpinnerNotices : public ::testing::Test {
protected:
    void SetUp() override {
        resetLiveVariables();
        notices.clear();
        buildControlPanel(ignore);
        controlPanel->setNoticeHandler(note);
        panelControls.streamlinesRollout->open();
        panelControls.arrowPlotRollout->open();
        controlPanel->enable();
    }
    void TearDown() override {
        controlPanel.reset();
        resetLiveVariables();
    }
    PanelControls& c = panelControls;
};

}  // namespace

TEST_F(SpinnerNotices, SizeStepsMultiplyAndNeverReachZero) {
    for (PanelSpinner* spinner : {c.stepSizeSpinner, c.dsepSpinner, c.dtestSpinner}) {
        SCOPED_TRACE(spinner->label());
        const float start = spinner->get_float_val();
        ASSERT_TRUE(spinner->userStep(1));
        EXPECT_FLOAT_EQ(spinner->get_float_val(), start * 1.25f);
        ASSERT_TRUE(spinner->userStep(-2));
        EXPECT_FLOAT_EQ(spinner->get_float_val(), start / 1.25f);
        for (int i = 0; i < 2000; ++i) spinner->userStep(-1);
        EXPECT_GT(spinner->get_float_val(), 0.0f);
        // A value typed below zero steps back to the start value.
        spinner->userSetFloat(-0.01f);
        ASSERT_TRUE(spinner->userStep(-1));
        EXPECT_FLOAT_EQ(spinner->get_float_val(), start);
    }
    EXPECT_FLOAT_EQ(dsep, c.dsepSpinner->get_float_val());
    // Other spinners still add their step.
    c.arrowSizeSpinner->userStep(1);
    EXPECT_FLOAT_EQ(arrowSize, 41.0f);
    c.lineWidthMaxSpinner->userStep(-1);
    EXPECT_FLOAT_EQ(lineWidthMax, 0.09f);
    EXPECT_TRUE(notices.empty());
}

TEST_F(SpinnerNotices, TypedValuesOutsideTheLimitsOrNotNumbersAreNoticed) {
    EXPECT_TRUE(c.arrowSizeSpinner->userType(" 500"));
    EXPECT_FLOAT_EQ(arrowSize, 200.0f);
    EXPECT_FALSE(c.arrowCountXSpinner->userType("12x"));
    EXPECT_EQ(arrowCountX, 10);
    EXPECT_TRUE(c.arrowCountXSpinner->userType("0.4"));
    EXPECT_EQ(arrowCountX, 2);
    EXPECT_TRUE(c.dsepSpinner->userType("-0.01"));  // no limits: the placement refuses it
    EXPECT_FLOAT_EQ(dsep, -0.01f);
    // A step that meets a limit stops there without a word.
    c.arrowSizeSpinner->userStep(5);
    EXPECT_EQ(notices, (std::vector<std::pair<bool, std::string>>{
                           {false, "Size: 500 is outside 0.1 .. 200, set to 200"},
                           {true, "# of arrows in x dir: '12x' is not a number"},
                           {false, "# of arrows in x dir: 0 is outside 2 .. 200, set to 2"}}));
}
