#include "panel/ControlPanel.h"

#include "panel/LiveVariables.h"

std::unique_ptr<PanelWindow> controlPanel;
PanelControls panelControls;

namespace {

void buildViewOptions(PanelWindow& w, PanelControls& c) {
    c.optionsPanel = w.add_panel("Options", PanelStyle::Embossed);
    c.arrowPlotCheckbox = w.add_checkbox_to_panel(c.optionsPanel, "Arrow plot", &showArrowPlot, controlId::showArrowPlot);
    c.streamlinesCheckbox =
        w.add_checkbox_to_panel(c.optionsPanel, "Streamlines", &showStreamlines, controlId::showStreamlines);
}

void buildBackground(PanelWindow& w, PanelControls& c) {
    c.backgroundRollout = w.add_rollout("Background", true, PanelStyle::Embossed);
    c.backgroundGroup = w.add_radiogroup_to_panel(c.backgroundRollout, &backgroundChannel, controlId::backgroundChannel);
    c.velocityButton = w.add_radiobutton_to_group(c.backgroundGroup, "Velocity");
    c.channel1Button = w.add_radiobutton_to_group(c.backgroundGroup, "Channel 1");
    c.channel2Button = w.add_radiobutton_to_group(c.backgroundGroup, "Channel 2");
    c.showTfCheckbox = w.add_checkbox_to_panel(c.backgroundRollout, "Show TF", &showTfEditor, controlId::showTfEditor);
    // The editor's titles of the four transfer functions are constants of
    // the transfer-function code (transferFunctionTitles); nothing to create.
}

void buildArrowPlot(PanelWindow& w, PanelControls& c) {
    c.arrowPlotRollout = w.add_rollout("Arrow Plot", true, PanelStyle::Embossed);
    c.arrowsCountPanel = w.add_panel_to_panel(c.arrowPlotRollout, "Arrows Count", PanelStyle::Embossed);
    c.arrowCountXSpinner =
        w.add_spinner_to_panel(c.arrowsCountPanel, "# of arrows in x dir", &arrowCountX, controlId::arrowCountX);
    c.arrowCountYSpinner =
        w.add_spinner_to_panel(c.arrowsCountPanel, "# of arrows in y dir", &arrowCountY, controlId::arrowCountY);
    c.arrowOptionsPanel = w.add_panel_to_panel(c.arrowPlotRollout, "Arrow Options", PanelStyle::Embossed);
    c.arrowSizeCheckbox = w.add_checkbox_to_panel(c.arrowOptionsPanel, "Enable Size Modification", &arrowSizeEnabled,
                                                  controlId::arrowSizeEnabled);
    c.applyArrowTfCheckbox =
        w.add_checkbox_to_panel(c.arrowOptionsPanel, "Apply TF", &applyArrowTf, controlId::applyArrowTf);
    c.arrowSizeSpinner = w.add_spinner_to_panel(c.arrowOptionsPanel, "Size:", &arrowSize, controlId::arrowSize);
    c.arrowSizeSpinner->set_float_limits(0.1f, 200.0f);
    c.arrowSizeSpinner->setStep(1.0);
    c.arrowCountXSpinner->set_int_limits(2, 200);
    c.arrowCountYSpinner->set_int_limits(2, 200);
}

void buildStreamlineMode(PanelWindow& w, PanelControls& c) {
    c.modePanel = w.add_panel_to_panel(c.streamlinesRollout, "Mode", PanelStyle::Embossed);
    c.modeGroup = w.add_radiogroup_to_panel(c.modePanel, &streamlineMode, controlId::streamlineMode);
    for (const char* mode : {"Evenly", "Normal", "Tapering", "Glyph mapping", "Texture generation"}) {
        w.add_radiobutton_to_group(c.modeGroup, mode);
    }
    c.seedPointsSpinner = w.add_spinner_to_panel(c.modePanel, "Seedpoints", &seedPoints, controlId::seedPoints);
    c.lineWidthMaxSpinner =
        w.add_spinner_to_panel(c.modePanel, "Line Width Max", &lineWidthMax, controlId::lineWidthMax);
    c.lineWidthMinSpinner =
        w.add_spinner_to_panel(c.modePanel, "Line Width Min", &lineWidthMin, controlId::lineWidthMin);
    c.seedPointsSpinner->set_int_limits(0, 100);
    c.seedPointsSpinner->disable();
    c.lineWidthMaxSpinner->set_float_limits(0.0f, 0.5f);
    c.lineWidthMinSpinner->set_float_limits(0.0f, 0.5f);
    c.lineWidthMaxSpinner->disable();
    c.lineWidthMinSpinner->disable();
    c.textureFunctionGroup = w.add_radiogroup_to_panel(c.modePanel, &textureFunction, controlId::textureFunction);
    w.add_radiobutton_to_group(c.textureFunctionGroup, "f1");
    w.add_radiobutton_to_group(c.textureFunctionGroup, "f2");
    c.periodSpinner = w.add_spinner_to_panel(c.modePanel, "Period", &texturePeriod, controlId::texturePeriod);
    c.periodSpinner->set_int_limits(1, 10000);
    c.modeGroup->set_int_val(0);
}

void buildIntegration(PanelWindow& w, PanelControls& c) {
    c.integrationPanel = w.add_panel_to_panel(c.streamlinesRollout, "Integration", PanelStyle::Embossed);
    c.integrationGroup =
        w.add_radiogroup_to_panel(c.integrationPanel, &integrationMethod, controlId::integrationMethod);
    c.eulerButton = w.add_radiobutton_to_group(c.integrationGroup, "Euler");
    c.rungeKuttaButton = w.add_radiobutton_to_group(c.integrationGroup, "Runge Kutta");
    // With unit speed, dt is a step length. Inside the panel, the checkbox is
    // enabled and disabled with the rest of the streamline section.
    c.unitSpeedCheckbox =
        w.add_checkbox_to_panel(c.integrationPanel, "Unit speed", &unitSpeed, controlId::unitSpeed);
    w.add_separator_to_panel(c.integrationPanel);
    // dt, dsep and dtest have no limits; the streamline set refuses values
    // it cannot place lines with.
    c.stepSizeSpinner = w.add_spinner_to_panel(c.integrationPanel, "dt", &stepSize, controlId::stepSize);
    c.stepSizeSpinner->setStep(0.001);
    c.dsepSpinner = w.add_spinner_to_panel(c.integrationPanel, "dsep", &dsep, controlId::dsep);
    c.dtestSpinner = w.add_spinner_to_panel(c.integrationPanel, "dtest", &dtest, controlId::dtest);
}

void buildStreamlines(PanelWindow& w, PanelControls& c) {
    c.streamlinesRollout = w.add_rollout("Streamlines", true, PanelStyle::Embossed);
    buildStreamlineMode(w, c);
    buildIntegration(w, c);
    c.colorFromCcButton = w.add_button_to_panel(c.streamlinesRollout, "Color from CC", controlId::colorFromCc);
    c.eulerButton->disable();
    c.rungeKuttaButton->disable();
}

void buildFilesAndSave(PanelWindow& w, PanelControls& c) {
    c.fileBrowserRollout = w.add_rollout("File Browser", true, PanelStyle::Embossed);
    w.add_statictext_to_panel(c.fileBrowserRollout, "Grid files (.gri) and");
    w.add_statictext_to_panel(c.fileBrowserRollout, "options files (.xml) can be loaded.");
    c.fileBrowser = w.add_filebrowser_to_panel(c.fileBrowserRollout, "", controlId::fileBrowser);

    c.saveRollout = w.add_rollout("Save", true, PanelStyle::Embossed);
    c.filenameField = w.add_edittext_to_panel(c.saveRollout, "Filename: ", controlId::filename);
    c.filenameField->set_text("options.xml");
    c.saveOptionsButton = w.add_button_to_panel(c.saveRollout, "Save Options", controlId::saveOptions);
    c.filenameField->set_w(180);
}

void buildFooter(PanelWindow& w, PanelControls& c) {
    c.screenshotButton = w.add_button("Screenshot", controlId::screenshot);
    c.resetCameraButton = w.add_button("Reset Camera", controlId::resetCamera);
    w.add_separator();
    for (const char* line : {"Zoom camera:", "Hold left mouse button + move mouse", "Move camera:",
                             "Hold left and right mouse button", "+ move mouse"}) {
        w.add_statictext(line);
    }
}

// Until a dataset is open only the file browser, the screenshot button and
// the help can be used.
void disableDatasetControls(PanelControls& c) {
    c.optionsPanel->disable();
    c.backgroundRollout->disable();
    c.backgroundRollout->close();
    c.streamlinesRollout->disable();
    c.streamlinesRollout->close();
    c.arrowPlotRollout->disable();
    c.arrowPlotRollout->close();
    c.saveRollout->disable();
    c.saveRollout->close();
    c.resetCameraButton->disable();
}

}  // namespace

void buildControlPanel(ControlCallback callback) {
    panelControls = PanelControls();
    controlPanel = std::make_unique<PanelWindow>(callback);
    PanelWindow& w = *controlPanel;
    PanelControls& c = panelControls;
    buildViewOptions(w, c);
    buildBackground(w, c);
    buildArrowPlot(w, c);
    buildStreamlines(w, c);
    buildFilesAndSave(w, c);
    buildFooter(w, c);
    disableDatasetControls(c);
}
