#pragma once

#include <string>

// Turns a grid-file path into a ready scene. False when the extension is not
// ".gri" (nothing changed) or the dataset could not be loaded.
bool openDataset(std::string path);
