#pragma once

#include "data/StepSource.h"

#include <memory>
#include <string>
#include <vector>

class FlowData;

// A dataset in another tool's format, mapped onto our rectilinear grid:
// ascending node coordinates along x and y, named data channels and time
// steps whose values come channel by channel in storage order (x fastest).
class Importer : public StepSource {
public:
    std::vector<float> xs;
    std::vector<float> ys;
    std::vector<std::string> channelNames;  // data channels 1 to n
    int stepCount = 1;
    // What was found, one line each, for the console.
    std::vector<std::string> report;

    std::size_t nodeCount() const { return xs.size() * ys.size(); }
    int channelCount() const { return static_cast<int>(channelNames.size()); }

    // Values of step `step`: 3 + n arrays of nodeCount() floats (velocity x,
    // y, z, then the data channels). False with `error` saying why.
    virtual bool readValues(int step, std::vector<std::vector<float>>& values, std::string& error) = 0;

    // StepSource: the values into the dataset's channels.
    bool readStep(int step, const Grid& grid, std::vector<std::unique_ptr<Channel>>& channels, bool verbose) override;

protected:
    // Names the file in progress lines and messages.
    std::string path_;
};

// Opens NAME.nc (NetCDF) or any grid file the way FlowData::load does, at
// time step `step`; `u` and `v` name the velocity variables of a NetCDF
// file when given. Prints what it reads; false with a message on standard
// error.
bool loadDataset(FlowData& data, const std::string& path, int step, const std::string& u = std::string(),
                 const std::string& v = std::string());

// Whether `path` names a file loadDataset reads through an importer.
bool isNetcdfPath(const std::string& path);

// Takes an importer's grid and time steps into a fresh dataset, printing the
// dimension and boundary lines a grid file gives.
bool loadImported(FlowData& data, std::unique_ptr<Importer> importer, int step);

// Writes the importer's dataset as BASE.gri, one BASE.NNNNN.dat per time
// step and the channel names in BASE.names. False with `error` saying why.
bool writeImported(Importer& importer, const std::string& base, std::string& error);
