#include "panel/LiveVariables.h"

int showArrowPlot = 0;
int showStreamlines = 0;
int backgroundChannel = 0;
int showTfEditor = 0;
int arrowCountX = 10;
int arrowCountY = 10;
int arrowSizeEnabled = 1;
int applyArrowTf = 0;
float arrowSize = 40.0f;
int streamlineMode = 0;
int seedPoints = 5;
float lineWidthMax = 0.1f;
float lineWidthMin = 0.04f;
int textureFunction = 0;
int texturePeriod = 160;
int integrationMethod = 0;
int unitSpeed = 0;
float stepSize = 0.005f;
float dsep = 0.4f;
float dtest = 0.2f;

void resetLiveVariables() {
    showArrowPlot = 0;
    showStreamlines = 0;
    backgroundChannel = 0;
    showTfEditor = 0;
    arrowCountX = 10;
    arrowCountY = 10;
    arrowSizeEnabled = 1;
    applyArrowTf = 0;
    arrowSize = 40.0f;
    streamlineMode = 0;
    seedPoints = 5;
    lineWidthMax = 0.1f;
    lineWidthMin = 0.04f;
    textureFunction = 0;
    texturePeriod = 160;
    integrationMethod = 0;
    unitSpeed = 0;
    stepSize = 0.005f;
    dsep = 0.4f;
    dtest = 0.2f;
}
