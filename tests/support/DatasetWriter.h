#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace qmtest {

// Writes small grid (.gri) and data (.00000.dat) files for tests: a
// rectilinear grid from its column x and row y coordinates, either storage
// order, velocity and data channels from functions of the node position.
class DatasetWriter {
public:
    using VelocityField = std::function<std::array<float, 3>(float x, float y)>;
    using DataField = std::function<float(int channel, float x, float y)>;  // channel from 1

    DatasetWriter(std::vector<float> xs, std::vector<float> ys);

    DatasetWriter& flipped(bool on);
    DatasetWriter& dataChannels(int count);
    DatasetWriter& timeSteps(int count);
    DatasetWriter& velocity(VelocityField field);
    DatasetWriter& data(DataField field);

    // The 40-byte header, space padded, not NUL-terminated.
    std::string header() const;
    std::string gridBytes() const;  // header and node records
    std::string dataBytes() const;  // records of step 0

    // Writes <base>.gri and <base>.00000.dat; returns the grid file's path.
    std::string write(const std::string& base) const;

    // A header with arbitrary numbers, padded to 40 bytes with spaces.
    static std::string header(int dimX, int dimY, int dimZ, int channels, int steps, float real = 0.5f);
    static std::vector<float> evenlySpaced(float first, float last, int count);
    // Reverses the bytes of every 4-byte float from `from` on.
    static std::string swapFloatBytes(std::string bytes, std::size_t from = 0);
    static void writeFile(const std::string& path, const std::string& bytes);
    // A fresh directory under the system's temporary folder.
    static std::string makeTempDirectory();

private:
    // Node (i, j) in storage order.
    std::vector<std::array<int, 2>> storageOrder() const;

    std::vector<float> xs_;
    std::vector<float> ys_;
    bool flipped_ = false;
    int channels_ = 0;
    int steps_ = 1;
    VelocityField velocity_;
    DataField data_;
};

} // namespace qmtest
