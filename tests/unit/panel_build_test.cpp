// The built control panel: layout, ids, limits, start values and the states
// it goes through as datasets are opened and sections switched.
#include "panel/ControlPanel.h"
#include "settings/LiveVariables.h"
#include "settings/Settings.h"
#include "tf/ColorMaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<int> reported;
void record(int id) { reported.push_back(id); }

void describe(const PanelControl& control, int depth, std::ostringstream& out) {
    for (const auto& child : control.children()) {
        out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << controlKindName(child->kind());
        if (!child->label().empty()) out << " \"" << child->label() << "\"";
        if (child->id() != PanelControl::noId) out << " #" << child->id();
        out << "\n";
        describe(*child, depth + 1, out);
    }
}

PanelControl* withId(const PanelControl& parent, int id) {
    for (const auto& child : parent.children()) {
        if (child->id() == id) return child.get();
        if (PanelControl* found = withId(*child, id)) return found;
    }
    return nullptr;
}

// The value a setting's control shows; NaN for a control that shows none.
double shownValue(const PanelControl& control) {
    if (const auto* spinner = dynamic_cast<const PanelSpinner*>(&control))
        return spinner->type() == SpinnerType::Float ? spinner->get_float_val() : spinner->get_int_val();
    if (const auto* group = dynamic_cast<const PanelRadioGroup*>(&control)) return group->get_int_val();
    if (const auto* box = dynamic_cast<const PanelCheckbox*>(&control)) return box->get_int_val();
    return std::nan("");
}

class ControlPanelBuild : public ::testing::Test {
protected:
    void SetUp() override {
        resetLiveVariables();
        reported.clear();
        std::vector<ColorMapButton> maps;
        for (const ColorMap& map : colorMaps()) maps.push_back({map.label, map.meaning});
        buildControlPanel(record, maps);
    }
    void TearDown() override {
        controlPanel.reset();
        resetLiveVariables();
    }
    PanelControls& c = panelControls;
};

TEST_F(ControlPanelBuild, LayoutLabelsAndIds) {
    c.backgroundRollout->open();  // collapsed sections still hold their controls
    std::ostringstream out;
    describe(*controlPanel, 0, out);
    EXPECT_EQ(out.str(),
              "panel \"Options\"\n"
              "  checkbox \"Arrow plot\" #10\n"
              "  checkbox \"Streamlines\" #11\n"
              "rollout \"Background\"\n"
              "  radiogroup #12\n"
              "    radio \"Velocity\"\n"
              "    radio \"Channel 1\"\n"
              "    radio \"Channel 2\"\n"
              "    radio \"Channel 3\"\n"
              "    radio \"Channel 4\"\n"
              "    radio \"Channel 5\"\n"
              "    radio \"Channel 6\"\n"
              "    radio \"Channel 7\"\n"
              "    radio \"Channel 8\"\n"
              "    radio \"Channel 9\"\n"
              "    radio \"Channel 10\"\n"
              "  checkbox \"Show TF\" #15\n"
              "  panel \"Colour map\"\n"
              "    button \"Grey\" #53\n"
              "    button \"Viridis\" #54\n"
              "    button \"Magma\" #55\n"
              "    button \"Cividis\" #56\n"
              "    button \"Cool-warm\" #57\n"
              "    button \"Cool-warm, grey at 0\" #58\n"
              "    button \"Cubehelix\" #59\n"
              "  panel \"No data colour\"\n"
              "    spinner \"Red\" #36\n"
              "    spinner \"Green\" #37\n"
              "    spinner \"Blue\" #38\n"
              "rollout \"Time\"\n"
              "  spinner \"Time step\" #29\n"
              "  button \"< Previous\" #34\n"
              "  button \"Next >\" #35\n"
              "  checkbox \"Play\" #30\n"
              "  spinner \"Frames/s\" #31\n"
              "  checkbox \"Loop\" #32\n"
              "  panel \"Colour range\"\n"
              "    radiogroup #33\n"
              "      radio \"this step\"\n"
              "      radio \"all steps\"\n"
              "rollout \"Arrow Plot\"\n"
              "  panel \"Arrows Count\"\n"
              "    spinner \"# of arrows in x dir\" #7\n"
              "    spinner \"# of arrows in y dir\" #8\n"
              "  panel \"Arrow Options\"\n"
              "    checkbox \"Enable Size Modification\" #13\n"
              "    checkbox \"Apply TF\" #9\n"
              "    spinner \"Size:\" #14\n"
              "rollout \"Streamlines\"\n"
              "  panel \"Mode\"\n"
              "    radiogroup #16\n"
              "      radio \"Evenly\"\n"
              "      radio \"Normal\"\n"
              "      radio \"Tapering\"\n"
              "      radio \"Glyph mapping\"\n"
              "      radio \"Texture generation\"\n"
              "    spinner \"Seedpoints\" #19\n"
              "    spinner \"Line Width Max\" #17\n"
              "    spinner \"Line Width Min\" #18\n"
              "    spinner \"Glyph spacing\" #39\n"
              "    radiogroup #25\n"
              "      radio \"f1\"\n"
              "      radio \"f2\"\n"
              "    spinner \"Period\" #26\n"
              "  panel \"Integration\"\n"
              "    radiogroup #21\n"
              "      radio \"Euler\"\n"
              "      radio \"Runge Kutta\"\n"
              "    checkbox \"Unit speed\" #28\n"
              "    separator\n"
              "    spinner \"dt\" #24\n"
              "    spinner \"dsep\" #22\n"
              "    spinner \"dtest\" #23\n"
              "    spinner \"Memory (MiB)\" #46\n"
              "  button \"Color from CC\" #20\n"
              "  panel \"Line colour\"\n"
              "    radiogroup #40\n"
              "      radio \"White\"\n"
              "      radio \"Black\"\n"
              "      radio \"Chosen colour\"\n"
              "      radio \"By speed\"\n"
              "    checkbox \"Dark outline\" #41\n"
              "  button \"Fit to data\" #42\n"
              "rollout \"Figure\"\n"
              "  checkbox \"Legend with values\" #47\n"
              "  checkbox \"Axes\" #48\n"
              "  checkbox \"Status line\" #49\n"
              "  checkbox \"Smooth lines\" #50\n"
              "  spinner \"Line width (px)\" #51\n"
              "  spinner \"Screenshot scale\" #52\n"
              "  checkbox \"Screenshot with panel\" #60\n"
              "rollout \"File Browser\"\n"
              "  text \"Grid files (.gri) and\"\n"
              "  text \"options files (.xml) can be loaded.\"\n"
              "  filebrowser #3\n"
              "  checkbox \"Show all files\" #44\n"
              "rollout \"Save\"\n"
              "  edittext \"Filename: \" #5\n"
              "  button \"Save Options\" #4\n"
              "button \"Screenshot\" #6\n"
              "button \"Reset Camera\" #27\n"
              "checkbox \"Scaled zoom drag\" #45\n"
              "separator\n"
              "text \"Zoom camera:\"\n"
              "text \"Hold left mouse button + move mouse\"\n"
              "text \"Move camera:\"\n"
              "text \"Hold left and right mouse button\"\n"
              "text \"+ move mouse\"\n"
              "text \"Wheel: zoom at the pointer\"\n"
              "text \"Right or middle drag: move camera\"\n"
              "text \"Keys: + - zoom, arrows move, Home or r reset, s screenshot, q or Esc quit\"\n");
}

TEST_F(ControlPanelBuild, StartValuesAndTheFilenameField) {
    // Every setting's control shows the setting's start value.
    for (const Setting& setting : settings()) {
        const PanelControl* control = withId(*controlPanel, setting.controlId);
        ASSERT_NE(control, nullptr) << setting.name;
        EXPECT_FLOAT_EQ(static_cast<float>(shownValue(*control)), static_cast<float>(setting.start)) << setting.name;
    }
    EXPECT_EQ(c.filenameField->get_text(), "options.xml");
    EXPECT_EQ(c.filenameField->width(), 180);
    EXPECT_TRUE(reported.empty()) << "building calls nothing back";
}

// A control says what it does when the pointer rests on it: a setting's
// control in the words of the settings table.
TEST_F(ControlPanelBuild, EveryControlHasATooltipAndASettingsControlItsMeaning) {
    for (const Setting& setting : settings()) {
        const PanelControl* control = withId(*controlPanel, setting.controlId);
        ASSERT_NE(control, nullptr) << setting.name;
        EXPECT_EQ(control->tooltip(), setting.meaning) << setting.name;
    }
    for (int id = 0; id < 64; ++id) {
        const PanelControl* control = withId(*controlPanel, id);
        if (!control) continue;
        EXPECT_FALSE(control->tooltip().empty()) << controlKindName(control->kind()) << " #" << id;
    }
}

TEST_F(ControlPanelBuild, SpinnerLimits) {
    // Every spinner holds programmatic values (the spinners are disabled
    // until a dataset is open) to its setting's limits.
    int limitedSpinners = 0;
    for (const Setting& setting : settings()) {
        auto* spinner = dynamic_cast<PanelSpinner*>(withId(*controlPanel, setting.controlId));
        if (!spinner) continue;
        EXPECT_EQ(spinner->hasLimits(), setting.limited) << setting.name;
        if (!setting.limited) continue;
        ++limitedSpinners;
        const double beyondAndLimit[2][2] = {{setting.low - 1.0, setting.low}, {setting.high + 1.0, setting.high}};
        for (const auto& pair : beyondAndLimit) {
            if (spinner->type() == SpinnerType::Float) spinner->set_float_val(static_cast<float>(pair[0]));
            else spinner->set_int_val(static_cast<int>(pair[0]));
            EXPECT_FLOAT_EQ(static_cast<float>(setting.value()), static_cast<float>(pair[1]))
                << setting.name << " set to " << pair[0];
        }
    }
    EXPECT_GT(limitedSpinners, 0);

    for (PanelSpinner* free : {c.stepSizeSpinner, c.dsepSpinner, c.dtestSpinner}) {
        EXPECT_FALSE(free->hasLimits()) << free->label();
    }
    // Without limits any value is taken.
    c.dsepSpinner->set_float_val(-1.0f);
    c.dtestSpinner->set_float_val(1000.0f);
    c.stepSizeSpinner->set_float_val(0.0f);
    EXPECT_FLOAT_EQ(dsep, -1.0f);
    EXPECT_FLOAT_EQ(dtest, 1000.0f);
    EXPECT_FLOAT_EQ(stepSize, 0.0f);
}

TEST_F(ControlPanelBuild, TypedValuesAreClampedOnceTheControlsAreEnabled) {
    enableDatasetControls();
    showArrowPlotSection(true);
    ASSERT_TRUE(c.arrowCountXSpinner->userSetInt(0));
    EXPECT_EQ(arrowCountX, 2);
    ASSERT_TRUE(c.arrowSizeSpinner->userSetFloat(500.0f));
    EXPECT_FLOAT_EQ(arrowSize, 200.0f);
    EXPECT_EQ(reported, (std::vector<int>{7, 14}));
}

TEST_F(ControlPanelBuild, OnlyTheFileBrowserScreenshotAndHelpWorkBeforeADataset) {
    EXPECT_FALSE(c.optionsPanel->isEnabled());
    EXPECT_FALSE(c.arrowPlotCheckbox->userToggle());
    EXPECT_FALSE(c.streamlinesCheckbox->userToggle());
    for (PanelRollout* section : {c.backgroundRollout, c.arrowPlotRollout, c.streamlinesRollout, c.saveRollout}) {
        EXPECT_FALSE(section->isEnabled()) << section->label();
        EXPECT_FALSE(section->isOpen()) << section->label();
        EXPECT_FALSE(section->userSetOpen(true)) << section->label();
    }
    EXPECT_FALSE(c.resetCameraButton->userPress());

    // Everything inside the sections was disabled while they were still open.
    for (PanelControl* inner : std::vector<PanelControl*>{
             c.backgroundGroup, c.velocityButton, c.channel1Button, c.channel2Button, c.showTfCheckbox,
             c.arrowsCountPanel, c.arrowCountXSpinner, c.arrowSizeSpinner, c.modePanel, c.modeGroup,
             c.textureFunctionGroup, c.periodSpinner, c.integrationPanel, c.unitSpeedCheckbox, c.dsepSpinner,
             c.colorFromCcButton, c.filenameField, c.saveOptionsButton}) {
        EXPECT_FALSE(inner->isEnabled()) << inner->label();
    }
    EXPECT_FALSE(c.unitSpeedCheckbox->userToggle());

    EXPECT_TRUE(c.fileBrowserRollout->isEnabled());
    EXPECT_TRUE(c.fileBrowserRollout->isOpen());
    EXPECT_TRUE(c.fileBrowser->isEnabled());
    EXPECT_TRUE(c.screenshotButton->userPress());
    EXPECT_EQ(reported, std::vector<int>{6});
}

TEST_F(ControlPanelBuild, OpeningADatasetEnablesBackgroundSaveAndCamera) {
    // The opener's part for a dataset with one data channel, then the panel's.
    resetBackgroundChoice();
    enableChannelButtons(1);
    closeFileBrowser();
    enableDatasetControls();

    EXPECT_TRUE(c.optionsPanel->isEnabled());
    EXPECT_TRUE(c.arrowPlotCheckbox->isEnabled());
    EXPECT_TRUE(c.streamlinesCheckbox->isEnabled());
    EXPECT_TRUE(c.backgroundRollout->isEnabled());
    EXPECT_TRUE(c.backgroundRollout->isOpen());
    EXPECT_TRUE(c.backgroundGroup->isEnabled());
    EXPECT_TRUE(c.velocityButton->isEnabled());
    EXPECT_TRUE(c.channel1Button->isEnabled());
    EXPECT_FALSE(c.channel2Button->isEnabled()) << "a one-channel dataset has no channel 2";
    EXPECT_TRUE(c.showTfCheckbox->isEnabled());
    EXPECT_TRUE(c.saveRollout->isEnabled());
    EXPECT_FALSE(c.saveRollout->isOpen());
    EXPECT_TRUE(c.filenameField->isEnabled());
    EXPECT_TRUE(c.saveOptionsButton->isEnabled());
    EXPECT_TRUE(c.resetCameraButton->isEnabled());
    EXPECT_FALSE(c.fileBrowserRollout->isOpen());

    // The arrow and streamline sections wait for their check boxes.
    EXPECT_FALSE(c.arrowPlotRollout->isEnabled());
    EXPECT_FALSE(c.arrowPlotRollout->isOpen());
    EXPECT_FALSE(c.streamlinesRollout->isEnabled());
    EXPECT_FALSE(c.streamlinesRollout->isOpen());
    EXPECT_FALSE(c.unitSpeedCheckbox->isEnabled());

    EXPECT_FALSE(c.backgroundGroup->userSelect(2));
    EXPECT_TRUE(c.backgroundGroup->userSelect(1));
    EXPECT_EQ(backgroundChannel, 1);
}

TEST_F(ControlPanelBuild, ASecondOpenFollowsTheNewChannelCountAndResetsTheBackground) {
    resetBackgroundChoice();
    enableChannelButtons(2);
    enableDatasetControls();
    c.backgroundGroup->userSelect(2);
    ASSERT_EQ(backgroundChannel, 2);
    reported.clear();

    resetBackgroundChoice();
    enableChannelButtons(0);
    enableDatasetControls();
    EXPECT_EQ(backgroundChannel, 0);
    EXPECT_EQ(c.backgroundGroup->get_int_val(), 0);
    EXPECT_TRUE(reported.empty()) << "selecting Velocity for the open calls nothing back";
    EXPECT_TRUE(c.velocityButton->isEnabled());
    EXPECT_FALSE(c.channel1Button->isEnabled());
    EXPECT_FALSE(c.channel2Button->isEnabled());

    // Three channels: each is offered, and shown; the buttons beyond stay hidden.
    resetBackgroundChoice();
    enableChannelButtons(3);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(c.channelButtons[k]->isEnabled(), k < 3) << "Channel " << k + 1;
        EXPECT_EQ(c.channelButtons[k]->isShown(), k < 3) << "Channel " << k + 1;
    }
    // Fewer again: from "Channel 3" on the buttons are hidden, as at the start.
    resetBackgroundChoice();
    enableChannelButtons(2);
    EXPECT_TRUE(c.channel2Button->isEnabled());
    EXPECT_TRUE(c.channel2Button->isShown());
    EXPECT_FALSE(c.channelButtons[2]->isShown());
}

TEST_F(ControlPanelBuild, ArrowPlotSectionFollowsItsCheckbox) {
    enableDatasetControls();
    showStreamlinesSection(true);
    showArrowPlotSection(true);
    EXPECT_TRUE(c.arrowPlotRollout->isEnabled());
    EXPECT_TRUE(c.arrowPlotRollout->isOpen());
    for (PanelControl* control :
         std::vector<PanelControl*>{c.arrowsCountPanel, c.arrowCountXSpinner, c.arrowCountYSpinner, c.arrowOptionsPanel,
                                    c.arrowSizeCheckbox, c.applyArrowTfCheckbox, c.arrowSizeSpinner}) {
        EXPECT_TRUE(control->isEnabled()) << control->label();
    }

    showArrowPlotSection(false);
    EXPECT_FALSE(c.arrowPlotRollout->isEnabled());
    EXPECT_FALSE(c.arrowPlotRollout->isOpen());
    EXPECT_FALSE(c.arrowCountXSpinner->isEnabled());
    EXPECT_FALSE(c.arrowSizeSpinner->isEnabled());
    EXPECT_TRUE(c.streamlinesRollout->isEnabled()) << "the streamline section is untouched";
    EXPECT_TRUE(c.streamlinesRollout->isOpen());
    EXPECT_TRUE(c.dsepSpinner->isEnabled());
}

TEST_F(ControlPanelBuild, StreamlinesSectionFollowsItsCheckbox) {
    enableDatasetControls();
    showArrowPlotSection(true);
    showStreamlinesSection(true);
    EXPECT_TRUE(c.streamlinesRollout->isEnabled());
    EXPECT_TRUE(c.streamlinesRollout->isOpen());
    for (PanelControl* control :
         std::vector<PanelControl*>{c.modePanel, c.modeGroup, c.modeGroup->button(4), c.integrationPanel,
                                    c.integrationGroup, c.eulerButton, c.rungeKuttaButton, c.unitSpeedCheckbox,
                                    c.stepSizeSpinner, c.dsepSpinner, c.dtestSpinner, c.colorFromCcButton}) {
        EXPECT_TRUE(control->isEnabled()) << control->label();
    }
    for (PanelControl* control :
         std::vector<PanelControl*>{c.seedPointsSpinner, c.lineWidthMaxSpinner, c.lineWidthMinSpinner,
                                    c.textureFunctionGroup, c.textureFunctionGroup->button(0), c.periodSpinner}) {
        EXPECT_FALSE(control->isEnabled()) << control->label();
    }
    EXPECT_TRUE(c.integrationGroup->userSelect(1));
    EXPECT_EQ(integrationMethod, 1);
    reported.clear();
    EXPECT_TRUE(c.unitSpeedCheckbox->userToggle());
    EXPECT_EQ(unitSpeed, 1);
    EXPECT_EQ(reported, std::vector<int>{controlId::unitSpeed});

    showStreamlinesSection(false);
    EXPECT_FALSE(c.streamlinesRollout->isEnabled());
    EXPECT_FALSE(c.streamlinesRollout->isOpen());
    EXPECT_FALSE(c.modeGroup->isEnabled());
    EXPECT_FALSE(c.dsepSpinner->isEnabled());
    EXPECT_FALSE(c.unitSpeedCheckbox->isEnabled());
    EXPECT_FALSE(c.colorFromCcButton->isEnabled());
    EXPECT_TRUE(c.arrowPlotRollout->isEnabled()) << "the arrow section is untouched";
    EXPECT_TRUE(c.arrowPlotRollout->isOpen());
    EXPECT_TRUE(c.arrowSizeSpinner->isEnabled());
}

TEST_F(ControlPanelBuild, ModeEnablesOnlyTheControlsItUses) {
    enableDatasetControls();
    showStreamlinesSection(true);

    enableModeControls(1);
    EXPECT_TRUE(c.seedPointsSpinner->isEnabled());
    EXPECT_FALSE(c.lineWidthMaxSpinner->isEnabled());

    enableModeControls(2);
    EXPECT_FALSE(c.seedPointsSpinner->isEnabled());
    EXPECT_TRUE(c.lineWidthMaxSpinner->isEnabled());
    EXPECT_TRUE(c.lineWidthMinSpinner->isEnabled());
    EXPECT_FALSE(c.textureFunctionGroup->isEnabled());

    enableModeControls(4);
    EXPECT_FALSE(c.lineWidthMaxSpinner->isEnabled());
    EXPECT_TRUE(c.textureFunctionGroup->isEnabled());
    EXPECT_TRUE(c.textureFunctionGroup->button(1)->isEnabled());
    EXPECT_TRUE(c.periodSpinner->isEnabled());
    EXPECT_TRUE(c.textureFunctionGroup->userSelect(1));
    EXPECT_EQ(textureFunction, 1);

    // A later open puts the mode-dependent controls back to disabled.
    enableDatasetControls();
    EXPECT_FALSE(c.textureFunctionGroup->isEnabled());
    EXPECT_FALSE(c.periodSpinner->isEnabled());
    EXPECT_FALSE(c.seedPointsSpinner->isEnabled());
}

TEST_F(ControlPanelBuild, SyncLiveShowsValuesLoadedBehindThePanel) {
    arrowCountX = 30;
    backgroundChannel = 2;
    dsep = 0.25f;
    streamlineMode = 3;
    unitSpeed = 1;
    controlPanel->sync_live();
    EXPECT_EQ(c.arrowCountXSpinner->get_int_val(), 30);
    EXPECT_EQ(c.backgroundGroup->get_int_val(), 2);
    EXPECT_FLOAT_EQ(c.dsepSpinner->get_float_val(), 0.25f);
    EXPECT_EQ(c.modeGroup->get_int_val(), 3);
    EXPECT_EQ(c.unitSpeedCheckbox->get_int_val(), 1);
}

TEST(ControlPanelUnbuilt, DatasetStateChangesWaitForThePanel) {
    // Without a panel (batch runs) the opener's calls change nothing: the
    // background chosen on the command line stays, and a panel built later
    // starts as before any dataset.
    controlPanel.reset();
    resetLiveVariables();
    backgroundChannel = 2;
    resetBackgroundChoice();
    enableChannelButtons(2);
    enableDatasetControls();
    closeFileBrowser();
    showArrowPlotSection(true);
    showStreamlinesSection(false);
    enableModeControls(2);
    EXPECT_EQ(controlPanel, nullptr);
    EXPECT_EQ(backgroundChannel, 2);

    buildControlPanel(record);
    const PanelControls& c = panelControls;
    EXPECT_FALSE(c.optionsPanel->isEnabled());
    EXPECT_FALSE(c.channel1Button->isEnabled());
    EXPECT_FALSE(c.arrowPlotRollout->isOpen());
    EXPECT_TRUE(c.fileBrowserRollout->isOpen());
    controlPanel.reset();
    resetLiveVariables();
}

}  // namespace
