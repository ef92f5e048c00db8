#include "data/FlowData.h"

#include "common/ConsoleLog.h"

#include "data/ChannelNames.h"
#include "data/UniformTarget.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <future>
#include <limits>
#include <ostream>
#include <system_error>
#include <utility>
#include <vector>

namespace {

// Everything before the last "." of the file name; a "." inside a directory
// name ("../data/flow") is not an extension.
std::string basePath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

std::string dataPath(const std::string& base, unsigned step) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%.5u.dat", step);
    return base + suffix;
}

void gridFileError(const std::string& path, const std::string& reason) {
    consoleErr() << "+ Error in grid file header:" << path << ": " << reason << ".\n\n";
}

// Checks the parts of the header that the grid itself does not: every
// number present, a channel count the slots can hold, node and record
// counts whose byte sizes fit in memory arithmetic.
bool checkHeader(const GridHeader::Bytes& bytes, const std::string& path, GridHeader& header) {
    std::string reason;
    if (!GridHeader::parse(bytes, 6, header, reason)) {
        gridFileError(path, reason);
        return false;
    }
    if (header.dims[0] < 2 || header.dims[1] < 2) {
        gridFileError(path, "needs at least 2 nodes along x and y, has " + std::to_string(header.dims[0]) + " x " +
                                std::to_string(header.dims[1]));
        return false;
    }
    if (header.channelCount < 0 || header.channelCount > FlowData::maxDataChannels) {
        gridFileError(path, std::to_string(header.channelCount) + " data channels, at most " +
                                std::to_string(FlowData::maxDataChannels) + " are supported");
        return false;
    }
    const std::uint64_t nodes = static_cast<std::uint64_t>(header.dims[0]) * static_cast<std::uint64_t>(header.dims[1]);
    const std::uint64_t floatsPerNode = 3 + static_cast<std::uint64_t>(header.channelCount);
    if (nodes > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) ||
        nodes > std::numeric_limits<std::size_t>::max() / (floatsPerNode * sizeof(float))) {
        gridFileError(path, "node count " + std::to_string(header.dims[0]) + " x " + std::to_string(header.dims[1]) +
                                " is too large");
        return false;
    }
    return true;
}

// Bytes from the current position to the end, or -1 when unknown.
std::streamoff remainingBytes(std::istream& file) {
    const std::streampos here = file.tellg();
    if (here < 0) return -1;
    file.seekg(0, std::ios::end);
    const std::streampos end = file.tellg();
    file.clear();
    file.seekg(here);
    return end < 0 ? -1 : end - here;
}

void swapFloatBytes(float* values, std::size_t count) {
    auto* bytes = reinterpret_cast<unsigned char*>(values);
    for (std::size_t k = 0; k < count; ++k, bytes += 4) {
        std::swap(bytes[0], bytes[3]);
        std::swap(bytes[1], bytes[2]);
    }
}

}  // namespace

FlowData::FlowData(UniformTarget* uniforms) : uniforms_(uniforms) {}

FlowData::~FlowData() {
    deleteAllChannels();
    if (textureReleaser_) textureReleaser_(*this);
}

void FlowData::deleteAllChannels() {
    for (int slot = 0; slot < slotCount; ++slot)
        if (slots_[static_cast<std::size_t>(slot)]) deleteChannel(slot);
}

bool FlowData::canLoad(const std::string& what) const {
    // The channels point at this dataset's grid: it cannot be replaced under them.
    const bool inUse = std::any_of(slots_.begin(), slots_.end(), [](const auto& slot) { return slot != nullptr; });
    if (loaded_ || inUse) {
        consoleErr() << "+ Error loading grid file:" << what << ": the dataset already holds channels.\n\n";
        return false;
    }
    return true;
}

bool FlowData::load(std::string path, bool swapBytes, int step) {
    const std::string base = basePath(path);
    const std::string gridPath = base + ".gri";
    consoleOut() << "- Loading grid file '" << gridPath << "' ... "
                 << "\n";
    if (!canLoad(gridPath)) return false;

    std::ifstream gridFile;
    GridHeader::Bytes headerBytes{};
    GridHeader header;
    if (!readHeader(gridPath, gridFile, headerBytes, header)) return false;

    // The data file is read while the grid file is: both are mostly the
    // kernel handing over fresh memory, which two cores do side by side.
    // The reader prints nothing; its outcome is reported below, in order.
    std::atomic<bool> cancelled{false};
    std::future<RecordRead> records;
    if (step == 0 || (step > 0 && step < header.timeStepCount)) {
        const std::string datPath = dataPath(base, static_cast<unsigned>(step));
        const std::size_t nodes = static_cast<std::size_t>(header.dims[0]) * static_cast<std::size_t>(header.dims[1]);
        const int stride = header.channelCount + 3;
        try {
            records = std::async(std::launch::async, [=, &cancelled] {
                return readRecordsQuietly(datPath, &grid_, nodes, stride, swapBytes, cancelled);
            });
        } catch (const std::system_error&) {
            // No thread to be had: the records are read after the grid.
        }
    }

    Grid grid;
    if (!grid.read(headerBytes, gridFile, swapBytes)) {
        cancelled = true;  // the future's destructor waits for the reader
        return false;
    }
    gridFile.close();
    consoleOut() << "Channels: " << header.channelCount << "\nTimesteps: " << header.timeStepCount << "\n";

    // The channels refer to grid_, so it takes the grid before they are read;
    // a failed read leaves no half-read grid behind.
    grid_ = std::move(grid);
    base_ = base;
    swapBytes_ = swapBytes;
    timeStepCount_ = header.timeStepCount;
    dataChannelCount_ = header.channelCount;
    if (!finishLoad(step, records.valid() ? &records : nullptr)) return false;
    channelNames_ = readChannelNames(channelNamesPath(base), dataChannelCount_);
    return true;
}

bool FlowData::loadFrom(Grid grid, int channelCount, int timeStepCount, std::vector<std::string> channelNames,
                        std::unique_ptr<StepSource> source, int step) {
    if (!canLoad("(another format)")) return false;
    if (channelCount < 0 || channelCount > maxDataChannels || !source) {
        consoleErr() << "+ Error loading dataset: " << channelCount << " data channels, at most " << maxDataChannels
                     << " are supported.\n\n";
        return false;
    }
    consoleOut() << "Channels: " << channelCount << "\nTimesteps: " << timeStepCount << "\n";
    grid_ = std::move(grid);
    timeStepCount_ = timeStepCount;
    dataChannelCount_ = channelCount;
    source_ = std::move(source);
    if (!finishLoad(step)) return false;
    channelNames_ = std::move(channelNames);
    channelNames_.resize(static_cast<std::size_t>(channelCount));
    return true;
}

// Reads the first step and fills the slots; on failure the dataset is
// left empty, as before the load.
bool FlowData::finishLoad(int step, std::future<RecordRead>* records) {
    std::vector<std::unique_ptr<Channel>> channels;
    bool read = false;
    if (records) {
        // Read already, by load: reported as readRecords reports.
        const std::string datPath = dataPath(base_, static_cast<unsigned>(step));
        consoleOut() << "- Loading dat file '" << datPath << "' ... "
                     << "\n";
        read = reportRecords(datPath, records->get(), channels);
    } else {
        read = stepInRange(step) && readTimeStep(step, channels, true);
    }
    if (!read) {
        grid_ = Grid();
        timeStepCount_ = 0;
        dataChannelCount_ = 0;
        source_.reset();
        return false;
    }
    adoptChannels(std::move(channels));
    currentStep_ = step;

    loaded_ = true;
    applyFlipped();
    consoleOut() << "Debuging: Flipped for shader: " << (grid_.isFlipped() ? 1 : 0) << "\n";
    return true;
}

void FlowData::applyFlipped() const {
    if (!uniforms_ || !loaded_) return;
    uniforms_->use();
    uniforms_->setInt("flipped", grid_.isFlipped() ? 1 : 0);
    uniforms_->unuse();
}

void FlowData::setUniformTarget(UniformTarget* uniforms) {
    uniforms_ = uniforms;
    applyFlipped();
}

// Step 0 is read whatever the header says; later steps must be counted by it.
bool FlowData::stepInRange(int step) const {
    if (step == 0 || (step > 0 && step < timeStepCount_)) return true;
    consoleErr() << "+ Error loading time step " << step << ": the dataset has time steps 0 to " << (stepCount() - 1)
                 << ".\n\n";
    return false;
}

bool FlowData::readTimeStep(int step, std::vector<std::unique_ptr<Channel>>& channels, bool verbose) {
    const int stride = dataChannelCount_ + 3;
    if (!source_)
        return readRecords(dataPath(base_, static_cast<unsigned>(step)), stride, swapBytes_, channels, verbose);
    channels.clear();
    for (int k = 0; k < stride; ++k) channels.push_back(std::make_unique<Channel>(&grid_));
    if (source_->readStep(step, grid_, channels, verbose)) return true;
    channels.clear();
    return false;
}

bool FlowData::loadTimeStep(int step) {
    if (!loaded_ || !stepInRange(step)) return false;
    std::vector<std::unique_ptr<Channel>> channels;
    if (!readTimeStep(step, channels, true)) return false;
    for (std::size_t k = 0; k < channels.size(); ++k) {
        slots_[k]->swapValues(*channels[k]);
        slots_[k]->printExtremes();
    }
    currentStep_ = step;
    return true;
}

bool FlowData::readHeader(const std::string& gridPath, std::ifstream& gridFile, GridHeader::Bytes& headerBytes,
                          GridHeader& header) {
    gridFile.open(gridPath, std::ios::binary);
    if (!gridFile) {
        consoleErr() << "+ Error loading grid file:" << gridPath << "\n\n";
        return false;
    }
    gridFile.read(headerBytes.data(), static_cast<std::streamsize>(headerBytes.size()));
    if (static_cast<std::size_t>(gridFile.gcount()) != headerBytes.size()) {
        gridFileError(gridPath, "file is shorter than its 40-byte header");
        return false;
    }
    return checkHeader(headerBytes, gridPath, header);
}

bool FlowData::readRecords(const std::string& datPath, int stride, bool swapBytes,
                           std::vector<std::unique_ptr<Channel>>& channels, bool verbose) const {
    if (verbose)
        consoleOut() << "- Loading dat file '" << datPath << "' ... "
                     << "\n";
    const std::atomic<bool> never{false};
    return reportRecords(
        datPath,
        readRecordsQuietly(datPath, &grid_, static_cast<std::size_t>(grid_.nodeCount()), stride, swapBytes, never),
        channels);
}

bool FlowData::reportRecords(const std::string& datPath, RecordRead read,
                             std::vector<std::unique_ptr<Channel>>& channels) {
    channels.clear();
    switch (read.outcome) {
    case RecordRead::Read: channels = std::move(read.channels); return true;
    case RecordRead::CannotOpen: consoleErr() << "+ Error loading dat file:" << datPath << "\n\n"; return false;
    default: consoleErr() << "+ Error reading dat file:" << datPath << "\n\n"; return false;
    }
}

FlowData::RecordRead FlowData::readRecordsQuietly(const std::string& datPath, const Grid* grid, std::size_t nodeCount,
                                                  int stride, bool swapBytes, const std::atomic<bool>& cancelled) {
    RecordRead result;
    std::ifstream dataFile(datPath, std::ios::binary);
    if (!dataFile) {
        result.outcome = RecordRead::CannotOpen;
        return result;
    }
    result.outcome = RecordRead::Short;
    const std::size_t recordBytes = static_cast<std::size_t>(stride) * sizeof(float);
    const std::streamoff available = remainingBytes(dataFile);
    if (available >= 0 && static_cast<std::uint64_t>(available) / recordBytes < nodeCount) return result;

    // The records are read block by block and split into all channels at
    // once, instead of one buffer for the whole file and a pass per channel.
    std::vector<std::unique_ptr<Channel>> channels;
    for (int k = 0; k < stride; ++k)
        channels.emplace_back(new Channel(grid, static_cast<int>(nodeCount), Channel::Unfilled{}));
    const std::size_t blockNodes = 1 << 14;
    std::unique_ptr<float[]> block(new float[blockNodes * static_cast<std::size_t>(stride)]);
    std::vector<float*> targets(static_cast<std::size_t>(stride));
    for (std::size_t first = 0; first < nodeCount; first += blockNodes) {
        if (cancelled) return result;
        const std::size_t count = std::min(blockNodes, nodeCount - first);
        const std::streamsize bytes = static_cast<std::streamsize>(count * recordBytes);
        dataFile.read(reinterpret_cast<char*>(block.get()), bytes);
        if (dataFile.gcount() != bytes) return result;
        if (swapBytes) swapFloatBytes(block.get(), count * static_cast<std::size_t>(stride));
        // Each record once, into all channels; then each channel's new
        // values, still in the cache, widen its extremes.
        for (std::size_t k = 0; k < targets.size(); ++k) targets[k] = channels[k]->values_.get() + first;
        const float* record = block.get();
        for (std::size_t node = 0; node < count; ++node, record += stride)
            for (std::size_t k = 0; k < targets.size(); ++k) targets[k][node] = record[k];
        for (auto& channel : channels)
            Channel::widenExtremes(channel->values_.get() + first, count, channel->minValue_, channel->maxValue_);
    }
    result.outcome = RecordRead::Read;
    result.channels = std::move(channels);
    return result;
}

void FlowData::adoptChannels(std::vector<std::unique_ptr<Channel>> channels) {
    // Fresh dataset: the channels take slots 0 to n + 2, as createChannel would.
    for (std::size_t k = 0; k < channels.size(); ++k) {
        consoleOut() << "Creating channel at " << k << " ... ok\n";
        slots_[k] = std::move(channels[k]);
        slots_[k]->printExtremes();
    }
}

int FlowData::createChannel() { return createChannel(true); }

int FlowData::createChannel(bool zeroed) {
    int slot = 0;
    while (slot < slotCount && slots_[static_cast<std::size_t>(slot)]) ++slot;
    if (slot == slotCount) {
        consoleErr() << "There is no free channel slot!\n";
        return -1;
    }
    consoleOut() << "Creating channel at " << slot << " ... ";
    slots_[static_cast<std::size_t>(slot)].reset(zeroed ? new Channel(&grid_)
                                                        : new Channel(&grid_, grid_.nodeCount(), Channel::Unfilled{}));
    consoleOut() << "ok\n";
    return slot;
}

void FlowData::deleteChannel(int slot) {
    if (!channel(slot)) {
        consoleOut() << "Tried to delete a non-existing channel at " << slot << ".\n";
        return;
    }
    consoleOut() << "Deleting channel at " << slot << " ... ";
    slots_[static_cast<std::size_t>(slot)].reset();
    consoleOut() << "ok\n";
}

Channel* FlowData::channel(int slot) {
    if (slot < 0 || slot >= slotCount) return nullptr;
    return slots_[static_cast<std::size_t>(slot)].get();
}

const Channel* FlowData::channel(int slot) const {
    if (slot < 0 || slot >= slotCount) return nullptr;
    return slots_[static_cast<std::size_t>(slot)].get();
}

int FlowData::createCoordinateChannel(int component) {
    const bool fills = component >= 0 && component <= 2 && !grid_.nodes().empty();
    const int slot = createChannel(!fills);
    if (slot < 0 || !fills) return slot;
    slots_[static_cast<std::size_t>(slot)]->fillInterleaved(&grid_.nodes()[0].x, 3, component);
    return slot;
}

int FlowData::createMagnitudeChannel(int slotA, int slotB, int slotC) {
    const bool fills = channel(slotA) && channel(slotB);
    const int slot = createChannel(!fills);
    if (slot >= 0) updateMagnitudeChannel(slot, slotA, slotB, slotC);
    return slot;
}

void FlowData::updateMagnitudeChannel(int slot, int slotA, int slotB, int slotC) {
    const Channel* c = slotC < 0 ? nullptr : channel(slotC);
    const Channel* a = channel(slotA);
    const Channel* b = channel(slotB);
    Channel* target = channel(slot);
    if (!target || !a || !b) return;
    // The extremes come out as setValue node by node gives them.
    const float* x = a->values();
    const float* y = b->values();
    const float* z = c ? c->values() : nullptr;
    float* out = target->values_.get();
    float lo = std::numeric_limits<float>::infinity();
    float hi = -std::numeric_limits<float>::infinity();
    Channel::produceMeasured(out, static_cast<std::size_t>(target->valueCount()), lo, hi,
                             [&](std::size_t first, std::size_t last) {
                                 if (z)
                                     for (std::size_t k = first; k < last; ++k) out[k] = magnitude(x[k], y[k], z[k]);
                                 else
                                     for (std::size_t k = first; k < last; ++k) out[k] = magnitude(x[k], y[k], 0.0f);
                             });
    target->setRange(lo, hi);
}

std::array<float, 2> FlowData::maxVelocity() const {
    const Channel* x = channel(0);
    const Channel* y = channel(1);
    return {x ? x->maxValue() : 0.0f, y ? y->maxValue() : 0.0f};
}

std::array<float, 2> FlowData::minVelocity() const {
    const Channel* x = channel(0);
    const Channel* y = channel(1);
    return {x ? x->minValue() : 0.0f, y ? y->minValue() : 0.0f};
}

unsigned int FlowData::dataTexture(int channel) const {
    return channel >= 1 && channel <= maxDataChannels ? dataTextures_[static_cast<std::size_t>(channel)] : 0;
}

TextureSize FlowData::textureDataSize() const { return ::textureDataSize(width(), height(), textureResolution_); }
