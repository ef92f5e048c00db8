#pragma once

#include <string>

// Device pixels per window pixel of the frame being drawn: 1 in the window,
// N in a picture N times the window's size. Text, line widths and point
// sizes are multiplied by it, so that such a picture looks like the window,
// only sharper.
void setPixelScale(int scale);
int pixelScale();

// Draws text at the current raster position in a GLUT bitmap font. At a
// pixel scale above 1 the same text is drawn in a TrueType font of N times
// the bitmap font's size, each character N times its bitmap advance from the
// last, so that the layout stays the window's.
void drawBitmapText(void* font, const std::string& text);
