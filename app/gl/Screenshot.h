#pragma once

#include <string>

// Saves the graphics area as the next free numbered PNG in the current directory.
void takeScreenshot();
// Saves the graphics area under the given name; overwrite replaces an existing
// file. Returns whether the file was written.
bool saveScreenshot(const std::string& name, bool overwrite);
