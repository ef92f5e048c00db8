#include "app/gl/Globals.h"

#include "render/Camera.h"
#include "data/FlowData.h"
#include "options/OptionsFile.h"
#include "settings/LiveVariables.h"
#include "render/ArrowPlot.h"
#include "app/gl/Placements.h"
#include "app/gl/Scene.h"
#include "app/gl/Window.h"
#include "render/ShaderProgram.h"
#include "streamlines/StreamlineSet.h"
#include "tf/TransferFunction.h"

#include <iostream>

std::unique_ptr<ShaderProgram> shaderProgram;
std::unique_ptr<Camera> camera;
std::unique_ptr<OptionsFile> optionsFile;

std::unique_ptr<FlowData> flowData;
std::unique_ptr<ArrowPlot> arrowPlot;
std::unique_ptr<StreamlineSet> streamlineSet;
TransferFunctionSet transferFunctions;
int coordXSlot = -1;
int coordYSlot = -1;
int magnitudeSlot = -1;

int mainWindow = 0;
int viewportX = 0;
int viewportY = 0;
int windowWidth = 1024;
int windowHeight = 700;
int lastMouseButton = -1;
int lastMouseState = -1;
std::string statusText = "No data file specified";

unsigned arrowImage = 0;
unsigned arrowTexture = 0;

bool sceneReady() { return flowData && flowData->isLoaded() && streamlineSet && arrowPlot; }

TransferFunction* activeTransferFunction() {
    return transferFunctions.active(applyArrowTf, showArrowPlot, backgroundChannel);
}

void releaseTransferFunctions() {
    for (auto& tf : transferFunctions.functions) {
        if (tf) tf->releaseTexture();
        tf.reset();
    }
    for (auto& tf : transferFunctions.moreChannels) tf->releaseTexture();
    transferFunctions.moreChannels.clear();
    transferFunctions.chooser.reset();
}

void cleanup() {
    discardPlacements();
    releaseStreamlineBuffers();
    releaseArrowTexture();
    releaseSmoothFrame();
    // The scene objects observe the dataset: release them before it.
    streamlineSet.reset();
    arrowPlot.reset();
    releaseTransferFunctions();
    flowData.reset();
    std::cout << "cleaned up and exit now" << std::endl;
}
