#include "settings/LiveVariables.h"

#include "settings/Settings.h"

// Start values live in the settings table; the variables take them before
// main runs.
int showArrowPlot;
int showStreamlines;
int backgroundChannel;
float noDataRed;
float noDataGreen;
float noDataBlue;
int showTfEditor;
int timestep;
int playing;
float frameRate;
int loopPlayback;
int colorRange;
int arrowCountX;
int arrowCountY;
int arrowSizeEnabled;
int applyArrowTf;
float arrowSize;
int streamlineMode;
int seedPoints;
float lineWidthMax;
float lineWidthMin;
float glyphSpacing;
int textureFunction;
int texturePeriod;
int integrationMethod;
int unitSpeed;
float stepSize;
float dsep;
float dtest;
int lineColor;
int lineOutline;
int showAllFiles;
int scaledZoomDrag;
int memoryBudget;
int legendValues;
int showAxes;
int statusLine;
int smoothLines;
float lineWidth;
int screenshotScale;
int screenshotPanel;

void resetLiveVariables() {
    for (const Setting& s : settings()) {
        if (s.intValue) *s.intValue = static_cast<int>(s.start);
        else *s.floatValue = static_cast<float>(s.start);
    }
}

namespace {
const bool started = (resetLiveVariables(), true);
}  // namespace
