#pragma once

#include "tf/TfPoint.h"

#include <array>
#include <string>
#include <vector>

class TransferFunction;

// A colour at a place of a colour map, 0 at its low end and 1 at its high end.
struct ColorMapStop {
    float at;
    int red, green, blue;  // 0 .. 255
};

// A published colour map, linear between its stops. Choosing one gives a
// transfer function ordinary points, which the editor edits and the options
// file saves like any others.
struct ColorMap {
    const char* name;     // as -colormap takes it
    const char* label;    // on its panel button
    const char* meaning;  // the button's tooltip
    std::vector<ColorMapStop> stops;
    // A diverging map for signed values: its middle colour goes to the value
    // 0 and equal magnitudes of either sign get equally strong colours.
    bool centredOnZero = false;
};

// Every map, in the panel's order; the first is the grey ramp a transfer
// function starts with.
const std::vector<ColorMap>& colorMaps();
// Null for a name that is none of them.
const ColorMap* findColorMap(const std::string& name);
// "grey, viridis, ..." for messages and the help.
std::string colorMapNames();

// The colour of the map at `at` (0 .. 1, clamped), red, green and blue in 0 .. 255.
std::array<float, 3> colorMapColor(const ColorMap& map, float at);

// Points that spread the part [from, to] of the map over a whole strip of
// TfPointList::endPosition: one at each end, and one at each stop in between
// that keeps a marker width from both ends. Colours are rounded to bytes.
std::vector<TfPoint> colorMapPoints(const ColorMap& map, float pointWidth, float from = 0.0f, float to = 1.0f);

// Replaces the points of `tf` with those of the map and rebuilds its colour
// table. A map centred on zero is placed by the range its channel has now.
void applyColorMap(TransferFunction& tf, const ColorMap& map);
