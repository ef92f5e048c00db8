#pragma once

// The field view of the open dataset: the colour-mapped quad, streamlines in
// the chosen mode and the arrow plot, and the screen-space overlay with the
// data-file line and the legend bars.
void drawScene();
void drawOverlay(int width, int height, double lineFactor);

// Sends the shader the uniforms that follow the live variables and the open
// dataset: background, arrow size and switches, velocity range, the colour
// of missing data.
void applyShaderUniforms();

// The arrow glyph image ("img/arrow.tga") as the texture of its unit.
void loadArrowTexture();
void releaseArrowTexture();
