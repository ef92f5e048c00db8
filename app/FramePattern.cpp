#include "app/FramePattern.h"

#include <cctype>
#include <cstdio>

bool formatStepName(const std::string& pattern, int step, std::string& name, std::string& error) {
    name.clear();
    int conversions = 0;
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (pattern[k] != '%') {
            name += pattern[k];
            continue;
        }
        if (k + 1 < pattern.size() && pattern[k + 1] == '%') {
            name += '%';
            ++k;
            continue;
        }
        std::size_t at = k + 1;
        const bool zeros = at < pattern.size() && pattern[at] == '0';
        if (zeros) ++at;
        int width = 0;
        if (at < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[at]))) width = pattern[at++] - '0';
        if (at >= pattern.size() || pattern[at] != 'd') {
            error = "'" + pattern + "' may hold only %d, %0Nd or %Nd (N from 1 to 9) and %%";
            return false;
        }
        char number[32];
        std::snprintf(number, sizeof number, zeros ? "%0*d" : "%*d", width, step);
        name += number;
        ++conversions;
        k = at;
    }
    if (conversions != 1) {
        error = "'" + pattern + "' needs exactly one %d for the time step (for example frame%04d.png)";
        return false;
    }
    return true;
}
