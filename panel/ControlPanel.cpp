#include "panel/ControlPanel.h"

#include "settings/Settings.h"

#include <stdexcept>
#include <string>
#include <utility>

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

template <class Control>
Control* described(Control* control, const char* tooltip) {
    control->setTooltip(tooltip);
    return control;
}

PanelCheckbox* checkbox(PanelWindow& w, PanelControl* parent, const char* label, const char* name) {
    const Setting& s = setting(name);
    return described(w.add_checkbox_to_panel(parent, label, s.intValue, s.controlId), s.meaning);
}

// Its buttons show the group's tooltip.
PanelRadioGroup* radioGroup(PanelWindow& w, PanelControl* parent, const char* name) {
    const Setting& s = setting(name);
    return described(w.add_radiogroup_to_panel(parent, s.intValue, s.controlId), s.meaning);
}

// dt, dsep and dtest are sizes that range over decades: a step multiplies or
// divides them by this factor.
constexpr double sizeStepFactor = 1.25;

PanelSpinner* spinner(PanelWindow& w, PanelControl* parent, const char* label, const char* name) {
    const Setting& s = setting(name);
    if (s.intValue) {
        PanelSpinner* spinner = described(w.add_spinner_to_panel(parent, label, s.intValue, s.controlId), s.meaning);
        if (s.limited) spinner->set_int_limits(static_cast<int>(s.low), static_cast<int>(s.high));
        return spinner;
    }
    PanelSpinner* spinner = described(w.add_spinner_to_panel(parent, label, s.floatValue, s.controlId), s.meaning);
    if (s.limited) spinner->set_float_limits(static_cast<float>(s.low), static_cast<float>(s.high));
    return spinner;
}

// A size spinner: steps keep their proportion to the value.
PanelSpinner* sizeSpinner(PanelWindow& w, PanelControl* parent, const char* label, const char* name) {
    PanelSpinner* sized = spinner(w, parent, label, name);
    sized->setStepFactor(sizeStepFactor, setting(name).start);
    return sized;
}

void buildViewOptions(PanelWindow& w, PanelControls& c) {
    c.optionsPanel = w.add_panel("Options", PanelStyle::Embossed);
    c.arrowPlotCheckbox = checkbox(w, c.optionsPanel, "Arrow plot", "showArrowPlot");
    c.streamlinesCheckbox = checkbox(w, c.optionsPanel, "Streamlines", "showStreamlines");
}

void buildBackground(PanelWindow& w, PanelControls& c, const std::vector<ColorMapButton>& colorMaps) {
    c.backgroundRollout = w.add_rollout("Background", true, PanelStyle::Embossed);
    c.backgroundGroup = radioGroup(w, c.backgroundRollout, "backgroundChannel");
    c.velocityButton = w.add_radiobutton_to_group(c.backgroundGroup, "Velocity");
    const Setting& background = setting("backgroundChannel");
    for (int k = 1; k <= static_cast<int>(background.high); ++k) {
        PanelRadioButton* button = w.add_radiobutton_to_group(c.backgroundGroup, "Channel " + std::to_string(k));
        button->setShown(k <= 2);
        c.channelButtons.push_back(button);
    }
    c.channel1Button = c.channelButtons[0];
    c.channel2Button = c.channelButtons[1];
    c.showTfCheckbox = checkbox(w, c.backgroundRollout, "Show TF", "showTfEditor");
    c.colorMapPanel = w.add_panel_to_panel(c.backgroundRollout, "Colour map", PanelStyle::Embossed);
    for (std::size_t k = 0; k < colorMaps.size(); ++k) {
        const ColorMapButton& map = colorMaps[k];
        w.add_button_to_panel(c.colorMapPanel, map.label, controlId::firstColorMap + static_cast<int>(k))
            ->setTooltip("give the transfer function the editor shows this colour map: " + map.tooltip);
    }
    // Nodes without data are drawn in this colour, never through a transfer function.
    c.noDataPanel = w.add_panel_to_panel(c.backgroundRollout, "No data colour", PanelStyle::Embossed);
    for (const auto& [label, name] :
         {std::pair<const char*, const char*>{"Red", "noDataRed"}, {"Green", "noDataGreen"}, {"Blue", "noDataBlue"}}) {
        spinner(w, c.noDataPanel, label, name)->setStep(0.05);
    }
    // The editor's titles of the four transfer functions are constants of
    // the transfer-function code (transferFunctionTitles); nothing to create.
}

// Stepping and playing the time steps; opened up only for datasets with
// more than one step (enableTimeControls).
void buildTime(PanelWindow& w, PanelControls& c) {
    c.timeRollout = w.add_rollout("Time", true, PanelStyle::Embossed);
    c.timestepSlider = spinner(w, c.timeRollout, "Time step", "timestep");
    c.timestepSlider->showAsSlider();
    c.previousStepButton = described(w.add_button_to_panel(c.timeRollout, "< Previous", controlId::previousStep),
                                     "show the time step before this one (key: left arrow)");
    c.nextStepButton = described(w.add_button_to_panel(c.timeRollout, "Next >", controlId::nextStep),
                                 "show the next time step (key: right arrow)");
    c.playCheckbox = checkbox(w, c.timeRollout, "Play", "playing");
    c.frameRateSpinner = spinner(w, c.timeRollout, "Frames/s", "frameRate");
    c.frameRateSpinner->setStep(1.0);
    c.loopCheckbox = checkbox(w, c.timeRollout, "Loop", "loopPlayback");
    PanelGroup* range = w.add_panel_to_panel(c.timeRollout, "Colour range", PanelStyle::Embossed);
    c.colorRangeGroup = radioGroup(w, range, "colorRange");
    w.add_radiobutton_to_group(c.colorRangeGroup, "this step");
    w.add_radiobutton_to_group(c.colorRangeGroup, "all steps");
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
    c.glyphSpacingSpinner = spinner(w, c.modePanel, "Glyph spacing", "glyphSpacing");
    // Lengths in data units: steps of a tenth of their start values.
    c.lineWidthMaxSpinner->setStep(0.01);
    c.lineWidthMinSpinner->setStep(0.004);
    c.glyphSpacingSpinner->setStep(0.03);
    c.seedPointsSpinner->disable();
    c.lineWidthMaxSpinner->disable();
    c.lineWidthMinSpinner->disable();
    c.glyphSpacingSpinner->disable();
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
    c.stepSizeSpinner = sizeSpinner(w, c.integrationPanel, "dt", "stepSize");
    c.dsepSpinner = sizeSpinner(w, c.integrationPanel, "dsep", "dsep");
    c.dtestSpinner = sizeSpinner(w, c.integrationPanel, "dtest", "dtest");
    // The most memory a placement may take; one that needs more is refused.
    c.memoryBudgetSpinner = spinner(w, c.integrationPanel, "Memory (MiB)", "memoryBudget");
    c.memoryBudgetSpinner->setStep(256.0);
}

void buildStreamlines(PanelWindow& w, PanelControls& c) {
    c.streamlinesRollout = w.add_rollout("Streamlines", true, PanelStyle::Embossed);
    buildStreamlineMode(w, c);
    buildIntegration(w, c);
    c.colorFromCcButton =
        described(w.add_button_to_panel(c.streamlinesRollout, "Color from CC", controlId::colorFromCc),
                  "colour the streamlines with the colour chooser's current colour");
    c.lineColorPanel = w.add_panel_to_panel(c.streamlinesRollout, "Line colour", PanelStyle::Embossed);
    c.lineColorGroup = radioGroup(w, c.lineColorPanel, "lineColor");
    for (const char* colour : {"White", "Black", "Chosen colour", "By speed"}) {
        w.add_radiobutton_to_group(c.lineColorGroup, colour);
    }
    c.lineOutlineCheckbox = checkbox(w, c.lineColorPanel, "Dark outline", "lineOutline");
    c.fitToDataButton = described(w.add_button_to_panel(c.streamlinesRollout, "Fit to data", controlId::fitToData),
                                  "set dsep, dtest, the step, the band widths, the glyph spacing and the arrow size "
                                  "from the size of the dataset's box");
    c.eulerButton->disable();
    c.rungeKuttaButton->disable();
}

// What a picture for a report shows beyond the field: all off at the start,
// the baseline look.
void buildFigure(PanelWindow& w, PanelControls& c) {
    c.figureRollout = w.add_rollout("Figure", false, PanelStyle::Embossed);
    checkbox(w, c.figureRollout, "Legend with values", "legendValues");
    checkbox(w, c.figureRollout, "Axes", "showAxes");
    checkbox(w, c.figureRollout, "Status line", "statusLine");
    checkbox(w, c.figureRollout, "Smooth lines", "smoothLines");
    spinner(w, c.figureRollout, "Line width (px)", "lineWidth")->setStep(0.5);
    spinner(w, c.figureRollout, "Screenshot scale", "screenshotScale");
    checkbox(w, c.figureRollout, "Screenshot with panel", "screenshotPanel");
}

void buildFilesAndSave(PanelWindow& w, PanelControls& c) {
    c.fileBrowserRollout = w.add_rollout("File Browser", true, PanelStyle::Embossed);
    w.add_statictext_to_panel(c.fileBrowserRollout, "Grid files (.gri) and");
    w.add_statictext_to_panel(c.fileBrowserRollout, "options files (.xml) can be loaded.");
    c.fileBrowser = described(w.add_filebrowser_to_panel(c.fileBrowserRollout, "", controlId::fileBrowser),
                              "click a folder to enter it, a grid file (.gri) to open it or an options file "
                              "(.xml) to load it; or type a path into the field above the list and press Enter");
    c.showAllFilesCheckbox = checkbox(w, c.fileBrowserRollout, "Show all files", "showAllFiles");

    c.saveRollout = w.add_rollout("Save", true, PanelStyle::Embossed);
    c.filenameField = described(w.add_edittext_to_panel(c.saveRollout, "Filename: ", controlId::filename),
                                "the options file to write; a name without a folder goes to the current folder, "
                                "the one the file browser shows");
    c.filenameField->set_text("options.xml");
    c.saveOptionsButton =
        described(w.add_button_to_panel(c.saveRollout, "Save Options", controlId::saveOptions),
                  "write the settings, the camera, the transfer functions and the streamline colour to that file");
    c.filenameField->set_w(180);
}

void buildFooter(PanelWindow& w, PanelControls& c) {
    c.screenshotButton =
        described(w.add_button("Screenshot", controlId::screenshot),
                  "save the graphics area as the next QuillmereNNNN.png in the current folder (key s)");
    c.resetCameraButton = described(w.add_button("Reset Camera", controlId::resetCamera),
                                    "show the whole field again: no zoom, no pan (key Home or r)");
    c.scaledZoomDragCheckbox = checkbox(w, &w, "Scaled zoom drag", "scaledZoomDrag");
    w.add_separator();
    for (const char* line :
         {"Zoom camera:", "Hold left mouse button + move mouse", "Move camera:", "Hold left and right mouse button",
          "+ move mouse", "Wheel: zoom at the pointer", "Right or middle drag: move camera",
          "Keys: + - zoom, arrows move, Home or r reset, s screenshot, q or Esc quit"}) {
        w.add_statictext(line);
    }
}

// Until a dataset is open only the file browser, the screenshot button and
// the help can be used.
void disableDatasetControls(PanelControls& c) {
    c.optionsPanel->disable();
    c.backgroundRollout->disable();
    c.backgroundRollout->close();
    c.timeRollout->disable();
    c.timeRollout->close();
    c.streamlinesRollout->disable();
    c.streamlinesRollout->close();
    c.arrowPlotRollout->disable();
    c.arrowPlotRollout->close();
    c.saveRollout->disable();
    c.saveRollout->close();
    c.resetCameraButton->disable();
}

}  // namespace

void buildControlPanel(ControlCallback callback, const std::vector<ColorMapButton>& colorMaps) {
    panelControls = PanelControls();
    controlPanel = std::make_unique<PanelWindow>(callback);
    PanelWindow& w = *controlPanel;
    PanelControls& c = panelControls;
    buildViewOptions(w, c);
    buildBackground(w, c, colorMaps);
    buildTime(w, c);
    buildArrowPlot(w, c);
    buildStreamlines(w, c);
    buildFigure(w, c);
    buildFilesAndSave(w, c);
    buildFooter(w, c);
    disableDatasetControls(c);
}
