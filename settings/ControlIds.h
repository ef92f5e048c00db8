#pragma once

// Ids the controls report to the control callback.
namespace controlId {
constexpr int fileBrowser = 3;
constexpr int saveOptions = 4;
constexpr int filename = 5;
constexpr int screenshot = 6;
constexpr int arrowCountX = 7;
constexpr int arrowCountY = 8;
constexpr int applyArrowTf = 9;
constexpr int showArrowPlot = 10;
constexpr int showStreamlines = 11;
constexpr int backgroundChannel = 12;
constexpr int arrowSizeEnabled = 13;
constexpr int arrowSize = 14;
constexpr int showTfEditor = 15;
constexpr int streamlineMode = 16;
constexpr int lineWidthMax = 17;
constexpr int lineWidthMin = 18;
constexpr int seedPoints = 19;
constexpr int colorFromCc = 20;
constexpr int integrationMethod = 21;
constexpr int dsep = 22;
constexpr int dtest = 23;
constexpr int stepSize = 24;
constexpr int textureFunction = 25;
constexpr int texturePeriod = 26;
constexpr int resetCamera = 27;
constexpr int unitSpeed = 28;
constexpr int timestep = 29;
constexpr int playing = 30;
constexpr int frameRate = 31;
constexpr int loopPlayback = 32;
constexpr int colorRange = 33;
constexpr int previousStep = 34;
constexpr int nextStep = 35;
constexpr int noDataRed = 36;
constexpr int noDataGreen = 37;
constexpr int noDataBlue = 38;
constexpr int glyphSpacing = 39;
constexpr int lineColor = 40;
constexpr int lineOutline = 41;
constexpr int fitToData = 42;
constexpr int showAllFiles = 44;
constexpr int scaledZoomDrag = 45;
constexpr int memoryBudget = 46;
constexpr int legendValues = 47;
constexpr int showAxes = 48;
constexpr int statusLine = 49;
constexpr int smoothLines = 50;
constexpr int lineWidth = 51;
constexpr int screenshotScale = 52;
// The colour-map buttons, one per map of colorMaps() in its order: 53 to 59
// for the seven maps. Further ids start after them.
constexpr int firstColorMap = 53;
constexpr int screenshotPanel = 60;
}  // namespace controlId
