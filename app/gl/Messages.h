#pragma once

#include "app/StatusBoard.h"

#include <string>

// The messages shown under the status line (StatusBoard.h).
extern StatusBoard statusBoard;

// What the streamline placement that just ended has to say: why it placed
// nothing, the values it clamped, or, with streamlines shown, that no line
// came out.
void reportPlacement();

// A notice of a panel control (PanelWindow's notice handler).
void reportPanelNotice(bool refused, const std::string& text);

// The status line and the messages as last drawn, as panel-map lines
// ("status <text> 1 <x> <y> <w> <h> <datafile|info|warning|error>", window
// pixels from the top left).
std::string statusMapLines();
