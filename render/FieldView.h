#pragma once

#include <string>

// The field view: colour-mapped quad, streamlines, arrow plot, and the
// screen-space overlay with the data-file line and the legend bars.
void drawScene();
void drawOverlay(int width, int height, double lineFactor);
void loadArrowTexture();
void releaseArrowTexture();
void drawBitmapText(void* font, const std::string& text);
