#include "app/gl/ControlCallback.h"

#include "render/Camera.h"
#include "app/gl/Globals.h"
#include "app/gl/OpenDataset.h"
#include "app/gl/Scene.h"
#include "app/gl/Screenshot.h"
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
#include "streamlines/StreamlineSet.h"

#include <algorithm>

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

// A channel the dataset does not have (its button is disabled, but the
// command line or an options file can ask for it) falls back to the velocity.
void keepBackgroundAvailable() {
    if (backgroundChannel < 0 || backgroundChannel > std::min(flowData->dataChannelCount(), 2))
        backgroundChannel = VelocityBackground;
}

void selectBackground() {
    if (!sceneReady()) return;
    keepBackgroundAvailable();
    const int channel = backgroundChannel;
    if (channel == Channel1Background) flowData->bindDataTexture1();
    if (channel == Channel2Background) flowData->bindDataTexture2();
    setUniform("background", channel);
    if (TransferFunction* tf = transferFunctions[channel]) {
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
    }
}
}  // namespace

void rebuildStreamlines() {
    if (!sceneReady()) return;
    if (streamlineModeOf(streamlineMode) == StreamlineMode::Normal) streamlineSet->computeSeeded(seedPoints);
    else streamlineSet->computeEvenlySpaced();
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
    if (streamlineSet->limitedByBudget()) rebuildStreamlines();
}

void applySeedPoints() { rebuildStreamlines(); }

void applyStreamlineMode() {
    enableModeControls(streamlineMode);
    rebuildStreamlines();
}

bool loadOptionsFile(const std::string& name) {
    const bool complete = optionsFile->load(name);
    if (!sceneReady()) return complete;
    keepBackgroundAvailable();
    TransferFunction* background = transferFunctions[backgroundChannel];
    TransferFunction* arrows = transferFunctions[3];
    background->buildColorTable();
    arrows->buildColorTable();
    background->upload();
    arrows->upload();
    if (backgroundChannel == Channel1Background) flowData->bindDataTexture1();
    if (backgroundChannel == Channel2Background) flowData->bindDataTexture2();
    applyShaderUniforms();
    // Unit speed is taken along by the placements below rather than placing
    // once more: a load prints the same placements as it did before it existed.
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
            optionsFile->save(panelControls.filenameField ? panelControls.filenameField->get_text() : "options.xml");
            expand(panelControls.saveRollout, false);
        } else {
            statusText = "Error! Nothing saved, because no data file is loaded.";
        }
        break;
    case controlId::screenshot: takeScreenshot(); break;
    case controlId::applyArrowTf: setUniform("enableArrowTF", applyArrowTf == 0 ? 0 : 1); break;
    case controlId::showArrowPlot: showArrowPlotSection(showArrowPlot != 0); break;
    case controlId::showStreamlines: showStreamlinesSection(showStreamlines != 0); break;
    case controlId::backgroundChannel: selectBackground(); break;
    case controlId::arrowSizeEnabled: setUniform("arrowSizeModif", arrowSizeEnabled == 0 ? 0 : 1); break;
    case controlId::arrowSize: setUniform("pointSize", arrowSize); break;
    case controlId::streamlineMode: applyStreamlineMode(); break;
    case controlId::seedPoints: applySeedPoints(); break;
    case controlId::colorFromCc:
        if (sceneReady() && transferFunctions.chooser) {
            const ColorRGBA& c = transferFunctions.chooser->current();
            streamlineSet->setColor(c.red(), c.green(), c.blue());
        }
        break;
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
    default: break;  // arrow counts, line widths, "Show TF", the file name: read when drawing or saving
    }
    if (controlPanel) controlPanel->sync_live();
    postRedisplay();
}
