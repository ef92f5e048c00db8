#pragma once

#include <string>

// The time steps of the open dataset: showing one, stepping, playing and
// the choice of colour range. A step change reads that step's data in place
// and redoes what depends on it: magnitudes, colour ranges, textures,
// histograms, uniforms and (when shown) the streamlines.

// Whether the open dataset has more than one time step.
bool hasTimeSeries();

// A dataset was just opened at step 0: stops playing, forgets the previous
// dataset's series ranges, opens up the "Time" section for a series and
// applies the colour-range choice.
void timeStepsOpened(const std::string& path);

// Shows step `step`, held to the dataset's steps. When it cannot be read the
// previous step stays on screen, the status line says so and `timestep`
// shows the step on screen again; returns false then.
bool showTimeStep(int step);
// Lines were placed: a step that waited for them shows now (its colours,
// textures and status line).
void stepLinesPlaced();
// The step before or after the one shown (no further than the ends).
void stepTimeBy(int delta);

// Effects of the "Time" controls.
void applyTimestep();
void applyPlaying();
void applyColorRange();

// The left (-1) and right (1) arrows step through a series; false for a
// dataset of one step, whose arrows move the view instead.
bool stepByArrow(int direction);

// ", time step K (0 to N)" after the path in the status line; empty for a
// single step.
std::string timeStepLabel();

// Set when a step change left the streamlines of an earlier step in place
// because they were hidden; the next placement clears it.
extern bool streamlinesOutdated;
