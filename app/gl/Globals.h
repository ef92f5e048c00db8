#pragma once

#include "tf/TransferFunctionSet.h"

#include <memory>
#include <string>

class ArrowPlot;
class Camera;
class FlowData;
class OptionsFile;
class ShaderProgram;
class StreamlineSet;

// Long-lived objects and window state of the viewer. The scene objects are
// replaced by every successful dataset open.
extern std::unique_ptr<ShaderProgram> shaderProgram;
extern std::unique_ptr<Camera> camera;
extern std::unique_ptr<OptionsFile> optionsFile;

extern std::unique_ptr<FlowData> flowData;
extern std::unique_ptr<ArrowPlot> arrowPlot;
extern std::unique_ptr<StreamlineSet> streamlineSet;
// The colour chooser and the four transfer functions of the open dataset.
extern TransferFunctionSet transferFunctions;
extern int coordXSlot;
extern int coordYSlot;
extern int magnitudeSlot;

extern int mainWindow;
extern int viewportX;
extern int viewportY;
extern int windowWidth;
extern int windowHeight;
extern int lastMouseButton;
extern int lastMouseState;
extern std::string statusText;

extern unsigned arrowImage;
extern unsigned arrowTexture;

// True when a dataset is loaded and its scene objects belong to it. A failed
// reload leaves an empty dataset behind; drawing and dataset actions then
// wait for the next successful open.
bool sceneReady();

// The transfer function the editor shows and edits.
TransferFunction* activeTransferFunction();
// Deletes the transfer functions with their textures.
void releaseTransferFunctions();

// The exit clean-up: releases the arrow image and texture, the off-screen
// frame of smooth lines, the dataset and the transfer functions. Safe to run
// twice.
void cleanup();
