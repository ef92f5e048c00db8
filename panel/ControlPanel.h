#pragma once

#include "panel/DatasetControls.h"
#include "panel/PanelWindow.h"
#include "panel/SectionControls.h"
#include "settings/ControlIds.h"

#include <memory>
#include <string>
#include <vector>

// Handles of the controls the program enables, disables, opens, closes or
// reads after the build. They observe controls owned by `controlPanel`.
struct PanelControls {
    PanelGroup* optionsPanel = nullptr;
    PanelCheckbox* arrowPlotCheckbox = nullptr;
    PanelCheckbox* streamlinesCheckbox = nullptr;

    PanelRollout* backgroundRollout = nullptr;
    PanelRadioGroup* backgroundGroup = nullptr;
    PanelRadioButton* velocityButton = nullptr;
    PanelRadioButton* channel1Button = nullptr;
    PanelRadioButton* channel2Button = nullptr;
    // "Channel 1" to "Channel 10": button k - 1 selects data channel k. From
    // "Channel 3" on they are shown only for a dataset that has the channel.
    std::vector<PanelRadioButton*> channelButtons;
    PanelCheckbox* showTfCheckbox = nullptr;
    PanelGroup* colorMapPanel = nullptr;
    PanelGroup* noDataPanel = nullptr;

    PanelRollout* timeRollout = nullptr;
    PanelSpinner* timestepSlider = nullptr;
    PanelButton* previousStepButton = nullptr;
    PanelButton* nextStepButton = nullptr;
    PanelCheckbox* playCheckbox = nullptr;
    PanelSpinner* frameRateSpinner = nullptr;
    PanelCheckbox* loopCheckbox = nullptr;
    PanelRadioGroup* colorRangeGroup = nullptr;

    PanelRollout* arrowPlotRollout = nullptr;
    PanelGroup* arrowsCountPanel = nullptr;
    PanelSpinner* arrowCountXSpinner = nullptr;
    PanelSpinner* arrowCountYSpinner = nullptr;
    PanelGroup* arrowOptionsPanel = nullptr;
    PanelCheckbox* arrowSizeCheckbox = nullptr;
    PanelCheckbox* applyArrowTfCheckbox = nullptr;
    PanelSpinner* arrowSizeSpinner = nullptr;

    PanelRollout* streamlinesRollout = nullptr;
    PanelGroup* modePanel = nullptr;
    PanelRadioGroup* modeGroup = nullptr;
    PanelSpinner* seedPointsSpinner = nullptr;
    PanelSpinner* lineWidthMaxSpinner = nullptr;
    PanelSpinner* lineWidthMinSpinner = nullptr;
    PanelSpinner* glyphSpacingSpinner = nullptr;
    PanelRadioGroup* textureFunctionGroup = nullptr;
    PanelSpinner* periodSpinner = nullptr;
    PanelGroup* integrationPanel = nullptr;
    PanelRadioGroup* integrationGroup = nullptr;
    PanelRadioButton* eulerButton = nullptr;
    PanelRadioButton* rungeKuttaButton = nullptr;
    PanelCheckbox* unitSpeedCheckbox = nullptr;
    PanelSpinner* stepSizeSpinner = nullptr;
    PanelSpinner* dsepSpinner = nullptr;
    PanelSpinner* dtestSpinner = nullptr;
    PanelSpinner* memoryBudgetSpinner = nullptr;
    PanelButton* colorFromCcButton = nullptr;
    PanelGroup* lineColorPanel = nullptr;
    PanelRadioGroup* lineColorGroup = nullptr;
    PanelCheckbox* lineOutlineCheckbox = nullptr;
    PanelButton* fitToDataButton = nullptr;

    PanelRollout* figureRollout = nullptr;

    PanelRollout* fileBrowserRollout = nullptr;
    PanelFileBrowser* fileBrowser = nullptr;
    PanelCheckbox* showAllFilesCheckbox = nullptr;

    PanelRollout* saveRollout = nullptr;
    PanelEditText* filenameField = nullptr;
    PanelButton* saveOptionsButton = nullptr;

    PanelButton* screenshotButton = nullptr;
    PanelButton* resetCameraButton = nullptr;
    PanelCheckbox* scaledZoomDragCheckbox = nullptr;
};

extern std::unique_ptr<PanelWindow> controlPanel;
extern PanelControls panelControls;

// A button that gives the transfer function the editor shows a colour map.
struct ColorMapButton {
    std::string label;
    std::string tooltip;
};

// Builds the whole panel (replacing an earlier one) with every control that
// needs a dataset disabled and the dataset sections collapsed. Every control
// with an id reports to `callback` and has a tooltip: a setting's control
// the setting's meaning from the settings table. The colour-map buttons
// report controlId::firstColorMap + their index.
void buildControlPanel(ControlCallback callback, const std::vector<ColorMapButton>& colorMaps = {});
