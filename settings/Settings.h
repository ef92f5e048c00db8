#pragma once

#include <string>
#include <vector>

// How a setting is stored in the options file.
enum class FileForm {
    None,        // not stored
    Int,         // a decimal integer; read with atoi and clamped to the limits
    Flag,        // a decimal integer; read with atof truncated toward zero and held to 0..1.
                 // Flags are read after the other values of their group, as files always were.
    Float,       // %g with 6 significant digits; read with atof, a non-finite value refused,
                 // clamped when the setting has limits
    WholeFloat,  // written truncated to a whole number, read like Float
};

// Where a setting lives in the options file: the element path below the
// root ("streamlines/dsep") and the place it is written at. Elements are
// written in ascending position; a group element opens at the first of its
// settings.
struct FileEntry {
    const char* path = nullptr;
    FileForm form = FileForm::None;
    int position = 0;
    // Files written before the setting existed lack it: a missing element
    // then means the start value and is not reported.
    bool optional = false;
    // For a setting that older files did not store although it existed: a
    // missing element keeps the current value, and is not reported either.
    bool keepWhenMissing = false;
};

// One setting: a live variable that a panel control writes, that the
// command line can give under the variable's name ("-dsep 0.2") and that the
// options file may store. Every part of the program that reads, writes,
// clamps or resets settings goes through this table.
struct Setting {
    const char* name;  // the live variable's name, also its command-line option
    int* intValue;     // exactly one of intValue / floatValue is set
    float* floatValue;
    double start;  // the value at start-up and after resetLiveVariables
    bool limited;  // values are clamped to [low, high], inclusive
    double low;
    double high;
    int controlId;  // the control that writes it and whose callback applies it
    FileEntry file;
    const char* meaning;  // one line: what it does, its unit or values

    double value() const;
    // Stores `v` (clamped to the limits, rounded for an int setting).
    void set(double v) const;
    double clamped(double v) const;
};

// Every setting, in the panel's top-to-bottom order, which is also the order
// in which command-line settings are applied.
const std::vector<Setting>& settings();

// The setting of that name; null when there is none.
const Setting* findSetting(const std::string& name);
