#pragma once

#include <string>

// Saves the graphics area once per time step of the open dataset, step 0
// to the last, under `pattern` numbered by step (app/FramePattern.h),
// creating missing folders. A step that cannot be read or saved is named
// on standard error and the others are still written. Returns whether every
// step was written.
bool exportAllTimesteps(const std::string& pattern);
