#pragma once

#include <string>
#include <vector>

class CommandLine;

// A panel setting that can also be given on the command line under the name
// of its live variable ("-dsep 0.2"), with the control id whose callback
// makes the change take effect and the control's limits.
struct Setting {
    const char* name;
    int* intValue;      // one of intValue / floatValue is set
    float* floatValue;
    int controlId;
    bool limited;
    double low;
    double high;
};

// Every setting, in the panel's top-to-bottom order, which is also the order
// in which command-line settings are applied.
const std::vector<Setting>& settings();

// Parses a whole string as a finite number; false for anything else.
bool parseNumber(const std::string& text, double& value);

// Writes the settings named on the command line into their live variables
// (clamped to the control's limits) and calls `apply` with each control id,
// in panel order. A value that is not a number is refused with a line on
// standard error. Returns the number of settings applied.
int applyCommandLineSettings(const CommandLine& line, void (*apply)(int controlId));
