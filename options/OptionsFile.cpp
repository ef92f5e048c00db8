#include "options/OptionsFile.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "options/LoadedPoints.h"
#include "options/OptionsReader.h"
#include "options/OptionsText.h"
#include "options/XMLNodes.h"
#include "data/ColorRGBA.h"
#include "render/Camera.h"
#include "settings/Modes.h"
#include "settings/Settings.h"
#include "streamlines/StreamlineSet.h"
#include "tf/TransferFunction.h"

namespace {
const char* const kTfNames[4] = {"velocity", "data1", "data2", "arrow"};
const char* const kFileNotFound = "error while loeding the xml config file: file not found";
const char* const kTooFewPoints = "ERROR while loading xml conifg file: file emptry or too few points for tf found";

// The file's layout: the camera and the transfer functions follow this
// group, and the streamline colour ends the streamline group.
const std::string kFirstGroup = "background";
const std::string kLineGroup = "streamlines";

std::string groupOf(const Setting& s) {
    const std::string path = s.file.path;
    return path.substr(0, path.find('/'));
}

std::string leafOf(const Setting& s) {
    const std::string path = s.file.path;
    return path.substr(path.find('/') + 1);
}

// The stored settings in the order they are written.
std::vector<const Setting*> storedSettings() {
    std::vector<const Setting*> stored;
    for (const Setting& s : settings()) {
        if (s.file.form != FileForm::None) stored.push_back(&s);
    }
    std::stable_sort(stored.begin(), stored.end(),
                     [](const Setting* a, const Setting* b) { return a->file.position < b->file.position; });
    return stored;
}

std::vector<std::string> groupsInFileOrder(const std::vector<const Setting*>& stored) {
    std::vector<std::string> groups;
    for (const Setting* s : stored) {
        const std::string group = groupOf(*s);
        if (std::find(groups.begin(), groups.end(), group) == groups.end()) groups.push_back(group);
    }
    return groups;
}

std::string formatted(const Setting& s) {
    switch (s.file.form) {
    case FileForm::Float: return formatFloat(static_cast<float>(s.value()));
    case FileForm::WholeFloat: return formatInt(truncateToInt(static_cast<float>(s.value())));
    default: return formatInt(static_cast<int>(s.value()));
    }
}

// Reads one setting; a missing or unusable value keeps the current one.
void readSetting(OptionsReader& in, const Setting& s) {
    const std::string path = s.file.path;
    if (s.file.optional && !in.contains(path)) {
        if (!s.file.keepWhenMissing) s.set(s.start);
        return;
    }
    int i = 0;
    float f = 0.0f;
    switch (s.file.form) {
    case FileForm::Int:
        if (in.readInt(path, static_cast<int>(s.low), static_cast<int>(s.high), i)) s.set(i);
        break;
    case FileForm::Flag:
        if (in.readFlag(path, i)) s.set(i);
        break;
    case FileForm::Float:
    case FileForm::WholeFloat:
        if (s.limited ? in.readFloat(path, static_cast<float>(s.low), static_cast<float>(s.high), f)
                      : in.readFloat(path, f))
            *s.floatValue = f;
        break;
    case FileForm::None: break;
    }
}

void readGroup(OptionsReader& in, const std::vector<const Setting*>& stored, const std::string& group) {
    for (bool flags : {false, true}) {
        for (const Setting* s : stored) {
            if (groupOf(*s) == group && (s->file.form == FileForm::Flag) == flags) readSetting(in, *s);
        }
    }
}

void addPoint(XMLNodes& group, const TfPoint& p) {
    XMLNodes* point = group.addChild("point");
    point->addChild("x", formatFloat(p.position));
    point->addChild("size", formatFloat(p.markerWidth));
    point->addChild("red", formatFloat(p.color.red()));
    point->addChild("green", formatFloat(p.color.green()));
    point->addChild("blue", formatFloat(p.color.blue()));
    point->addChild("alpha", formatFloat(p.color.alpha()));
}

void addPoints(XMLNodes& group, const TransferFunction& tf) {
    for (const TfPoint* p = tf.points().first(); p != nullptr; p = p->next.get()) addPoint(group, *p);
}

// The element of the transfer function of data channel 3 + i.
std::string channelElement(std::size_t i) { return "data" + std::to_string(i + 3); }

enum class PointsRead { Replaced, Kept, TooFew };

// Replaces the points of `tf` with those of the element at `path`. A point
// that cannot be read leaves the whole function as it was.
PointsRead readPoints(OptionsReader& in, const std::string& path, TransferFunction& tf) {
    const XMLNodes* group = in.element(path);
    if (group == nullptr) return PointsRead::Kept;
    const std::vector<XMLNodes*> pointNodes = group->children("point");
    if (pointNodes.size() < 2) return PointsRead::TooFew;
    std::vector<TfPoint> points;
    const std::string pointPath = path + "/point";
    for (const XMLNodes* node : pointNodes) {
        float alpha, blue, green, red, size, x;
        if (!in.readComponentBelow(*node, pointPath, "alpha", alpha) ||
            !in.readComponentBelow(*node, pointPath, "blue", blue) ||
            !in.readComponentBelow(*node, pointPath, "green", green) ||
            !in.readComponentBelow(*node, pointPath, "red", red) ||
            !in.readFloatBelow(*node, pointPath, "size", size) || !in.readFloatBelow(*node, pointPath, "x", x)) {
            return PointsRead::Kept;
        }
        points.emplace_back(x, size, ColorRGBA(red, green, blue, alpha));
    }
    sanitizeLoadedPoints(points, tf.pointWidth);
    tf.points().clear();
    tf.points().setPoints(std::move(points));
    tf.buildColorTable();
    return PointsRead::Replaced;
}
}  // namespace

void OptionsFile::attach(const std::array<TransferFunction*, 4>& transferFunctions, StreamlineSet* streamlineSet,
                         std::vector<TransferFunction*> channelFunctions) {
    this->transferFunctions = transferFunctions;
    this->channelFunctions = std::move(channelFunctions);
    this->streamlineSet = streamlineSet;
}

bool OptionsFile::attached() const {
    if (camera == nullptr || streamlineSet == nullptr) return false;
    for (const TransferFunction* tf : transferFunctions) {
        if (tf == nullptr) return false;
    }
    return true;
}

bool OptionsFile::save(const std::string& fileName) const {
    if (!attached()) return false;

    XMLNodes root("flow_visualization_options");
    const std::vector<const Setting*> stored = storedSettings();
    for (const std::string& group : groupsInFileOrder(stored)) {
        XMLNodes* node = root.addChild(group);
        for (const Setting* s : stored) {
            if (groupOf(*s) == group) node->addChild(leafOf(*s), formatted(*s));
        }
        if (group == kFirstGroup) {
            XMLNodes* cameraNode = root.addChild("camera");
            XMLNodes* translation = cameraNode->addChild("translation");
            translation->addChild("x", formatFloat(camera->getTranslationX()));
            translation->addChild("y", formatFloat(camera->getTranslationY()));
            cameraNode->addChild("zoom", formatFloat(camera->getZoom()));

            XMLNodes* functions = root.addChild("transferfunction");
            for (std::size_t i = 0; i < transferFunctions.size(); ++i)
                addPoints(*functions->addChild(kTfNames[i]), *transferFunctions[i]);
            for (std::size_t i = 0; i < channelFunctions.size(); ++i)
                addPoints(*functions->addChild(channelElement(i)), *channelFunctions[i]);
        }
        if (group == kLineGroup) {
            const ColorRGBA* color = streamlineSet->color();
            XMLNodes* colorNode = node->addChild("color");
            colorNode->addChild("red", formatFloat(color->red()));
            colorNode->addChild("green", formatFloat(color->green()));
            colorNode->addChild("blue", formatFloat(color->blue()));
        }
    }

    try {
        root.save(fileName);
    } catch (const char*) {
        std::cerr << "Save Error" << std::endl;
        return false;
    }
    return true;
}

bool OptionsFile::load(const std::string& fileName) {
    skipped.clear();
    clamped.clear();
    failure.clear();
    if (!attached()) return false;

    XMLNodes root;
    const char* const unreadable = "the file is missing or not an XML file";
    try {
        root.load(fileName);
    } catch (const char*) {
        std::cerr << kFileNotFound << std::endl;
        failure = unreadable;
        return false;
    } catch (const std::exception&) {
        std::cerr << kFileNotFound << std::endl;
        failure = unreadable;
        return false;
    }

    OptionsReader in(root);
    const std::vector<const Setting*> stored = storedSettings();
    for (const std::string& group : groupsInFileOrder(stored)) {
        readGroup(in, stored, group);
        if (group == kFirstGroup) {
            float f = 0.0f;
            const float t = Camera::maxTranslation;
            if (in.readFloat("camera/translation/x", -t, t, f)) camera->setTranslationX(f);
            if (in.readFloat("camera/translation/y", -t, t, f)) camera->setTranslationY(f);
            if (in.readFloat("camera/zoom", Camera::minZoom, Camera::maxZoom, f)) camera->setZoom(f);
            if (!loadTransferFunctions(in)) {
                in.reportUnused(fileName);
                skipped = in.skippedPaths();
                clamped = in.clampedPaths();
                failure = "a transfer function has fewer than two points";
                return false;
            }
        }
        if (group == kLineGroup) {
            // A missing component keeps its byte: byte / 255 maps back to the same byte.
            const ColorRGBA* current = streamlineSet->color();
            float blue = current->blue();
            float green = current->green();
            float red = current->red();
            in.readComponent("streamlines/color/blue", blue);
            in.readComponent("streamlines/color/green", green);
            in.readComponent("streamlines/color/red", red);
            streamlineSet->setColor(red, green, blue);
        }
    }
    // Files from before the line-colour choice drew the lines in the
    // streamline colour: one that is not white is the chosen colour.
    const ColorRGBA* c = streamlineSet->color();
    const bool white = c->redByte == 255 && c->greenByte == 255 && c->blueByte == 255;
    if (!in.contains("drawing/line_color") && !white)
        findSetting("lineColor")->set(static_cast<int>(LineColor::Chosen));
    in.reportUnused(fileName);
    skipped = in.skippedPaths();
    clamped = in.clampedPaths();
    return true;
}

bool OptionsFile::loadTransferFunctions(OptionsReader& in) {
    std::vector<std::pair<std::string, TransferFunction*>> order;
    for (std::size_t k = 0; k < transferFunctions.size(); ++k)
        order.emplace_back(std::string("transferfunction/") + kTfNames[k], transferFunctions[k]);
    for (std::size_t i = 0; i < channelFunctions.size(); ++i) {
        const std::string path = "transferfunction/" + channelElement(i);
        if (in.contains(path)) order.emplace_back(path, channelFunctions[i]);
    }
    for (const auto& [path, tf] : order) {
        if (readPoints(in, path, *tf) == PointsRead::TooFew) {
            std::cerr << kTooFewPoints << std::endl;
            return false;
        }
    }
    return true;
}
