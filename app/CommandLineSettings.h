#pragma once

#include <string>

class CommandLine;

// Parses a whole string as a finite number; false for anything else.
bool parseNumber(const std::string& text, double& value);

// Writes the settings named on the command line into their live variables
// (clamped to their limits) and calls `apply` with each control id, in the
// settings table's order. A value that is not a number is refused with a
// line on standard error. Returns the number of settings applied.
int applyCommandLineSettings(const CommandLine& line, void (*apply)(int controlId));
