#pragma once

#include <string>

// The field view of the open dataset: the colour-mapped quad, streamlines in
// the chosen mode and the arrow plot, and the screen-space overlay with the
// data-file line and the legend bars.
void drawScene();
void drawOverlay(int width, int height, double lineFactor);

// Sends the shader the uniforms that follow the live variables and the open
// dataset: background, arrow size and switches, velocity range, the colour
// of missing data.
void applyShaderUniforms();

// The arrow glyph image, below the folder loadArrowTexture is given.
constexpr const char* kArrowImageFile = "img/arrow.tga";
// The arrow glyph image (folder + kArrowImageFile) as the texture of its unit.
void loadArrowTexture(const std::string& folder = "");
void releaseArrowTexture();
