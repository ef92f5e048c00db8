#pragma once

#include <string>

// File names numbered by time step, for frame and streamline exports: the
// pattern holds exactly one integer conversion, %d with an optional '0'
// flag and a width of up to 9 ("f%04d.png" gives "f0007.png" for step 7);
// "%%" stands for a '%'. Anything else is refused with a reason, so a
// pattern from the command line never reaches printf.
bool formatStepName(const std::string& pattern, int step, std::string& name, std::string& error);
