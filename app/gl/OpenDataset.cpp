#include "app/gl/OpenDataset.h"

#include "app/gl/Batch.h"
#include "app/gl/ControlCallback.h"

#include "render/Camera.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/Placements.h"
#include "app/gl/Scene.h"
#include "app/gl/TimeSteps.h"
#include "common/ConsoleLog.h"
#include "data/FlowData.h"
#include "formats/Importer.h"
#include "options/OptionsFile.h"
#include "panel/DatasetControls.h"
#include "settings/LiveVariables.h"
#include "settings/Modes.h"
#include "render/ArrowPlot.h"
#include "render/ShaderProgram.h"
#include "streamlines/StreamlineSet.h"

#include <exception>
#include <future>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

namespace {
bool opensAsDataset(const std::string& path) {
    const bool gridFile = path.size() >= 4 && path.compare(path.size() - 4, 4, ".gri") == 0;
    return gridFile || isNetcdfPath(path);
}

// The dataset as the opener reads it before any GL work: loaded, with the
// node x, node y and magnitude channels after the file's.
struct ReadDataset {
    std::unique_ptr<FlowData> data;
    bool loaded = false;
    std::unique_ptr<ConsoleLog> console;  // what the reading printed, when it ran early
    std::exception_ptr failure;
    int xSlot = -1;
    int ySlot = -1;
    int magnitudeSlot = -1;

    ReadDataset() = default;
    ReadDataset(ReadDataset&&) = default;
    ReadDataset& operator=(ReadDataset&&) = default;
    // Dropped unused, the dataset goes without its channels' farewells.
    ~ReadDataset() {
        if (!data || !console) return;
        ConsoleLog unseen;
        ConsoleRedirect capture(unseen);
        data.reset();
    }
};

ReadDataset readDataset(const std::string& path, UniformTarget* uniforms) {
    ReadDataset read;
    read.data = std::make_unique<FlowData>(uniforms);
    read.loaded = loadDataset(*read.data, path, 0);
    if (!read.loaded) return read;
    read.xSlot = read.data->createCoordinateChannel(0);
    read.ySlot = read.data->createCoordinateChannel(1);
    read.magnitudeSlot = read.data->createMagnitudeChannel(0, 1, 2);
    return read;
}

std::string prefetchedPath;
std::future<ReadDataset> prefetched;

// The prefetched dataset of `path` with its console lines printed, or
// nothing (no data) when none was started for that path.
ReadDataset takePrefetched(const std::string& path) {
    if (!prefetched.valid()) return {};
    ReadDataset read = prefetched.get();
    if (path != prefetchedPath) return {};
    read.console->replay(std::cout, std::cerr);
    read.console.reset();
    if (read.failure) std::rethrow_exception(read.failure);
    read.data->setUniformTarget(shaderProgram.get());
    return read;
}

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

void prefetchDataset(const std::string& path) {
    if (!opensAsDataset(path) || prefetched.valid()) return;
    prefetchedPath = path;
    try {
        prefetched = std::async(std::launch::async, [path] {
            auto console = std::make_unique<ConsoleLog>();
            ConsoleRedirect capture(*console);
            ReadDataset read;
            try {
                read = readDataset(path, nullptr);
            } catch (...) {
                read.failure = std::current_exception();
            }
            read.console = std::move(console);
            return read;
        });
    } catch (const std::system_error&) {
        // No thread to be had: openDataset reads the dataset itself.
    }
}

bool openDataset(std::string path) {
    if (!opensAsDataset(path)) return false;

    resetBackgroundChoice();
    if (flowData) {
        for (int slot = 0; slot < flowData->dataChannelCount() + 6; ++slot) flowData->deleteChannel(slot);
    }
    discardScene();

    ReadDataset read = takePrefetched(path);
    if (!read.data) read = readDataset(path, shaderProgram.get());
    flowData = std::move(read.data);
    if (!read.loaded) return false;
    flowData->setTextureResolution(538);
    coordXSlot = read.xSlot;
    coordYSlot = read.ySlot;
    magnitudeSlot = read.magnitudeSlot;
    // The transfer functions, GL-free, count their histograms while the
    // textures are made.
    auto makeFunctions = [data = flowData.get(), shader = shaderProgram.get()] {
        return createTransferFunctions(data, magnitudeSlot, coordXSlot, shader);
    };
    std::future<TransferFunctionSet> functions;
    try {
        functions = std::async(std::launch::async, makeFunctions);
    } catch (const std::system_error&) {
        // No thread to be had: made after the textures.
    }
    flowData->createVelocityTexture(magnitudeSlot);
    const int channels = flowData->dataChannelCount();
    enableChannelButtons(channels);
    for (int channel = 1; channel <= channels; ++channel) flowData->createDataTexture(channel);
    transferFunctions = functions.valid() ? functions.get() : makeFunctions();

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
