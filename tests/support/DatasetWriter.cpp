#include "support/DatasetWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace qmtest {

namespace {

void appendFloat(std::string& out, float value)
{
    char bytes[sizeof(float)];
    std::memcpy(bytes, &value, sizeof bytes);
    out.append(bytes, sizeof bytes);
}

} // namespace

DatasetWriter::DatasetWriter(std::vector<float> xs, std::vector<float> ys)
    : xs_(std::move(xs)), ys_(std::move(ys))
{
}

DatasetWriter& DatasetWriter::flipped(bool on) { flipped_ = on; return *this; }
DatasetWriter& DatasetWriter::dataChannels(int count) { channels_ = count; return *this; }
DatasetWriter& DatasetWriter::timeSteps(int count) { steps_ = count; return *this; }
DatasetWriter& DatasetWriter::velocity(VelocityField field) { velocity_ = std::move(field); return *this; }
DatasetWriter& DatasetWriter::data(DataField field) { data_ = std::move(field); return *this; }

std::string DatasetWriter::header(int dimX, int dimY, int dimZ, int channels, int steps, float real)
{
    char text[128];
    std::snprintf(text, sizeof text, "SN4DB %d %d %d %d %d %g", dimX, dimY, dimZ, channels, steps,
                  static_cast<double>(real));
    std::string result(text);
    if (result.size() > 40) throw std::runtime_error("grid header longer than 40 bytes");
    result.resize(40, ' ');
    return result;
}

std::string DatasetWriter::header() const
{
    return header(static_cast<int>(xs_.size()), static_cast<int>(ys_.size()), 1, channels_, steps_);
}

std::vector<std::array<int, 2>> DatasetWriter::storageOrder() const
{
    std::vector<std::array<int, 2>> order;
    const int nx = static_cast<int>(xs_.size());
    const int ny = static_cast<int>(ys_.size());
    if (flipped_) {
        for (int i = 0; i < nx; ++i)
            for (int j = 0; j < ny; ++j) order.push_back({i, j});
    } else {
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) order.push_back({i, j});
    }
    return order;
}

std::string DatasetWriter::gridBytes() const
{
    std::string out = header();
    for (const auto& ij : storageOrder()) {
        appendFloat(out, xs_[static_cast<std::size_t>(ij[0])]);
        appendFloat(out, ys_[static_cast<std::size_t>(ij[1])]);
        appendFloat(out, 0.0f);
    }
    return out;
}

std::string DatasetWriter::dataBytes() const
{
    std::string out;
    for (const auto& ij : storageOrder()) {
        const float x = xs_[static_cast<std::size_t>(ij[0])];
        const float y = ys_[static_cast<std::size_t>(ij[1])];
        const std::array<float, 3> v = velocity_ ? velocity_(x, y) : std::array<float, 3>{0, 0, 0};
        for (float component : v) appendFloat(out, component);
        for (int c = 1; c <= channels_; ++c) appendFloat(out, data_ ? data_(c, x, y) : 0.0f);
    }
    return out;
}

std::string DatasetWriter::write(const std::string& base) const
{
    writeFile(base + ".gri", gridBytes());
    writeFile(base + ".00000.dat", dataBytes());
    return base + ".gri";
}

std::vector<float> DatasetWriter::evenlySpaced(float first, float last, int count)
{
    std::vector<float> values;
    for (int k = 0; k < count; ++k)
        values.push_back(first + (last - first) * static_cast<float>(k) / static_cast<float>(count - 1));
    return values;
}

std::string DatasetWriter::swapFloatBytes(std::string bytes, std::size_t from)
{
    for (std::size_t k = from; k + 4 <= bytes.size(); k += 4) {
        std::swap(bytes[k], bytes[k + 3]);
        std::swap(bytes[k + 1], bytes[k + 2]);
    }
    return bytes;
}

void DatasetWriter::writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

std::string DatasetWriter::makeTempDirectory()
{
    const char* root = std::getenv("TMPDIR");
    std::string pattern = std::string(root && *root ? root : "/tmp") + "/qm-data-XXXXXX";
    if (!mkdtemp(&pattern[0])) throw std::runtime_error("cannot create a temporary directory");
    return pattern;
}

} // namespace qmtest
