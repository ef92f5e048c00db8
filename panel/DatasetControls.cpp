#include "panel/DatasetControls.h"

#include "panel/ControlPanel.h"

void resetBackgroundChoice() {
    if (!controlPanel) {
        return;
    }
    panelControls.backgroundGroup->set_int_val(0);
    panelControls.channel1Button->disable();
    panelControls.channel2Button->disable();
}

void enableChannelButtons(int dataChannelCount) {
    if (!controlPanel) {
        return;
    }
    if (dataChannelCount == 1 || dataChannelCount == 2) {
        panelControls.channel1Button->enable();
    }
    if (dataChannelCount == 2) {
        panelControls.channel2Button->enable();
    }
}

void enableDatasetControls() {
    if (!controlPanel) {
        return;
    }
    PanelControls& c = panelControls;
    c.optionsPanel->enable();

    // Enabling the group reaches its buttons; the channel buttons follow the
    // dataset's channel count instead, so their states are put back.
    bool channel1 = c.channel1Button->isEnabled();
    bool channel2 = c.channel2Button->isEnabled();
    c.backgroundRollout->enable();
    c.backgroundGroup->enable();
    c.velocityButton->enable();
    if (!channel1) {
        c.channel1Button->disable();
    }
    if (!channel2) {
        c.channel2Button->disable();
    }
    c.showTfCheckbox->enable();
    c.backgroundRollout->open();

    c.saveRollout->enable();
    c.filenameField->enable();
    c.saveOptionsButton->enable();
    c.resetCameraButton->enable();

    c.lineWidthMaxSpinner->disable();
    c.lineWidthMinSpinner->disable();
    c.seedPointsSpinner->disable();
    c.textureFunctionGroup->disable();
    c.periodSpinner->disable();
}

void enableTimeControls(int stepCount) {
    if (!controlPanel) {
        return;
    }
    PanelControls& c = panelControls;
    // Open first: enabling and disabling reach the children of an open rollout only.
    c.timeRollout->open();
    if (stepCount > 1) {
        c.timeRollout->enable();
        c.timestepSlider->set_int_limits(0, stepCount - 1);
    } else {
        c.timeRollout->disable();
        c.timeRollout->close();
    }
}

void closeFileBrowser() {
    if (controlPanel) {
        panelControls.fileBrowserRollout->close();
    }
}
