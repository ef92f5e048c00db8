#pragma once

#include <string>

// Saves the graphics area as the next free numbered PNG in the current
// directory and says in the window where it went, or that it failed.
void takeScreenshot();
// Saves the graphics area under the given name, at screenshotScale times its
// size and smoothed with smoothLines, with the control panel in front of it
// when screenshotPanel asks for it at scale 1; overwrite replaces an existing file.
// Returns whether the file was written; when the picture could not even be
// drawn, `why` says why.
bool saveScreenshot(const std::string& name, bool overwrite, std::string* why = nullptr);
