#include "app/gl/ControlCallback.h"

#include "render/Camera.h"
#include "app/gl/ColorMapChoice.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/OpenDataset.h"
#include "app/gl/Placements.h"
#include "app/gl/Scene.h"
#include "app/gl/Screenshot.h"
#include "app/gl/TimeSteps.h"
#include "app/gl/Window.h"
#include "data/FlowData.h"
#include "options/OptionsFile.h"
#include "panel/ControlPanel.h"
#include "settings/LiveVariables.h"
#include "settings/Modes.h"
#include "panel/PanelCheckbox.h"
#include "panel/PanelContainers.h"
#include "panel/PanelEditText.h"
#include "panel/PanelFileBrowser.h"
#include "panel/PanelRadioGroup.h"
#include "panel/PanelSimpleControls.h"
#include "panel/PanelSpinner.h"
#include "panel/SectionControls.h"
#include "render/ShaderProgram.h"
#include "render/ArrowPlot.h"
#include "settings/Settings.h"
#include "streamlines/FitToData.h"
#include "streamlines/StreamlineSet.h"
#include "tf/ColorMaps.h"

#include <iostream>

namespace {
void setUniform(const char* name, int value) {
    shaderProgram->use();
    shaderProgram->setInt(name, value);
    shaderProgram->unuse();
}

void setUniform(const char* name, float value) {
    shaderProgram->use();
    shaderProgram->setFloat(name, value);
    shaderProgram->unuse();
}

template <class Rollout>
void expand(Rollout* rollout, bool open) {
    if (!rollout) return;
    if (open) rollout->open();
    else rollout->close();
}

bool endsWith(const std::string& text, const char* tail) {
    const std::string t(tail);
    return text.size() >= t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

// A channel the dataset does not have (it has no button, but the command
// line or an options file can ask for it) falls back to the velocity, with
// one line that says so.
void keepBackgroundAvailable() {
    const int channels = flowData->dataChannelCount();
    if (backgroundChannel >= 0 && backgroundChannel <= channels) return;
    std::cerr << "Background channel " << backgroundChannel << " is not in this dataset (data channels: " << channels
              << "); showing the velocity" << std::endl;
    backgroundChannel = VelocityBackground;
}

void selectBackground() {
    if (!sceneReady()) return;
    keepBackgroundAvailable();
    const int channel = backgroundChannel;
    if (channel != VelocityBackground) flowData->bindDataTexture(channel);
    setUniform("background", channel);
    if (TransferFunction* tf = transferFunctions.forBackground(channel)) {
        tf->upload();
        tf->buildColorTable();
    }
}

void openPickedFile(const std::string& name) {
    if (endsWith(name, ".xml") || endsWith(name, ".XML")) {
        if (!sceneReady()) {
            statusText = "Error! No data file loaded.";
            return;
        }
        loadOptionsFile(name);
        expand(panelControls.fileBrowserRollout, false);
        return;
    }
    if (openDataset(name)) {
        expand(panelControls.fileBrowserRollout, false);
        enableDatasetControls();
    } else {
        statusText = "Error! Only gri-files and xml-files are permitted.";
        reportOpenFailure(name);
    }
}

std::string listed(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) text += (text.empty() ? "" : ", ") + entry;
    return text;
}

void saveOptions(const std::string& name) {
    if (optionsFile->save(name)) {
        statusBoard.post(MessageKind::Info, "Options saved to " + shownPath(name));
    } else {
        statusBoard.post(MessageKind::Error, "Options not saved: could not write " + shownPath(name));
    }
}
}  // namespace

void rebuildStreamlines() { requestPlacement(streamlineModeOf(streamlineMode) == StreamlineMode::Normal); }

void reportOpenFailure(const std::string& name) {
    // A name without ".gri" is refused by the status line alone.
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".gri") == 0)
        statusBoard.post(MessageKind::Error,
                         "Could not load " + shownPath(name) + " with its data file of time step 0");
}

void applyIntegration() {
    if (!sceneReady()) return;
    streamlineSet->setIntegration(integrationMethodOf(integrationMethod));
    rebuildStreamlines();
}

void applyUnitSpeed() {
    if (!sceneReady()) return;
    streamlineSet->setUnitSpeed(unitSpeed == 0 ? 0 : 1);
    rebuildStreamlines();
}

void fitSettingsToData() {
    const DomainBox box = streamlineSet->domainBox();
    const FittedSettings fit = fitToBox(box);
    if (!(fit.dsep > 0.0f)) {
        std::cerr << "Fit to data: the dataset's box has no area" << std::endl;
        return;
    }
    // The new values go through the settings, as if typed into the panel.
    const auto set = [](const char* name, double value) { findSetting(name)->set(value); };
    set("unitSpeed", 1);
    set("dsep", fit.dsep);
    set("dtest", fit.dtest);
    set("stepSize", fit.dt);
    set("lineWidthMax", fit.lineWidthMax);
    set("lineWidthMin", fit.lineWidthMin);
    set("glyphSpacing", fit.glyphSpacing);
    const int fieldHeight = showTfEditor == 1 ? static_cast<int>(windowHeight * 0.8) : windowHeight;
    set("arrowSize", ArrowPlot::fittedSize(arrowPlot->quad, arrowCountX, arrowCountY, fieldHeight / 1.4f));
    std::cout << describeFit(box, fit) << ", arrow size " << arrowSize << std::endl;
    applyFit(*streamlineSet, fit);
}

void applyFitToData() {
    if (!sceneReady()) return;
    fitSettingsToData();
    setUniform("pointSize", arrowSize);
    rebuildStreamlines();
}

void applyStepSize() {
    if (!sceneReady()) return;
    streamlineSet->setStepSize(stepSize);
    rebuildStreamlines();
}

void applyDsep() {
    if (!sceneReady()) return;
    streamlineSet->setSeparation(dsep);
    rebuildStreamlines();
}

void applyDtest() {
    if (!sceneReady()) return;
    streamlineSet->setTestDistance(dtest);
    rebuildStreamlines();
}

// A new budget matters only to a placement it refused or stopped.
void applyMemoryBudget() {
    if (!sceneReady()) return;
    streamlineSet->setMemoryBudget(static_cast<double>(memoryBudget) * 1048576.0);
    // Lines the old budget cut short or refused are placed again, and so is
    // a placement still running under it.
    const StreamlineSet* placed = placedStreamlines();
    if (placing() || (placed && placed->limitedByBudget())) rebuildStreamlines();
}

void applySeedPoints() { rebuildStreamlines(); }

void applyStreamlineMode() {
    enableModeControls(streamlineMode);
    rebuildStreamlines();
}

bool loadOptionsFile(const std::string& name) {
    const bool complete = optionsFile->load(name);
    if (!complete && !optionsFile->loadFailure().empty()) {
        statusBoard.post(MessageKind::Error,
                         "Options not loaded from " + shownPath(name) + ": " + optionsFile->loadFailure());
    } else if (complete) {
        std::string loaded = "Options loaded from " + shownPath(name);
        const bool whole = optionsFile->skippedEntries().empty() && optionsFile->clampedEntries().empty();
        if (!optionsFile->skippedEntries().empty())
            loaded += "; kept the current values of " + listed(optionsFile->skippedEntries());
        if (!optionsFile->clampedEntries().empty())
            loaded += "; held to their limits: " + listed(optionsFile->clampedEntries());
        statusBoard.post(whole ? MessageKind::Info : MessageKind::Warning, loaded);
    }
    if (!sceneReady()) return complete;
    keepBackgroundAvailable();
    TransferFunction* background = transferFunctions.forBackground(backgroundChannel);
    TransferFunction* arrows = transferFunctions[3];
    background->buildColorTable();
    arrows->buildColorTable();
    background->upload();
    arrows->upload();
    if (backgroundChannel != VelocityBackground) flowData->bindDataTexture(backgroundChannel);
    applyShaderUniforms();
    // Unit speed is taken along by the placements below rather than placing
    // once more: a load prints the same placements as it did before it
    // existed.
    streamlineSet->setUnitSpeed(unitSpeed == 0 ? 0 : 1);
    applyIntegration();
    applyStepSize();
    applyDsep();
    applyDtest();
    applyStreamlineMode();
    applySeedPoints();
    return complete;
}

void controlCallback(int id) {
    switch (id) {
    case controlId::fileBrowser:
        if (panelControls.fileBrowser) openPickedFile(panelControls.fileBrowser->get_file());
        break;
    case controlId::saveOptions:
        if (sceneReady()) {
            saveOptions(panelControls.filenameField ? panelControls.filenameField->get_text() : "options.xml");
            expand(panelControls.saveRollout, false);
        } else {
            statusText = "Error! Nothing saved, because no data file is loaded.";
        }
        break;
    case controlId::screenshot: takeScreenshot(); break;
    case controlId::applyArrowTf: setUniform("enableArrowTF", applyArrowTf == 0 ? 0 : 1); break;
    case controlId::showArrowPlot: showArrowPlotSection(showArrowPlot != 0); break;
    case controlId::showStreamlines:
        showStreamlinesSection(showStreamlines != 0);
        // A step change while they were hidden left an earlier step's lines.
        if (showStreamlines != 0 && streamlinesOutdated) rebuildStreamlines();
        break;
    case controlId::backgroundChannel: selectBackground(); break;
    case controlId::arrowSizeEnabled: setUniform("arrowSizeModif", arrowSizeEnabled == 0 ? 0 : 1); break;
    case controlId::arrowSize: setUniform("pointSize", arrowSize); break;
    case controlId::streamlineMode: applyStreamlineMode(); break;
    case controlId::seedPoints: applySeedPoints(); break;
    case controlId::colorFromCc:
        if (sceneReady() && transferFunctions.chooser) {
            const ColorRGBA& c = transferFunctions.chooser->current();
            streamlineSet->setColor(c.red(), c.green(), c.blue());
            // The lines show the colour just chosen.
            lineColor = static_cast<int>(LineColor::Chosen);
        }
        break;
    case controlId::noDataRed:
    case controlId::noDataGreen:
    case controlId::noDataBlue:
        if (sceneReady()) applyShaderUniforms();
        break;
    case controlId::fitToData: applyFitToData(); break;
    case controlId::integrationMethod: applyIntegration(); break;
    case controlId::unitSpeed: applyUnitSpeed(); break;
    case controlId::dsep: applyDsep(); break;
    case controlId::dtest: applyDtest(); break;
    case controlId::stepSize: applyStepSize(); break;
    case controlId::memoryBudget: applyMemoryBudget(); break;
    case controlId::textureFunction:
        if (sceneReady()) streamlineSet->setTextureFunction(textureFunction == 0 ? 0 : 1);
        break;
    case controlId::texturePeriod:
        if (sceneReady()) streamlineSet->setTexturePeriod(texturePeriod);
        break;
    case controlId::resetCamera: camera->reset(); break;
    case controlId::timestep: applyTimestep(); break;
    case controlId::previousStep: stepTimeBy(-1); break;
    case controlId::nextStep: stepTimeBy(1); break;
    case controlId::playing: applyPlaying(); break;
    case controlId::colorRange: applyColorRange(); break;
    case controlId::showAllFiles:
        if (panelControls.fileBrowser) panelControls.fileBrowser->setShowAllFiles(showAllFiles != 0);
        break;
    // Arrow counts, line widths and colours, "Show TF", the file name, frame
    // rate and loop, the zoom drag, the figure's settings: read when used.
    default:
        if (id >= controlId::firstColorMap && id < controlId::firstColorMap + static_cast<int>(colorMaps().size()) &&
            sceneReady())
            chooseColorMap(*activeTransferFunction(), id - controlId::firstColorMap);
        break;
    }
    if (controlPanel) controlPanel->sync_live();
    postRedisplay();
}
