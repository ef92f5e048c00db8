#include "render/Ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Labels count in a power of ten when plain numbers would run long.
int exponentFor(double low, double high, double step) {
    const double largest = std::max(std::fabs(low), std::fabs(high));
    if (!(largest > 0.0)) return 0;
    if (largest < 1e5 && step >= 1e-3) return 0;
    return static_cast<int>(std::floor(std::log10(largest)));
}

// Decimals that show `step` (> 0) with `digits` significant digits, at least none.
int decimalsFor(double step, int digits) {
    return std::clamp(digits - 1 - static_cast<int>(std::floor(std::log10(step))), 0, 12);
}

std::string format(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string label = text;
    // A value that rounds to nothing is no negative number.
    if (label[0] == '-' && label.find_first_not_of("-0.") == std::string::npos) label.erase(0, 1);
    return label;
}

double roundTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

}  // namespace

std::string exponentNote(int exponent) { return exponent == 0 ? "" : "x1e" + std::to_string(exponent); }

TickSet legendTicks(double low, double high) {
    TickSet set;
    if (!std::isfinite(low) || !std::isfinite(high) || high < low) return set;
    const double quarter = (high - low) / 4.0;
    set.exponent = exponentFor(low, high, quarter > 0.0 ? quarter : std::fabs(low));
    const double unit = std::pow(10.0, set.exponent);
    if (!(quarter > 0.0)) {
        const double shown = low / unit;
        set.ticks.push_back({low, 0.0, format(shown, shown != 0.0 ? decimalsFor(std::fabs(shown), 3) : 0)});
        return set;
    }
    const int decimals = decimalsFor(quarter / unit, 2);
    set.ticks.push_back({low, 0.0, format(low / unit, decimals)});
    for (int k = 1; k <= 3; ++k) {
        const double shown = roundTo((low + k * quarter) / unit, decimals);
        const double value = shown * unit;
        set.ticks.push_back({value, (value - low) / (high - low), format(shown, decimals)});
    }
    set.ticks.push_back({high, 1.0, format(high / unit, decimals)});
    return set;
}

TickSet axisTicks(double low, double high, double pixels, double minSpacing) {
    TickSet set;
    const double span = high - low;
    if (!std::isfinite(low) || !std::isfinite(span) || !(span > 0.0) || !(pixels > 0.0)) return set;
    const double intervals = std::clamp(std::floor(pixels / std::max(minSpacing, 1.0)), 1.0, 10.0);
    // The smallest 1, 2 or 5 x 10^k not below span / intervals.
    const double rough = span / intervals;
    int power = static_cast<int>(std::floor(std::log10(rough)));
    int mantissa = 1;
    for (;;) {
        const double candidate = mantissa * std::pow(10.0, power);
        if (candidate >= rough * (1.0 - 1e-9)) break;
        if (mantissa == 1) mantissa = 2;
        else if (mantissa == 2) mantissa = 5;
        else {
            mantissa = 1;
            ++power;
        }
    }
    const double step = mantissa * std::pow(10.0, power);
    set.exponent = exponentFor(low, high, step);
    const int decimals = std::max(0, set.exponent - power);
    const double unit = std::pow(10.0, set.exponent);
    // Multiples k * step; ends a rounding error outside the range still count.
    const double slack = step * 1e-9;
    for (double k = std::ceil((low - slack) / step); k * step <= high + slack; ++k) {
        const double value = k * step;
        set.ticks.push_back({value, (value - low) / span, format(value / unit, decimals)});
    }
    return set;
}
