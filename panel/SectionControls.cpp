#include "panel/SectionControls.h"

#include "panel/ControlPanel.h"

namespace {

void setEnabled(PanelControl* control, bool enabled) { enabled ? control->enable() : control->disable(); }

}  // namespace

void showArrowPlotSection(bool ticked) {
    if (!controlPanel) {
        return;
    }
    PanelControls& c = panelControls;
    setEnabled(c.arrowPlotRollout, ticked);
    setEnabled(c.arrowsCountPanel, ticked);
    setEnabled(c.arrowOptionsPanel, ticked);
    ticked ? c.arrowPlotRollout->open() : c.arrowPlotRollout->close();
}

void showStreamlinesSection(bool ticked) {
    if (!controlPanel) {
        return;
    }
    PanelControls& c = panelControls;
    setEnabled(c.streamlinesRollout, ticked);
    setEnabled(c.integrationPanel, ticked);
    setEnabled(c.colorFromCcButton, ticked);
    setEnabled(c.lineColorPanel, ticked);
    setEnabled(c.fitToDataButton, ticked);
    setEnabled(c.modePanel, ticked);
    if (!ticked) {
        c.streamlinesRollout->close();
        return;
    }
    c.streamlinesRollout->open();
    c.modeGroup->enable();
    c.seedPointsSpinner->disable();
    c.lineWidthMaxSpinner->disable();
    c.lineWidthMinSpinner->disable();
    c.glyphSpacingSpinner->disable();
    c.textureFunctionGroup->disable();
    c.periodSpinner->disable();
}

void enableModeControls(int mode) {
    if (!controlPanel) {
        return;
    }
    PanelControls& c = panelControls;
    setEnabled(c.seedPointsSpinner, mode == 1);
    setEnabled(c.lineWidthMaxSpinner, mode == 2);
    setEnabled(c.lineWidthMinSpinner, mode == 2);
    setEnabled(c.glyphSpacingSpinner, mode == 3);
    setEnabled(c.textureFunctionGroup, mode == 4);
    setEnabled(c.periodSpinner, mode == 4);
}
