#pragma once

#include <string>

// Turns a grid-file (".gri") or NetCDF (".nc") path into a ready scene. False
// when the extension is neither (nothing changed) or the dataset could not
// be loaded.
bool openDataset(std::string path);

// Starts reading the dataset at `path` on another thread, as openDataset
// reads it, so that the reading overlaps the GL's start-up. The next
// openDataset of the same path takes what was read and prints its console
// lines then, in their place; another path drops it unseen.
void prefetchDataset(const std::string& path);
