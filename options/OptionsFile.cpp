#include "options/OptionsFile.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <vector>

#include "options/LoadedPoints.h"
#include "options/OptionsReader.h"
#include "options/OptionsText.h"
#include "options/XMLNodes.h"
#include "render/Camera.h"
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
        s.set(s.start);
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
}  // namespace

void OptionsFile::attach(const std::array<TransferFunction*, 4>& transferFunctions, StreamlineSet* streamlineSet) {
    this->transferFunctions = transferFunctions;
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
            for (std::size_t i = 0; i < transferFunctions.size(); ++i) {
                XMLNodes* tfNode = functions->addChild(kTfNames[i]);
                for (const TfPoint* p = transferFunctions[i]->points().first(); p != nullptr; p = p->next.get()) {
                    addPoint(*tfNode, *p);
                }
            }
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
            if (in.readFloat("camera/translation/x", f)) camera->setTranslationX(f);
            if (in.readFloat("camera/translation/y", f)) camera->setTranslationY(f);
            if (in.readFloat("camera/zoom", f)) camera->setZoom(f);
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
    in.reportUnused(fileName);
    skipped = in.skippedPaths();
    clamped = in.clampedPaths();
    return true;
}

bool OptionsFile::loadTransferFunctions(OptionsReader& in) {
    for (std::size_t k = 0; k < transferFunctions.size(); ++k) {
        const std::string path = std::string("transferfunction/") + kTfNames[k];
        const XMLNodes* group = in.element(path);
        if (group == nullptr) continue;
        const std::vector<XMLNodes*> pointNodes = group->children("point");
        if (pointNodes.size() < 2) {
            std::cerr << kTooFewPoints << std::endl;
            return false;
        }
        std::vector<TfPoint> points;
        const std::string pointPath = path + "/point";
        for (const XMLNodes* node : pointNodes) {
            float alpha, blue, green, red, size, x;
            if (!in.readComponentBelow(*node, pointPath, "alpha", alpha) ||
                !in.readComponentBelow(*node, pointPath, "blue", blue) ||
                !in.readComponentBelow(*node, pointPath, "green", green) ||
                !in.readComponentBelow(*node, pointPath, "red", red) ||
                !in.readFloatBelow(*node, pointPath, "size", size) || !in.readFloatBelow(*node, pointPath, "x", x)) {
                break;
            }
            points.emplace_back(x, size, ColorRGBA(red, green, blue, alpha));
        }
        // A point that cannot be read leaves the whole function as it was.
        if (points.size() != pointNodes.size()) continue;
        TransferFunction* tf = transferFunctions[k];
        sanitizeLoadedPoints(points, tf->pointWidth);
        tf->points().clear();
        tf->points().setPoints(std::move(points));
        tf->buildColorTable();
    }
    return true;
}
