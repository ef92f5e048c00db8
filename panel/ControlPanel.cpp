#include "panel/ControlPanel.h"

#include "settings/Settings.h"

#include <stdexcept>

std::unique_ptr<PanelWindow> controlPanel;
PanelControls panelControls;

namespace {

// Controls bound to a setting take its live variable, id and limits from the
// settings table.
const Setting& setting(const char* name) {
    const Setting* s = findSetting(name);
    if (!s) throw std::logic_error(std::string("no setting named ") + name);
    return *s;
}

PanelCheckbox* checkbox(PanelWindow& w, PanelControl* parent, const char* label, const char* name) {
    const Setting& s = setting(name);
    return w.add_checkbox_to_panel(parent, label, s.intValue, s.controlId);
}

PanelRadioGroup* radioGroup(PanelWindow& w, PanelControl* parent, const char* name) {
    const Setting& s = setting(name);
    return w.add_radiogroup_to_panel(parent, s.intValue, s.controlId);
}

PanelSpinner* spinner(PanelWindow& w, PanelControl* parent, const char* label, const char* name) {
    const Setting& s = setting(name);
    if (s.intValue) {
        PanelSpinner* spinner = w.add_spinner_to_panel(parent, label, s.intValue, s.controlId);
        if (s.limited) spinner->set_int_limits(static_cast<int>(s.low), static_cast<int>(s.high));
        return spinner;
    }
    PanelSpinner* spinner = w.add_spinner_to_panel(parent, label, s.floatValue, s.controlId);
    if (s.limited) spinner->set_float_limits(static_cast<float>(s.low), static_cast<float>(s.high));
    return spinner;
}

void buildViewOptions(PanelWindow& w, PanelControls& c) {
    c.optionsPanel = w.add_panel("Options", PanelStyle::Embossed);
    c.arrowPlotCheckbox = checkbox(w, c.optionsPanel, "Arrow plot", "showArrowPlot");
    c.streamlinesCheckbox = checkbox(w, c.optionsPanel, "Streamlines", "showStreamlines");
}

void buildBackground(PanelWindow& w, PanelControls& c) {
    c.backgroundRollout = w.add_rollout("Background", true, PanelStyle::Embossed);
    c.backgroundGroup = radioGroup(w, c.backgroundRollout, "backgroundChannel");
    c.velocityButton = w.add_radiobutton_to_group(c.backgroundGroup, "Velocity");
    c.channel1Button = w.add_radiobutton_to_group(c.backgroundGroup, "Channel 1");
    c.channel2Button = w.add_radiobutton_to_group(c.backgroundGroup, "Channel 2");
    c.showTfCheckbox = checkbox(w, c.backgroundRollout, "Show TF", "showTfEditor");
    // The editor's titles of the four transfer functions are constants of
    // the transfer-function code (transferFunctionTitles); nothing to create.
}

void buildArrowPlot(PanelWindow& w, PanelControls& c) {
    c.arrowPlotRollout = w.add_rollout("Arrow Plot", true, PanelStyle::Embossed);
    c.arrowsCountPanel = w.add_panel_to_panel(c.arrowPlotRollout, "Arrows Count", PanelStyle::Embossed);
    c.arrowCountXSpinner = spinner(w, c.arrowsCountPanel, "# of arrows in x dir", "arrowCountX");
    c.arrowCountYSpinner = spinner(w, c.arrowsCountPanel, "# of arrows in y dir", "arrowCountY");
    c.arrowOptionsPanel = w.add_panel_to_panel(c.arrowPlotRollout, "Arrow Options", PanelStyle::Embossed);
    c.arrowSizeCheckbox = checkbox(w, c.arrowOptionsPanel, "Enable Size Modification", "arrowSizeEnabled");
    c.applyArrowTfCheckbox = checkbox(w, c.arrowOptionsPanel, "Apply TF", "applyArrowTf");
    c.arrowSizeSpinner = spinner(w, c.arrowOptionsPanel, "Size:", "arrowSize");
    c.arrowSizeSpinner->setStep(1.0);
}

void buildStreamlineMode(PanelWindow& w, PanelControls& c) {
    c.modePanel = w.add_panel_to_panel(c.streamlinesRollout, "Mode", PanelStyle::Embossed);
    c.modeGroup = radioGroup(w, c.modePanel, "streamlineMode");
    for (const char* mode : {"Evenly", "Normal", "Tapering", "Glyph mapping", "Texture generation"}) {
        w.add_radiobutton_to_group(c.modeGroup, mode);
    }
    c.seedPointsSpinner = spinner(w, c.modePanel, "Seedpoints", "seedPoints");
    c.lineWidthMaxSpinner = spinner(w, c.modePanel, "Line Width Max", "lineWidthMax");
    c.lineWidthMinSpinner = spinner(w, c.modePanel, "Line Width Min", "lineWidthMin");
    c.seedPointsSpinner->disable();
    c.lineWidthMaxSpinner->disable();
    c.lineWidthMinSpinner->disable();
    c.textureFunctionGroup = radioGroup(w, c.modePanel, "textureFunction");
    w.add_radiobutton_to_group(c.textureFunctionGroup, "f1");
    w.add_radiobutton_to_group(c.textureFunctionGroup, "f2");
    c.periodSpinner = spinner(w, c.modePanel, "Period", "texturePeriod");
    c.modeGroup->set_int_val(0);
}

void buildIntegration(PanelWindow& w, PanelControls& c) {
    c.integrationPanel = w.add_panel_to_panel(c.streamlinesRollout, "Integration", PanelStyle::Embossed);
    c.integrationGroup = radioGroup(w, c.integrationPanel, "integrationMethod");
    c.eulerButton = w.add_radiobutton_to_group(c.integrationGroup, "Euler");
    c.rungeKuttaButton = w.add_radiobutton_to_group(c.integrationGroup, "Runge Kutta");
    // With unit speed, dt is a step length. Inside the panel, the checkbox is
    // enabled and disabled with the rest of the streamline section.
    c.unitSpeedCheckbox = checkbox(w, c.integrationPanel, "Unit speed", "unitSpeed");
    w.add_separator_to_panel(c.integrationPanel);
    // dt, dsep and dtest have no limits; the streamline set refuses values
    // it cannot place lines with.
    c.stepSizeSpinner = spinner(w, c.integrationPanel, "dt", "stepSize");
    c.stepSizeSpinner->setStep(0.001);
    c.dsepSpinner = spinner(w, c.integrationPanel, "dsep", "dsep");
    c.dtestSpinner = spinner(w, c.integrationPanel, "dtest", "dtest");
    // The most memory a placement may take; one that needs more is refused.
    c.memoryBudgetSpinner = spinner(w, c.integrationPanel, "Memory (MiB)", "memoryBudget");
    c.memoryBudgetSpinner->setStep(256.0);
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
    for (const char* line : {"Zoom camera:", "Hold left mouse button + move mouse",
                             "Move camera:", "Hold left and right mouse button", "+ move mouse"}) {
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
