#pragma once

#include <string>

// Turns a grid-file (".gri") or NetCDF (".nc") path into a ready scene. False
// when the extension is neither (nothing changed) or the dataset could not
// be loaded.
bool openDataset(std::string path);
