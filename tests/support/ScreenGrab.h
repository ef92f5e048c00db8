#pragma once

#include "support/Viewer.h"

// The whole screen of the current DISPLAY as an image (row 0 at the top),
// for checks of what a window shows, the control panel included.
Image grabScreen();
// Writes an image as PNG (for looking at a failing test's screen).
bool savePng(const Image& image, const std::string& path);
