#pragma once

#include <string>
#include <vector>

// NetCDF files are read by a module of their own, "quillmere-netcdf.so",
// which the programs load when they first open such a file: a program that
// never does so starts without the NetCDF library and the some 45 libraries
// it brings. The module is built with the programs; its entry points have C
// names and C++ arguments.

// What the module found in a file: see NetcdfImporter for the mapping.
struct NetcdfGrid {
    std::vector<float> xs;
    std::vector<float> ys;
    std::vector<std::string> channelNames;  // data channels 1 to n
    int stepCount = 1;
    std::vector<std::string> report;  // one line each, for the console
};

extern "C" {
// Opens and maps the file at `path` (`u`, `v`: the velocity's variable names,
// or empty). The open file, with `grid` pointing at what was found in it, or
// null with `error` saying why.
void* quillmereNetcdfOpen(const std::string& path, const std::string& u, const std::string& v, NetcdfGrid*& grid,
                          std::string& error);
// Step `step` as Importer::readValues gives it.
bool quillmereNetcdfRead(void* file, int step, std::vector<std::vector<float>>& values, std::string& error);
void quillmereNetcdfClose(void* file);
}
