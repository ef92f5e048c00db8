#include "app/CommandLineSettings.h"

#include "app/CommandLine.h"
#include "settings/Settings.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

int applyCommandLineSettings(const CommandLine& line, void (*apply)(int controlId)) {
    int applied = 0;
    for (const Setting& s : settings()) {
        if (!line.has(s.name)) continue;
        double v = 0;
        if (!parseNumber(line.value(s.name), v)) {
            std::cerr << "Ignoring -" << s.name << ": '" << line.value(s.name) << "' is not a number" << std::endl;
            continue;
        }
        s.set(v);
        apply(s.controlId);
        ++applied;
    }
    return applied;
}
