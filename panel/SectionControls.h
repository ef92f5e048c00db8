#pragma once

// Panel states that follow the "Arrow plot" and "Streamlines" check boxes
// and the streamline mode. Each does nothing before the panel is built.

// Ticked: enables the "Arrow Plot" section with both its panels and expands
// it; unticked: disables them and collapses the section.
void showArrowPlotSection(bool ticked);

// Ticked: enables the "Streamlines" section, its "Integration" and "Mode"
// panels and "Color from CC", expands it, enables the mode group, then
// disables the mode-dependent controls. Unticked: disables the section, both
// panels and the button, and collapses the section.
void showStreamlinesSection(bool ticked);

// Enables what a streamline mode uses and disables the rest: "Seedpoints"
// for "Normal" (1), the two line widths for "Tapering" (2), the f1/f2 group
// and "Period" for "Texture generation" (4).
void enableModeControls(int mode);
