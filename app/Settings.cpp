#include "app/Settings.h"

#include "app/CommandLine.h"
#include "panel/LiveVariables.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

const std::vector<Setting>& settings() {
    static const std::vector<Setting> table = {
        {"showArrowPlot", &showArrowPlot, nullptr, 10, true, 0, 1},
        {"showStreamlines", &showStreamlines, nullptr, 11, true, 0, 1},
        {"backgroundChannel", &backgroundChannel, nullptr, 12, true, 0, 2},
        {"showTfEditor", &showTfEditor, nullptr, 15, true, 0, 1},
        {"arrowCountX", &arrowCountX, nullptr, 7, true, 2, 200},
        {"arrowCountY", &arrowCountY, nullptr, 8, true, 2, 200},
        {"arrowSizeEnabled", &arrowSizeEnabled, nullptr, 13, true, 0, 1},
        {"applyArrowTf", &applyArrowTf, nullptr, 9, true, 0, 1},
        {"arrowSize", nullptr, &arrowSize, 14, true, 0.1, 200.0},
        {"streamlineMode", &streamlineMode, nullptr, 16, true, 0, 4},
        {"seedPoints", &seedPoints, nullptr, 19, true, 0, 100},
        {"lineWidthMax", nullptr, &lineWidthMax, 17, true, 0.0, 0.5},
        {"lineWidthMin", nullptr, &lineWidthMin, 18, true, 0.0, 0.5},
        {"textureFunction", &textureFunction, nullptr, 25, true, 0, 1},
        {"texturePeriod", &texturePeriod, nullptr, 26, true, 1, 10000},
        {"integrationMethod", &integrationMethod, nullptr, 21, true, 0, 1},
        {"unitSpeed", &unitSpeed, nullptr, 28, true, 0, 1},
        {"stepSize", nullptr, &stepSize, 24, false, 0, 0},
        {"dsep", nullptr, &dsep, 22, false, 0, 0},
        {"dtest", nullptr, &dtest, 23, false, 0, 0},
    };
    return table;
}

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
        if (s.limited) v = std::fmin(std::fmax(v, s.low), s.high);
        if (s.intValue) *s.intValue = static_cast<int>(std::lround(v));
        else *s.floatValue = static_cast<float>(v);
        apply(s.controlId);
        ++applied;
    }
    return applied;
}
