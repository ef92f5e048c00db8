#pragma once

// The settings behind the control panel's controls. The panel writes them,
// the rest of the program reads them at draw time or in the control callback,
// and loading an options file writes them too.
extern int showArrowPlot;
extern int showStreamlines;
extern int backgroundChannel;
extern int showTfEditor;
extern int arrowCountX;
extern int arrowCountY;
extern int arrowSizeEnabled;
extern int applyArrowTf;
extern float arrowSize;
extern int streamlineMode;
extern int seedPoints;
extern float lineWidthMax;
extern float lineWidthMin;
extern int textureFunction;
extern int texturePeriod;
extern int integrationMethod;
extern int unitSpeed;
extern float stepSize;
extern float dsep;
extern float dtest;
extern int memoryBudget;  // MiB

// Puts every live variable back to its start value (tests and a fresh start).
void resetLiveVariables();
