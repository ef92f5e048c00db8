#include "app/CommandLineSettings.h"

#include "app/CommandLine.h"
#include "settings/Settings.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

int applyCommandLineSettings(const CommandLine& line, void (*apply)(int controlId),
                             std::vector<SettingNotice>* notices) {
    int applied = 0;
    for (const Setting& s : settings()) {
        if (!line.has(s.name)) continue;
        double v = 0;
        if (!parseNumber(line.value(s.name), v)) {
            const std::string text =
                "Ignoring -" + std::string(s.name) + ": '" + line.value(s.name) + "' is not a number";
            std::cerr << text << std::endl;
            if (notices) notices->push_back({true, text});
            continue;
        }
        s.set(v);
        if (notices && s.clamped(v) != v) {
            std::ostringstream text;
            text << "-" << s.name << " " << line.value(s.name) << " is outside " << s.low << " .. " << s.high
                 << ": set to " << s.value();
            notices->push_back({false, text.str()});
        }
        apply(s.controlId);
        ++applied;
    }
    return applied;
}
