#include "options/OptionsFile.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <vector>

#include "app/Camera.h"
#include "options/LoadedPoints.h"
#include "options/OptionsReader.h"
#include "options/OptionsText.h"
#include "options/XMLNodes.h"
#include "panel/LiveVariables.h"
#include "render/ArrowPlot.h"
#include "streamlines/StreamlineSet.h"
#include "tf/TransferFunction.h"

namespace {
const char* const kTfNames[4] = {"velocity", "data1", "data2", "arrow"};
const char* const kFileNotFound = "error while loeding the xml config file: file not found";
const char* const kTooFewPoints = "ERROR while loading xml conifg file: file emptry or too few points for tf found";

// The panel's limits, which the loaded values are held to.
constexpr int kMaxBackground = 2;
constexpr int kMinArrowCount = 2;
constexpr int kMaxArrowCount = 200;
constexpr float kMinArrowSize = 0.1f;
constexpr float kMaxArrowSize = 200.0f;
constexpr int kMaxIntegration = 1;
constexpr int kMaxStreamlineMode = 4;
constexpr int kMaxSeedPoints = 100;

// Files written before unit speed existed lack its key: they were made
// without it, so they load as 0 and are not warned about. Unit speed goes
// through its live variable directly, not a pointer given to the constructor.
int loadedUnitSpeed(const XMLNodes& root) {
    const XMLNodes* group = root.child("streamlines");
    const XMLNodes* value = group != nullptr ? group->child("unit_speed") : nullptr;
    return value != nullptr ? std::clamp(parseInt(value->text()), 0, 1) : 0;
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

OptionsFile::OptionsFile(Camera* camera, int* backgroundChannel, int* integrationMethod, int* streamlineMode,
                         int* seedPoints, float* dsep, float* dtest, float* stepSize, int* showStreamlines)
    : camera(camera),
      backgroundChannel(backgroundChannel),
      integrationMethod(integrationMethod),
      streamlineMode(streamlineMode),
      seedPoints(seedPoints),
      dsep(dsep),
      dtest(dtest),
      stepSize(stepSize),
      showStreamlines(showStreamlines) {}

void OptionsFile::attach(ArrowPlot* arrowPlot, const std::array<TransferFunction*, 4>& transferFunctions,
                         StreamlineSet* streamlineSet) {
    this->arrowPlot = arrowPlot;
    this->transferFunctions = transferFunctions;
    this->streamlineSet = streamlineSet;
}

bool OptionsFile::attached() const {
    if (camera == nullptr || arrowPlot == nullptr || streamlineSet == nullptr) return false;
    for (const TransferFunction* tf : transferFunctions) {
        if (tf == nullptr) return false;
    }
    return true;
}

bool OptionsFile::save(const std::string& fileName) const {
    if (!attached()) return false;

    XMLNodes root("flow_visualization_options");
    root.addChild("background")->addChild("index", formatInt(*backgroundChannel));

    XMLNodes* cameraNode = root.addChild("camera");
    XMLNodes* translation = cameraNode->addChild("translation");
    translation->addChild("x", formatFloat(camera->getTranslationX()));
    translation->addChild("y", formatFloat(camera->getTranslationY()));
    cameraNode->addChild("zoom", formatFloat(camera->getZoom()));

    XMLNodes* functions = root.addChild("transferfunction");
    for (std::size_t i = 0; i < transferFunctions.size(); ++i) {
        XMLNodes* group = functions->addChild(kTfNames[i]);
        for (const TfPoint* p = transferFunctions[i]->points().first(); p != nullptr; p = p->next.get()) {
            addPoint(*group, *p);
        }
    }

    XMLNodes* arrows = root.addChild("arrowplot");
    arrows->addChild("enable_arrowplot", formatInt(*arrowPlot->getEnabled()));
    arrows->addChild("enable_sizemodification", formatInt(*arrowPlot->getSizeModification()));
    arrows->addChild("apply_arrowtf", formatInt(*arrowPlot->getApplyTf()));
    arrows->addChild("count_x", formatInt(*arrowPlot->getCountX()));
    arrows->addChild("count_y", formatInt(*arrowPlot->getCountY()));
    arrows->addChild("pointsize", formatInt(truncateToInt(*arrowPlot->getSize())));

    XMLNodes* lines = root.addChild("streamlines");
    lines->addChild("enable_streamlines", formatInt(*showStreamlines));
    lines->addChild("integration_index", formatInt(*integrationMethod));
    lines->addChild("modus_index", formatInt(*streamlineMode));
    lines->addChild("seedpoints", formatInt(*seedPoints));
    lines->addChild("dsep", formatFloat(*dsep));
    lines->addChild("dtest", formatFloat(*dtest));
    lines->addChild("dt", formatFloat(*stepSize));
    lines->addChild("unit_speed", formatInt(unitSpeed));
    const ColorRGBA* color = streamlineSet->color();
    XMLNodes* colorNode = lines->addChild("color");
    colorNode->addChild("red", formatFloat(color->red()));
    colorNode->addChild("green", formatFloat(color->green()));
    colorNode->addChild("blue", formatFloat(color->blue()));

    try {
        root.save(fileName);
    } catch (const char*) {
        std::cerr << "Save Error" << std::endl;
        return false;
    }
    return true;
}

bool OptionsFile::load(const std::string& fileName) {
    if (!attached()) return false;

    XMLNodes root;
    try {
        root.load(fileName);
    } catch (const char*) {
        std::cerr << kFileNotFound << std::endl;
        return false;
    } catch (const std::exception&) {
        std::cerr << kFileNotFound << std::endl;
        return false;
    }

    OptionsReader in(root);
    int i = 0;
    float f = 0.0f;
    if (in.readInt("background/index", 0, kMaxBackground, i)) *backgroundChannel = i;
    if (in.readFloat("camera/translation/x", f)) camera->setTranslationX(f);
    if (in.readFloat("camera/translation/y", f)) camera->setTranslationY(f);
    if (in.readFloat("camera/zoom", f)) camera->setZoom(f);

    for (std::size_t k = 0; k < transferFunctions.size(); ++k) {
        const std::string path = std::string("transferfunction/") + kTfNames[k];
        const XMLNodes* group = in.element(path);
        if (group == nullptr) continue;
        const std::vector<XMLNodes*> pointNodes = group->children("point");
        if (pointNodes.size() < 2) {
            std::cerr << kTooFewPoints << std::endl;
            in.reportUnused(fileName);
            return false;
        }
        std::vector<TfPoint> points;
        for (const XMLNodes* node : pointNodes) {
            float alpha, blue, green, red, size, x;
            const std::string pointPath = path + "/point";
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

    if (in.readInt("arrowplot/count_x", kMinArrowCount, kMaxArrowCount, i)) arrowPlot->setCountX(i);
    if (in.readInt("arrowplot/count_y", kMinArrowCount, kMaxArrowCount, i)) arrowPlot->setCountY(i);
    if (in.readFloat("arrowplot/pointsize", kMinArrowSize, kMaxArrowSize, f)) arrowPlot->setSize(f);
    if (in.readFlag("arrowplot/enable_arrowplot", i)) arrowPlot->setEnabled(i);
    if (in.readFlag("arrowplot/enable_sizemodification", i)) arrowPlot->setSizeModification(i);
    if (in.readFlag("arrowplot/apply_arrowtf", i)) arrowPlot->setApplyTf(i);

    if (in.readInt("streamlines/enable_streamlines", 0, 1, i)) *showStreamlines = i;
    if (in.readInt("streamlines/integration_index", 0, kMaxIntegration, i)) *integrationMethod = i;
    if (in.readInt("streamlines/modus_index", 0, kMaxStreamlineMode, i)) *streamlineMode = i;
    if (in.readInt("streamlines/seedpoints", 0, kMaxSeedPoints, i)) *seedPoints = i;
    if (in.readFloat("streamlines/dsep", f)) *dsep = f;
    if (in.readFloat("streamlines/dtest", f)) *dtest = f;
    if (in.readFloat("streamlines/dt", f)) *stepSize = f;
    unitSpeed = loadedUnitSpeed(root);

    // A missing component keeps its byte: byte / 255 maps back to the same byte.
    const ColorRGBA* current = streamlineSet->color();
    float blue = current->blue();
    float green = current->green();
    float red = current->red();
    in.readComponent("streamlines/color/blue", blue);
    in.readComponent("streamlines/color/green", green);
    in.readComponent("streamlines/color/red", red);
    streamlineSet->setColor(red, green, blue);

    in.reportUnused(fileName);
    return true;
}
