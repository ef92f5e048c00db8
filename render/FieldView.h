#pragma once

#include <string>

// Draws text at the current raster position in a GLUT bitmap font.
void drawBitmapText(void* font, const std::string& text);
