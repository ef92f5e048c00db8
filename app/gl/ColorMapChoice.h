#pragma once

#include "panel/ControlPanel.h"

#include <string>
#include <vector>

class TransferFunction;

// The panel's colour-map buttons, one per map in colorMaps()'s order.
std::vector<ColorMapButton> colorMapButtons();

// Gives `tf` the colour map of that index and shows it: the textures on
// show are brought up to date.
void chooseColorMap(TransferFunction& tf, int mapIndex);

// -colormap TF=NAME: TF is "velocity", "arrow" or a data channel's number.
// A value it cannot use is named on standard error and in the window; the
// transfer functions stay. Returns whether the map was given.
bool applyColorMapOption(const std::string& value);
