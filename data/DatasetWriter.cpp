#include "data/DatasetWriter.h"

#include "common/SafeFileWrite.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

const std::size_t kHeaderSize = 40;

std::string formatReal(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::string DatasetHeader::text() const {
    const long long values[5] = {dimX, dimY, dimZ, channels, steps};
    std::string line = magic;
    for (int k = 0; k < numbers && k < 5; ++k) line += " " + std::to_string(values[k]);
    if (numbers >= 6) {
        std::string number = formatReal("%f", real);
        // Counts near the int limit leave no room for six decimals.
        if (line.size() + 1 + number.size() > kHeaderSize) number = formatReal("%g", real);
        line += " " + number;
    }
    if (line.size() > kHeaderSize) throw std::length_error("grid header longer than 40 bytes: " + line);
    line.resize(kHeaderSize, ' ');
    return line;
}

DatasetWriteError::DatasetWriteError(const std::string& path)
    : std::runtime_error("cannot write '" + path + "'"), path_(path) {}

DatasetWriter::DatasetWriter(std::vector<float> xs, std::vector<float> ys) : xs_(std::move(xs)), ys_(std::move(ys)) {}

DatasetWriter& DatasetWriter::flipped(bool on) {
    flipped_ = on;
    return *this;
}
DatasetWriter& DatasetWriter::bigEndian(bool on) {
    bigEndian_ = on;
    return *this;
}
DatasetWriter& DatasetWriter::dataChannels(int count) {
    channels_ = count;
    return *this;
}
DatasetWriter& DatasetWriter::timeSteps(int count) {
    steps_ = count;
    return *this;
}
DatasetWriter& DatasetWriter::velocity(VelocityField field) {
    velocity_ = std::move(field);
    return *this;
}
DatasetWriter& DatasetWriter::data(DataField field) {
    data_ = std::move(field);
    return *this;
}
DatasetWriter& DatasetWriter::records(RecordField field) {
    records_ = std::move(field);
    return *this;
}

DatasetWriter& DatasetWriter::header(const DatasetHeader& numbers) {
    header_ = numbers;
    customHeader_ = true;
    return *this;
}

std::string DatasetWriter::header() const {
    if (customHeader_) return header_.text();
    DatasetHeader derived;
    derived.dimX = static_cast<long long>(xs_.size());
    derived.dimY = static_cast<long long>(ys_.size());
    derived.channels = channels_;
    derived.steps = steps_;
    return derived.text();
}

// Calls visit(i, j) for every node in storage order.
template <typename Visit>
void DatasetWriter::forEachNode(Visit visit) const {
    const int nx = static_cast<int>(xs_.size());
    const int ny = static_cast<int>(ys_.size());
    if (flipped_) {
        for (int i = 0; i < nx; ++i)
            for (int j = 0; j < ny; ++j) visit(i, j);
    } else {
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) visit(i, j);
    }
}

void DatasetWriter::appendFloats(std::string& out, const float* values, std::size_t count) const {
    for (std::size_t k = 0; k < count; ++k) {
        std::uint32_t bits;
        std::memcpy(&bits, &values[k], sizeof bits);
        char bytes[4];
        for (int b = 0; b < 4; ++b) {
            const int shift = bigEndian_ ? 8 * (3 - b) : 8 * b;
            bytes[b] = static_cast<char>((bits >> shift) & 0xffu);
        }
        out.append(bytes, sizeof bytes);
    }
}

std::string DatasetWriter::gridBytes() const {
    std::string out = header();
    out.reserve(out.size() + xs_.size() * ys_.size() * 3 * sizeof(float));
    forEachNode([&](int i, int j) {
        const float node[3] = {xs_[static_cast<std::size_t>(i)], ys_[static_cast<std::size_t>(j)], 0.0f};
        appendFloats(out, node, 3);
    });
    return out;
}

std::string DatasetWriter::dataBytes(int step) const {
    const std::size_t stride = 3 + static_cast<std::size_t>(channels_ > 0 ? channels_ : 0);
    std::vector<float> record(stride);
    std::string out;
    out.reserve(xs_.size() * ys_.size() * stride * sizeof(float));
    forEachNode([&](int i, int j) {
        const Node node{i, j, xs_[static_cast<std::size_t>(i)], ys_[static_cast<std::size_t>(j)], step};
        std::fill(record.begin(), record.end(), 0.0f);
        if (velocity_) {
            const std::array<float, 3> v = velocity_(node.x, node.y);
            std::copy(v.begin(), v.end(), record.begin());
        }
        if (data_)
            for (std::size_t c = 1; c + 2 < stride; ++c) record[c + 2] = data_(static_cast<int>(c), node.x, node.y);
        if (records_) records_(node, record.data());
        appendFloats(out, record.data(), stride);
    });
    return out;
}

std::string DatasetWriter::write(const std::string& base) const {
    const std::string gridPath = base + ".gri";
    writeFile(gridPath, gridBytes());
    for (int step = 0; step < steps_; ++step) writeFile(dataFileName(base, step), dataBytes(step));
    return gridPath;
}

std::string DatasetWriter::dataFileName(const std::string& base, int step) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%.5u.dat", static_cast<unsigned>(step));
    return base + suffix;
}

std::vector<float> DatasetWriter::evenlySpaced(float first, float last, int count) {
    std::vector<float> values;
    for (int k = 0; k < count; ++k)
        values.push_back(first + (last - first) * static_cast<float>(k) / static_cast<float>(count - 1));
    return values;
}

void DatasetWriter::writeFile(const std::string& path, const std::string& bytes) {
    if (!writeFileSafely(path, bytes)) throw DatasetWriteError(path);
}
