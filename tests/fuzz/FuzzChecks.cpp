#include "FuzzChecks.h"

#include "data/FlowData.h"
#include "data/TextureBuffers.h"
#include "options/OptionsFile.h"
#include "options/XMLNodes.h"
#include "render/Camera.h"
#include "settings/LiveVariables.h"
#include "settings/Settings.h"
#include "streamlines/StreamlineSet.h"
#include "support/TempDir.h"
#include "tf/TransferFunctionSet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// The viewer uses 538 texels; fewer sample the same code paths many times faster.
constexpr int kTextureResolution = 64;

// One scratch folder per process for the files the loaders read.
const TempDir& scratch() {
    static const TempDir dir;
    return dir;
}

void writeBytes(const std::string& path, const char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
}

std::string written(const XMLNodes& node) {
    std::ostringstream out;
    node.write(out, 0);
    return out.str();
}

// The objects an open dataset attaches to the options file.
struct OptionsScene {
    Camera camera;
    TransferFunctionSet tfs = createTransferFunctions(nullptr, 0, 2, nullptr);
    StreamlineSet lines{nullptr, 0, 1, 0.005f, 0.4f, 0.2f};
    OptionsFile options{&camera};

    OptionsScene() {
        resetLiveVariables();
        options.attach({tfs[0], tfs[1], tfs[2], tfs[3]}, &lines);
    }

    std::string problem() const {
        for (const Setting& s : settings()) {
            const double v = s.value();
            if (!std::isfinite(v) || (s.limited && (v < s.low || v > s.high)))
                return std::string("setting ") + s.name + " out of its limits";
        }
        const float t = Camera::maxTranslation;
        if (!(std::fabs(camera.getTranslationX()) <= t && std::fabs(camera.getTranslationY()) <= t &&
              camera.getZoom() >= Camera::minZoom && camera.getZoom() <= Camera::maxZoom))
            return "camera out of its bounds";
        for (int i = 0; i < 4; ++i) {
            const std::string tf = "transfer function " + std::to_string(i) + ": ";
            const TfPoint* p = tfs[i]->points().first();
            if (p == nullptr || p->position != 0.0f) return tf + "does not start at 0";
            int count = 0;
            for (; p != nullptr; p = p->next.get()) {
                ++count;
                if (!(p->markerWidth > 0.0f) || !(p->position >= 0.0f && p->position <= 4.0f))
                    return tf + "a point outside 0..4 or without width";
                if (p->next && p->next->position < p->position) return tf + "points out of order";
                if (!p->next && p->position != 4.0f) return tf + "does not end at 4";
            }
            if (count < 2) return tf + "fewer than two points";
        }
        return "";
    }
};

bool finite(const StreamPoint* p) { return std::isfinite(p->x()) && std::isfinite(p->y()); }

bool inside(const StreamPoint* p, const DomainBox& box) {
    return p->x() >= box.xmin && p->x() <= box.xmax && p->y() >= box.ymin && p->y() <= box.ymax;
}

std::uint32_t littleEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

std::string checkXmlInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    XMLNodes first;
    try {
        first.parse(in);
    } catch (const char* message) {
        return std::strcmp(message, "Bad File") == 0 ? "" : std::string("unexpected message: ") + message;
    }
    const std::string text = written(first);
    std::istringstream again(text);
    XMLNodes second;
    try {
        second.parse(again);
    } catch (const char*) {
        return "what was written does not read back";
    }
    // write() covers every name, text and child, so equal output means equal trees.
    if (second.name() != first.name() || second.text() != first.text() || second.childCount() != first.childCount() ||
        written(second) != text)
        return "the tree changed on writing and reading it again";
    return "";
}

std::string checkOptionsInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = scratch().file("input.xml");
    const std::string declaration = "<?xml version=\"1.0\"?>\r\n";
    std::string text = declaration;
    text.append(reinterpret_cast<const char*>(data), size);
    writeBytes(input, text.data(), text.size());

    OptionsScene scene;
    scene.options.load(input);
    if (const std::string p = scene.problem(); !p.empty()) return "after the load: " + p;

    const std::string saved = scratch().file("saved.xml");
    if (!scene.options.save(saved)) return "what was loaded does not save";
    OptionsScene again;
    if (!again.options.load(saved)) return "what was saved does not load";
    if (const std::string p = again.problem(); !p.empty()) return "after saving and loading again: " + p;
    return "";
}

std::string datasetInput(const std::string& grid, const std::string& data) {
    std::string input(4, '\0');
    for (int b = 0; b < 4; ++b) input[b] = static_cast<char>((grid.size() >> (8 * b)) & 0xff);
    return input + grid + data;
}

std::string checkDatasetInput(const std::uint8_t* data, std::size_t size) {
    std::size_t gridSize = size >= 4 ? std::min<std::size_t>(littleEndian32(data), size - 4) : 0;
    const char* bytes = reinterpret_cast<const char*>(data) + std::min<std::size_t>(size, 4);
    writeBytes(scratch().file("f.gri"), bytes, gridSize);
    writeBytes(scratch().file("f.00000.dat"), bytes + gridSize, size - std::min<std::size_t>(size, 4) - gridSize);

    FlowData flow(nullptr);
    if (!flow.load(scratch().file("f.gri"), false)) {
        if (flow.isLoaded() || flow.channel(0) != nullptr) return "a refused dataset kept its grid or channels";
        return "";
    }
    const int nodes = flow.grid().nodeCount();
    for (int slot = 0; slot < 3 + flow.dataChannelCount(); ++slot)
        if (!flow.channel(slot) || flow.channel(slot)->valueCount() != nodes)
            return "channel " + std::to_string(slot) + " is missing or of the wrong size";

    const int xSlot = flow.createCoordinateChannel(0);
    const int ySlot = flow.createCoordinateChannel(1);
    const int magnitude = flow.createMagnitudeChannel(0, 1, 2);
    const TextureSize texels = textureDataSize(flow.width(), flow.height(), kTextureResolution);
    const std::vector<float> velocity =
        velocityTexels(flow.channel(0), flow.channel(1), flow.channel(2), flow.channel(magnitude), texels);
    if (velocity.size() != static_cast<std::size_t>(texels.width) * texels.height * 4)
        return "the velocity texels do not fill the texture";

    StreamlineSet lines(&flow, xSlot, ySlot, 0.005f, 0.4f, 0.2f);
    const DomainBox box = lines.domainBox();
    const float side = std::max(box.width(), box.height());
    // Coarse, so that a run takes milliseconds and the fuzzer explores the
    // files rather than long lines.
    const float dsep = std::isfinite(side) && side > 0.0f ? side / 8.0f : 0.4f;
    lines.setStepSize(dsep / 4.0f);
    lines.setSeparation(dsep);
    lines.setTestDistance(dsep / 2.0f);
    lines.setMemoryBudget(5000 * 48.0);  // a few thousand points at most
    lines.computeEvenlySpaced();
    for (const auto& line : lines.streamlines())
        for (const StreamPoint* p : line->points)
            if (!finite(p) || !inside(p, box)) return "an evenly spaced point lies outside the domain";
    lines.computeSeeded(2);
    for (const auto& line : lines.streamlines())
        for (const StreamPoint* p : line->points)
            if (!finite(p)) return "a seeded point is not finite";
    return "";
}
