#include "formats/Importer.h"

#include "common/ConsoleLog.h"

#include "data/ChannelNames.h"
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "formats/NetcdfImporter.h"

#include <cstdio>
#include <ostream>

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Thrown out of the dataset writer's record function when a step cannot be read.
struct ReadFailure {
    std::string message;
};

}  // namespace

bool Importer::readStep(int step, const Grid&, std::vector<std::unique_ptr<Channel>>& channels, bool verbose) {
    if (verbose) consoleOut() << "- Loading time step " << step << " of '" << path_ << "' ... \n";
    std::vector<std::vector<float>> values;
    std::string error;
    if (!readValues(step, values, error)) {
        consoleErr() << "+ Error reading time step " << step << " of " << path_ << ": " << error << "\n\n";
        return false;
    }
    for (std::size_t k = 0; k < channels.size() && k < values.size(); ++k) channels[k]->assignValues(values[k].data());
    return true;
}

bool isNetcdfPath(const std::string& path) { return endsWith(path, ".nc"); }

bool loadDataset(FlowData& data, const std::string& path, int step, const std::string& u, const std::string& v) {
    if (!isNetcdfPath(path)) return data.load(path, false, step);
    std::string error;
    std::unique_ptr<NetcdfImporter> importer = NetcdfImporter::open(path, u, v, error);
    if (!importer) {
        consoleErr() << "+ Error loading NetCDF file:" << path << ": " << error << "\n\n";
        return false;
    }
    return loadImported(data, std::move(importer), step);
}

bool loadImported(FlowData& data, std::unique_ptr<Importer> importer, int step) {
    for (const std::string& line : importer->report) consoleOut() << line << "\n";
    const int nx = static_cast<int>(importer->xs.size());
    const int ny = static_cast<int>(importer->ys.size());
    std::vector<Vec3> nodes;
    nodes.reserve(importer->nodeCount());
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            nodes.emplace_back(importer->xs[static_cast<std::size_t>(i)], importer->ys[static_cast<std::size_t>(j)],
                               0.0f);
    Grid grid;
    consoleOut() << "Dimensions: " << nx << " x " << ny << " x 1\n";
    if (!grid.setNodes(nx, ny, std::move(nodes))) {
        consoleErr() << "+ Error loading dataset: fewer than 2 nodes along x or y, or too many nodes.\n\n";
        return false;
    }
    consoleOut() << "X Boundaries: " << grid.minCorner().x << " ... " << grid.maxCorner().x << "\n";
    consoleOut() << "Y Boundaries: " << grid.minCorner().y << " ... " << grid.maxCorner().y << "\n";
    const int channels = importer->channelCount();
    const int steps = importer->stepCount;
    std::vector<std::string> names = importer->channelNames;
    return data.loadFrom(std::move(grid), channels, steps, std::move(names), std::move(importer), step);
}

bool writeImported(Importer& importer, const std::string& base, std::string& error) {
    const std::size_t nx = importer.xs.size();
    // The writer asks node by node, step after step: one step in memory.
    int loadedStep = -1;
    std::vector<std::vector<float>> values;
    DatasetWriter writer(importer.xs, importer.ys);
    writer.dataChannels(importer.channelCount()).timeSteps(importer.stepCount);
    writer.records([&](const DatasetWriter::Node& node, float* record) {
        if (node.step != loadedStep) {
            std::string reason;
            if (!importer.readValues(node.step, values, reason))
                throw ReadFailure{"time step " + std::to_string(node.step) + ": " + reason};
            loadedStep = node.step;
        }
        const std::size_t k = static_cast<std::size_t>(node.j) * nx + static_cast<std::size_t>(node.i);
        for (std::size_t c = 0; c < values.size(); ++c) record[c] = values[c][k];
    });
    try {
        writer.write(base);
    } catch (const ReadFailure& failure) {
        error = failure.message;
        return false;
    } catch (const DatasetWriteError& failure) {
        error = failure.what();
        return false;
    }
    // No names: a side file left by an earlier conversion must not stay.
    if (importer.channelNames.empty()) std::remove(channelNamesPath(base).c_str());
    if (!importer.channelNames.empty() && !writeChannelNames(channelNamesPath(base), importer.channelNames)) {
        error = "cannot write '" + channelNamesPath(base) + "'";
        return false;
    }
    return true;
}
