#pragma once

#include <string>
#include <vector>

class CommandLine;

// Parses a whole string as a finite number; false for anything else.
bool parseNumber(const std::string& text, double& value);

// What became of a command-line setting that was not taken as given.
struct SettingNotice {
    bool refused = false;  // not a number: the setting kept its value
    std::string text;
};

// Writes the settings named on the command line into their live variables
// (clamped to their limits) and calls `apply` with each control id, in the
// settings table's order. A value that is not a number is refused with a
// line on standard error. Refused and clamped values are also added to
// `notices` when given. Returns the number of settings applied.
int applyCommandLineSettings(const CommandLine& line, void (*apply)(int controlId),
                             std::vector<SettingNotice>* notices = nullptr);
