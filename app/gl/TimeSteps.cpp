#include "app/gl/TimeSteps.h"

#include "app/gl/ControlCallback.h"
#include "app/gl/Globals.h"
#include "app/gl/Placements.h"
#include "app/gl/Scene.h"
#include "app/gl/Window.h"
#include "data/FlowData.h"
#include "data/SeriesRange.h"
#include "panel/ControlPanel.h"
#include "panel/DatasetControls.h"
#include "settings/LiveVariables.h"
#include "settings/Modes.h"
#include "tf/TransferFunction.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>

bool streamlinesOutdated = false;

namespace {

using Clock = std::chrono::steady_clock;

// The path the status line shows while no step error replaces it.
std::string datasetPath;
// Computed once per dataset, when first asked for.
SeriesRanges seriesRanges;

// Timers cannot be cancelled: a tick of an older generation finds the
// number changed and does nothing.
int playGeneration = 0;
int framesPlayed = 0;
Clock::time_point playStart;
// While playing, a step waits this long for the lines of the one before.
constexpr unsigned kLinesWaitMs = 10;

// A step read while the streamlines are shown keeps the colours of the one
// before until its lines are placed, so that field and lines change together.
bool stepWaitsForLines = false;

int lastStep() { return flowData ? flowData->stepCount() - 1 : 0; }

void syncPanel() {
    if (controlPanel) controlPanel->sync_live();
}

// Colour ranges, textures, histograms and uniforms of the step shown. A
// step just read brings its own ranges along.
void refreshColours(bool stepRangesFresh) {
    if (colorRange == SeriesColorRange && hasTimeSeries()) {
        if (seriesRanges.empty()) seriesRanges = computeSeriesRanges(*flowData);
        applySeriesRanges(*flowData, seriesRanges, magnitudeSlot);
    } else if (!stepRangesFresh) {
        applyStepRanges(*flowData, magnitudeSlot);
    }
    flowData->createVelocityTexture(magnitudeSlot);
    // Only the data channel on show is built now; the others are built when
    // they are chosen, so a step costs one data texture, not one per channel.
    flowData->deleteDataTextures();
    if (backgroundChannel != VelocityBackground) flowData->bindDataTexture(backgroundChannel);
    // The arrow plot's histogram counts the velocity's channel: once.
    const auto& tfs = transferFunctions.functions;
    for (std::size_t k = 0; k < tfs.size(); ++k)
        if (tfs[k]) tfs[k]->computeHistogram(k == 3 ? tfs[0].get() : nullptr);
    applyShaderUniforms();
}

void stopPlaying() {
    ++playGeneration;
    if (playing != 0 && framesPlayed > 0) {
        const double seconds = std::chrono::duration<double>(Clock::now() - playStart).count();
        std::printf("- Played %d time steps in %.2f s (%.1f frames/s)\n", framesPlayed, seconds,
                    seconds > 0 ? framesPlayed / seconds : 0.0);
        std::fflush(stdout);
    }
    playing = 0;
    framesPlayed = 0;
    syncPanel();
}

int periodMs() { return static_cast<int>(1000.0f / std::max(frameRate, 0.5f) + 0.5f); }

void playTick(int generation) {
    if (generation != playGeneration) return;
    // Paused, or the dataset went (a failed open): the box shows it stopped.
    if (playing == 0 || !sceneReady()) {
        stopPlaying();
        return;
    }
    // The step shown has not got its lines yet: it stays until it has.
    if (placing()) {
        glutTimerFunc(kLinesWaitMs, playTick, generation);
        return;
    }
    const Clock::time_point began = Clock::now();
    int next = flowData->currentTimeStep() + 1;
    if (next > lastStep()) {
        // Play pressed at the end starts again from the beginning.
        if (loopPlayback == 0 && framesPlayed > 0) {
            stopPlaying();
            postRedisplay();
            return;
        }
        next = 0;
    }
    if (!showTimeStep(next)) {
        stopPlaying();
        postRedisplay();
        return;
    }
    ++framesPlayed;
    syncPanel();
    postRedisplay();
    // The step change counts against the frame's time.
    const int spent =
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began).count());
    glutTimerFunc(static_cast<unsigned>(std::max(0, periodMs() - spent)), playTick, generation);
}

}  // namespace

bool hasTimeSeries() { return sceneReady() && flowData->stepCount() > 1; }

void timeStepsOpened(const std::string& path) {
    stopPlaying();
    datasetPath = path;
    seriesRanges = SeriesRanges();
    streamlinesOutdated = false;
    stepWaitsForLines = false;
    timestep = 0;
    enableTimeControls(flowData ? flowData->stepCount() : 1);
    if (colorRange == SeriesColorRange && hasTimeSeries()) refreshColours(true);
    statusText = datasetPath + timeStepLabel();
}

bool showTimeStep(int step) {
    if (!sceneReady()) return false;
    step = std::clamp(step, 0, lastStep());
    if (step != flowData->currentTimeStep()) {
        // A running placement reads the step's data.
        stopPlacements();
        const bool loaded = flowData->loadTimeStep(step);
        // The step's lines show now, not whenever the buffer fills.
        std::cout.flush();
        if (!loaded) {
            const int shown = flowData->currentTimeStep();
            statusText = "Error! Time step " + std::to_string(step) + " could not be read; step " +
                         std::to_string(shown) + " is shown.";
            timestep = shown;
            return false;
        }
        flowData->updateMagnitudeChannel(magnitudeSlot, 0, 1, 2);
        timestep = step;
        if (showStreamlines == 1) {
            stepWaitsForLines = true;
            rebuildStreamlines();
            return true;
        }
        // Hidden lines are placed when they are shown again.
        refreshColours(true);
        streamlinesOutdated = true;
    }
    if (!stepWaitsForLines) statusText = datasetPath + timeStepLabel();
    timestep = step;
    return true;
}

void stepLinesPlaced() {
    if (!stepWaitsForLines) return;
    stepWaitsForLines = false;
    refreshColours(true);
    statusText = datasetPath + timeStepLabel();
}

void stepTimeBy(int delta) {
    if (!hasTimeSeries()) return;
    const int step = std::clamp(flowData->currentTimeStep() + delta, 0, lastStep());
    if (step != flowData->currentTimeStep()) showTimeStep(step);
}

void applyTimestep() {
    if (sceneReady()) showTimeStep(timestep);
}

void applyPlaying() {
    if (playing == 0 || !hasTimeSeries()) {
        stopPlaying();
        return;
    }
    const int generation = ++playGeneration;
    framesPlayed = 0;
    playStart = Clock::now();
    glutTimerFunc(static_cast<unsigned>(periodMs()), playTick, generation);
}

void applyColorRange() {
    if (sceneReady()) refreshColours(false);
}

bool stepByArrow(int direction) {
    if (!hasTimeSeries()) return false;
    stepTimeBy(direction);
    syncPanel();
    postRedisplay();
    return true;
}

std::string timeStepLabel() {
    if (!hasTimeSeries()) return std::string();
    return ", time step " + std::to_string(flowData->currentTimeStep()) + " (0 to " + std::to_string(lastStep()) + ")";
}
