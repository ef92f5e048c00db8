#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// The 40-byte text block that opens a grid file. Any numbers may be given,
// so that files the loader must refuse can be written too.
struct DatasetHeader {
    long long dimX = 0;
    long long dimY = 0;
    long long dimZ = 1;
    long long channels = 0;
    long long steps = 1;
    double real = 0.0;
    int numbers = 6;  // how many of the six numbers to write
    std::string magic = "SN4DB";

    // Space padded to 40 bytes, not NUL-terminated. The real number is
    // written with six decimals, or shortest when that does not fit;
    // throws std::length_error when the text is still longer than 40 bytes.
    std::string text() const;
};

// Thrown when a file cannot be written; what() is "cannot write '<path>'".
class DatasetWriteError : public std::runtime_error {
public:
    explicit DatasetWriteError(const std::string& path);
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Writes a dataset as the loader reads it: BASE.gri (header, then x, y, z of
// every node) and one BASE.NNNNN.dat per time step (3 velocity floats, then
// the data channels, per node). The grid is rectilinear, built from its
// column x and row y coordinates, and stored with x varying fastest, or y
// when flipped. Floats are little-endian unless big-endian is asked for.
class DatasetWriter {
public:
    // What a record function learns about the record it fills.
    struct Node {
        int i;  // column
        int j;  // row
        float x;
        float y;
        int step;  // time step, from 0
    };
    using VelocityField = std::function<std::array<float, 3>(float x, float y)>;
    using DataField = std::function<float(int channel, float x, float y)>;  // channel from 1
    // Fills a whole record (3 + channel count floats, zero on entry) after
    // the velocity and data fields have filled theirs.
    using RecordField = std::function<void(const Node& node, float* record)>;

    DatasetWriter(std::vector<float> xs, std::vector<float> ys);

    DatasetWriter& flipped(bool on = true);
    DatasetWriter& bigEndian(bool on = true);
    DatasetWriter& dataChannels(int count);
    DatasetWriter& timeSteps(int count);
    DatasetWriter& velocity(VelocityField field);
    DatasetWriter& data(DataField field);
    DatasetWriter& records(RecordField field);
    // Writes these numbers instead of the ones the grid and settings imply.
    DatasetWriter& header(const DatasetHeader& numbers);

    std::string header() const;
    std::string gridBytes() const;              // header and node records
    std::string dataBytes(int step = 0) const;  // records of one time step

    // Writes the grid file, then the data file of every step; returns the
    // grid file's path. Throws DatasetWriteError.
    std::string write(const std::string& base) const;

    static std::string dataFileName(const std::string& base, int step);
    static std::vector<float> evenlySpaced(float first, float last, int count);
    // Through writeFileSafely: a failed write keeps the previous file. Throws DatasetWriteError.
    static void writeFile(const std::string& path, const std::string& bytes);

private:
    template <typename Visit>
    void forEachNode(Visit visit) const;
    void appendFloats(std::string& out, const float* values, std::size_t count) const;

    std::vector<float> xs_;
    std::vector<float> ys_;
    bool flipped_ = false;
    bool bigEndian_ = false;
    int channels_ = 0;
    int steps_ = 1;
    bool customHeader_ = false;
    DatasetHeader header_;
    VelocityField velocity_;
    DataField data_;
    RecordField records_;
};
