#include "options/OptionsText.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string formatFloat(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
    return buffer;
}

std::string formatInt(int value) { return std::to_string(value); }

int parseInt(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

float parseFloat(const std::string& text) {
    const double value = std::strtod(text.c_str(), nullptr);
    if (value > FLT_MAX) return INFINITY;  // out of float range: no undefined conversion
    if (value < -FLT_MAX) return -INFINITY;
    return static_cast<float>(value);
}

int parseTruncatedFloat(const std::string& text) { return truncateToInt(std::strtod(text.c_str(), nullptr)); }

int truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}
