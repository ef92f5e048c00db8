#pragma once

#include <string>

// Text forms of the options file's values.

// A float in general notation with 6 significant digits ("0.005", "0.498039", "4").
std::string formatFloat(float value);
std::string formatInt(int value);

// Leading white space skipped, an optional sign, digits as far as they go,
// 0 when there are none ("12abc" gives 12, "" gives 0). Values beyond the int
// range saturate instead of overflowing.
int parseInt(const std::string& text);
// The same for a floating-point number, rounded to float; it may come out
// infinite or NaN ("inf", "nan", "1e99"), which the caller has to refuse.
float parseFloat(const std::string& text);
// Like parseFloat, then truncateToInt.
int parseTruncatedFloat(const std::string& text);
// Truncation toward zero that saturates at the int range; NaN gives 0.
int truncateToInt(double value);
