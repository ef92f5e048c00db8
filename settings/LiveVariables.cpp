#include "settings/LiveVariables.h"

#include "settings/Settings.h"

// Start values live in the settings table; the variables take them before
// main runs.
int showArrowPlot;
int showStreamlines;
int backgroundChannel;
int showTfEditor;
int arrowCountX;
int arrowCountY;
int arrowSizeEnabled;
int applyArrowTf;
float arrowSize;
int streamlineMode;
int seedPoints;
float lineWidthMax;
float lineWidthMin;
int textureFunction;
int texturePeriod;
int integrationMethod;
int unitSpeed;
float stepSize;
float dsep;
float dtest;
int memoryBudget;

void resetLiveVariables() {
    for (const Setting& s : settings()) {
        if (s.intValue) *s.intValue = static_cast<int>(s.start);
        else *s.floatValue = static_cast<float>(s.start);
    }
}

namespace {
const bool started = (resetLiveVariables(), true);
}  // namespace
