#include "app/gl/OpenDataset.h"

#include "app/gl/Batch.h"
#include "app/gl/ControlCallback.h"

#include "render/Camera.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/Placements.h"
#include "app/gl/Scene.h"
#include "app/gl/TimeSteps.h"
#include "data/FlowData.h"
#include "formats/Importer.h"
#include "options/OptionsFile.h"
#include "panel/DatasetControls.h"
#include "settings/LiveVariables.h"
#include "settings/Modes.h"
#include "render/ArrowPlot.h"
#include "render/ShaderProgram.h"
#include "streamlines/StreamlineSet.h"

namespace {
// The scene objects observe the dataset: they go before it.
void discardScene() {
    discardPlacements();
    optionsFile->attach({}, nullptr);
    streamlineSet.reset();
    arrowPlot.reset();
    releaseTransferFunctions();
    flowData.reset();
}
}  // namespace

bool openDataset(std::string path) {
    const bool gridFile = path.size() >= 4 && path.compare(path.size() - 4, 4, ".gri") == 0;
    if (!gridFile && !isNetcdfPath(path)) return false;

    resetBackgroundChoice();
    if (flowData) {
        for (int slot = 0; slot < flowData->dataChannelCount() + 6; ++slot) flowData->deleteChannel(slot);
    }
    discardScene();

    flowData = std::make_unique<FlowData>(shaderProgram.get());
    if (!loadDataset(*flowData, path, 0)) return false;
    flowData->setTextureResolution(538);

    coordXSlot = flowData->createCoordinateChannel(0);
    coordYSlot = flowData->createCoordinateChannel(1);
    magnitudeSlot = flowData->createMagnitudeChannel(0, 1, 2);
    flowData->createVelocityTexture(magnitudeSlot);

    transferFunctions = createTransferFunctions(flowData.get(), magnitudeSlot, coordXSlot, shaderProgram.get());

    const int channels = flowData->dataChannelCount();
    enableChannelButtons(channels);
    for (int channel = 1; channel <= channels; ++channel) flowData->createDataTexture(channel);

    arrowPlot =
        std::make_unique<ArrowPlot>(flowData->quadSize(), shaderProgram.get(), &arrowCountX, &arrowCountY, &arrowSize);
    statusText = path;
    backgroundChannel = VelocityBackground;
    transferFunctions[0]->upload();
    transferFunctions[3]->upload();

    streamlineSet = std::make_unique<StreamlineSet>(flowData.get(), coordXSlot, coordYSlot, stepSize, dsep, dtest);
    // Unit speed is ours, not the panel's integration choice: a ticked box
    // applies to the new dataset too (off, the placement is unchanged).
    streamlineSet->setUnitSpeed(unitSpeed);
    streamlineSet->setMemoryBudget(static_cast<double>(memoryBudget) * 1048576.0);
    if (fitsOnOpening()) fitSettingsToData();
    requestPlacement(false);

    camera->reset();
    optionsFile->attach(transferFunctions.pointers(), streamlineSet.get(), transferFunctions.moreChannelPointers());
    applyShaderUniforms();
    timeStepsOpened(path);
    return true;
}
