#pragma once

#include <string>

// The one callback of every panel control with an id.
void controlCallback(int id);

// Streamline settings taken over from the live variables, each followed by
// a new placement in the current mode. Without a dataset they do nothing.
void applyIntegration();
void applyUnitSpeed();
void applyStepSize();
void applyDsep();
void applyMemoryBudget();
void applyDtest();
void applyStreamlineMode();
void applySeedPoints();
// Places the lines again in the current mode (app/gl/Placements.h).
void rebuildStreamlines();

// "Fit to data": sets unit speed, dsep, dtest, dt,
// the tapering widths and the glyph spacing from the size of the dataset's
// box and the arrow size from the shape of the field, prints them in one
// line, and places the streamlines once.
void applyFitToData();
// The same without placing: the settings, the arrow size and the streamline
// set take the fitted values.
void fitSettingsToData();

// Says in the window that a grid file named by the user could not be loaded.
void reportOpenFailure(const std::string& name);

// Loads an options file into the open scene and brings colour tables,
// textures, uniforms and streamlines in line with it, as picking it in the
// file browser does, and says in the window what came of it. Returns whether
// the whole file was read.
bool loadOptionsFile(const std::string& name);
