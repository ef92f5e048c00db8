#pragma once

// The settings behind the control panel's controls. The panel writes them,
// the rest of the program reads them at draw time or in the control callback,
// and loading an options file writes them too.
extern int showArrowPlot;
extern int showStreamlines;
extern int backgroundChannel;
extern float noDataRed;
extern float noDataGreen;
extern float noDataBlue;
extern int showTfEditor;
extern int timestep;
extern int playing;
extern float frameRate;
extern int loopPlayback;
extern int colorRange;
extern int arrowCountX;
extern int arrowCountY;
extern int arrowSizeEnabled;
extern int applyArrowTf;
extern float arrowSize;
extern int streamlineMode;
extern int seedPoints;
extern float lineWidthMax;
extern float lineWidthMin;
extern float glyphSpacing;
extern int textureFunction;
extern int texturePeriod;
extern int integrationMethod;
extern int unitSpeed;
extern float stepSize;
extern float dsep;
extern float dtest;
extern int lineColor;
extern int lineOutline;
extern int showAllFiles;
extern int scaledZoomDrag;
extern int memoryBudget;  // MiB
extern int legendValues;
extern int showAxes;
extern int statusLine;
extern int smoothLines;
extern float lineWidth;
extern int screenshotScale;
extern int screenshotPanel;

// Puts every live variable back to its start value (tests and a fresh start).
void resetLiveVariables();
