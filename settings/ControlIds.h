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
constexpr int memoryBudget = 29;
}  // namespace controlId
