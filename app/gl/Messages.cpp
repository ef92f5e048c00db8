#include "app/gl/Messages.h"

#include "app/gl/Globals.h"
#include "app/gl/Placements.h"
#include "app/gl/Scene.h"
#include "app/gl/Window.h"
#include "settings/LiveVariables.h"
#include "settings/Modes.h"
#include "streamlines/StreamlineSet.h"

#include <sstream>

StatusBoard statusBoard;

void reportPlacement() {
    const StreamlineSet* placed = placedStreamlines();
    if (!placed) return;
    std::vector<StatusMessage> messages;
    if (!placed->refusal().empty()) messages.push_back({MessageKind::Error, placed->refusal()});
    for (const std::string& line : placed->warnings()) messages.push_back({MessageKind::Warning, line});
    // Lines stop within dtest of others but start dsep from them: with dtest
    // at or above dsep most stop where they start.
    const bool evenlySpaced = streamlineModeOf(streamlineMode) != StreamlineMode::Normal;
    if (evenlySpaced && placed->refusal().empty() && !(placed->dtest() < placed->dsep()))
        messages.push_back({MessageKind::Warning,
                            "dtest is not below dsep, so new lines stop where they start: "
                            "try dtest = dsep / 2"});
    if (showStreamlines == 1 && placed->refusal().empty() && placed->streamlines().empty())
        messages.push_back({MessageKind::Warning, "No streamlines were placed with these settings"});
    statusBoard.setPlacementMessages(messages);
}

void reportPanelNotice(bool refused, const std::string& text) {
    statusBoard.post(refused ? MessageKind::Error : MessageKind::Warning, text);
}

namespace {
const char* kindName(const DrawnStatusLine& line) {
    if (line.dataFile) return "datafile";
    switch (line.kind) {
    case MessageKind::Info: return "info";
    case MessageKind::Warning: return "warning";
    case MessageKind::Error: return "error";
    }
    return "";
}
}  // namespace

std::string statusMapLines() {
    const FieldView view = currentFieldView();
    std::ostringstream out;
    for (const DrawnStatusLine& line : drawnStatusLines()) {
        out << "status\t" << line.text << "\t1\t" << view.x + line.x << '\t' << view.y + line.top << '\t' << line.width
            << '\t' << line.height << '\t' << kindName(line) << '\n';
    }
    return out.str();
}
