#pragma once

#include <string>
#include <vector>

// The names of a dataset's data channels (for example the variables of a
// converted NetCDF file) live beside its grid file in BASE.names, a text
// file with one name per line in channel order; lines starting with '#' are
// comments. The grid and data files stay exactly as before, so versions that
// do not know the side file read the dataset unchanged.
std::string channelNamesPath(const std::string& base);

// The names of `channelCount` channels from `path`. Empty when the file does
// not exist; a file with another number of names is ignored with one line on
// standard error.
std::vector<std::string> readChannelNames(const std::string& path, int channelCount);

// Writes the names; false when the file cannot be written. Line breaks in a
// name become blanks.
bool writeChannelNames(const std::string& path, const std::vector<std::string>& names);
