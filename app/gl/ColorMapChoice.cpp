#include "app/gl/ColorMapChoice.h"

#include "app/CommandLineSettings.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "data/FlowData.h"
#include "settings/LiveVariables.h"
#include "tf/ColorMaps.h"
#include "tf/TransferFunction.h"

#include <iostream>

std::vector<ColorMapButton> colorMapButtons() {
    std::vector<ColorMapButton> buttons;
    for (const ColorMap& map : colorMaps()) buttons.push_back({map.label, map.meaning});
    return buttons;
}

void chooseColorMap(TransferFunction& tf, int mapIndex) {
    applyColorMap(tf, colorMaps()[static_cast<std::size_t>(mapIndex)]);
    // The background's and the arrows' tables are the ones bound; the others
    // are uploaded when their channel is chosen.
    if (&tf == transferFunctions.forBackground(backgroundChannel) || &tf == transferFunctions[3]) tf.upload();
}

namespace {
bool refuse(const std::string& value, const std::string& why) {
    const std::string text = "Ignoring -colormap '" + value + "': " + why;
    std::cerr << text << std::endl;
    statusBoard.post(MessageKind::Error, text);
    return false;
}

// The transfer function TF names; null when there is none.
TransferFunction* namedTransferFunction(const std::string& name) {
    if (name == "velocity") return transferFunctions[0];
    if (name == "arrow") return transferFunctions[3];
    double k = 0;
    if (!parseNumber(name, k) || k < 1 || k != static_cast<int>(k) || k > flowData->dataChannelCount()) return nullptr;
    return transferFunctions.forBackground(static_cast<int>(k));
}
}  // namespace

bool applyColorMapOption(const std::string& value) {
    if (!sceneReady()) return refuse(value, "no dataset is open");
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos)
        return refuse(value, "give TF=NAME, TF being velocity, arrow or a data channel's number");
    const std::string name = value.substr(0, equals);
    TransferFunction* tf = namedTransferFunction(name);
    if (!tf) {
        const int channels = flowData->dataChannelCount();
        return refuse(value, "the dataset has no transfer function '" + name + "' (velocity, arrow" +
                                 (channels > 0 ? " or 1 to " + std::to_string(channels) : std::string()) + ")");
    }
    const std::string mapName = value.substr(equals + 1);
    for (std::size_t k = 0; k < colorMaps().size(); ++k) {
        if (mapName == colorMaps()[k].name) {
            chooseColorMap(*tf, static_cast<int>(k));
            return true;
        }
    }
    return refuse(value, "the colour maps are " + colorMapNames());
}
