#pragma once

#include <string>
#include <vector>

// A labelled value on a legend bar or an axis.
struct Tick {
    double value;     // in data units
    double fraction;  // where it stands: 0 at the low end of the range, 1 at the high end
    std::string label;
};

struct TickSet {
    std::vector<Tick> ticks;
    // The labels count in units of 10^exponent ("x1e-5" beside them); 0 for
    // plain numbers, which is the case from 0.001 to 100000.
    int exponent = 0;
};

// The note that goes with labels of an exponent: "" for 0, else "x1e-5".
std::string exponentNote(int exponent);

// A colour bar over [low, high]: its two ends and the three values at the
// quarters, all with the decimals that give the quarter step two
// significant digits. The values between are rounded first and stand where
// their rounded values lie, so every label is true to its place. A range
// without width gets one tick; a range that is not finite none.
TickSet legendTicks(double low, double high);

// An axis showing the data from `low` to `high` over `pixels` pixels: ticks at
// every multiple of the step in the range, the step being the smallest of
// 1, 2 or 5 x 10^k that leaves at least `minSpacing` pixels between ticks
// (and at most ten). Labels have the step's decimals.
TickSet axisTicks(double low, double high, double pixels, double minSpacing);
