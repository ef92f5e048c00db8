#pragma once

// Panel states that follow the "Arrow plot" and "Streamlines" check boxes
// and the streamline mode. Each does nothing before the panel is built.

// Ticked: enables the "Arrow Plot" section with both its panels and expands
// it; unticked: disables them and collapses the section.
void showArrowPlotSection(bool ticked);

// Ticked: enables the "Streamlines" section, its "Integration", "Mode" and
// "Line colour" panels, "Color from CC" and "Fit to data", expands it,
// enables the mode group, then disables the mode-dependent controls.
// Unticked: disables the section, its panels and buttons, and collapses it.
void showStreamlinesSection(bool ticked);

// Enables what a streamline mode uses and disables the rest: "Seedpoints"
// for "Normal" (1), the two line widths for "Tapering" (2), "Glyph spacing"
// for "Glyph mapping" (3), the f1/f2 group and "Period" for "Texture
// generation" (4).
void enableModeControls(int mode);
