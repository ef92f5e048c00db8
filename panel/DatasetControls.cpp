#include "panel/DatasetControls.h"

#include "panel/ControlPanel.h"

#include <vector>

void resetBackgroundChoice() {
    if (!controlPanel) {
        return;
    }
    panelControls.backgroundGroup->set_int_val(0);
    for (std::size_t k = 0; k < panelControls.channelButtons.size(); ++k) {
        panelControls.channelButtons[k]->disable();
        panelControls.channelButtons[k]->setShown(k < 2);
    }
}

void enableChannelButtons(int dataChannelCount) {
    if (!controlPanel) {
        return;
    }
    const std::size_t channels = dataChannelCount > 0 ? static_cast<std::size_t>(dataChannelCount) : 0;
    for (std::size_t k = 0; k < panelControls.channelButtons.size() && k < channels; ++k) {
        panelControls.channelButtons[k]->enable();
        panelControls.channelButtons[k]->setShown(true);
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
    std::vector<bool> channelEnabled;
    for (const PanelRadioButton* button : c.channelButtons) {
        channelEnabled.push_back(button->isEnabled());
    }
    c.backgroundRollout->enable();
    c.backgroundGroup->enable();
    c.velocityButton->enable();
    for (std::size_t k = 0; k < c.channelButtons.size(); ++k) {
        if (!channelEnabled[k]) {
            c.channelButtons[k]->disable();
        }
    }
    c.showTfCheckbox->enable();
    c.colorMapPanel->enable();
    c.noDataPanel->enable();
    c.backgroundRollout->open();

    c.saveRollout->enable();
    c.filenameField->enable();
    c.saveOptionsButton->enable();
    c.resetCameraButton->enable();

    c.lineWidthMaxSpinner->disable();
    c.lineWidthMinSpinner->disable();
    c.glyphSpacingSpinner->disable();
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
