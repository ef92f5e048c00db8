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
void rebuildStreamlines();

// Loads an options file into the open scene and brings colour tables,
// textures, uniforms and streamlines in line with it, as picking it in the
// file browser does. Returns whether the whole file was read.
bool loadOptionsFile(const std::string& name);
