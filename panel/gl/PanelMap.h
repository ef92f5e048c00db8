#pragma once

#include <string>

struct PanelFrameResult;
class PanelWindow;

// Test hook: when the environment variable QUILLMERE_PANEL_MAP names a file,
// every frame rewrites it with where the panel drew its controls, so that a
// test driving the real window can find them. One line per drawn control and
// file-browser entry, fields separated by tabs:
//   frame <n> <settled 0/1> <button events>
//   <kind> <label> <enabled 0/1> <x> <y> <w> <h> <state>
// in window pixels from the top left. The state is the shown value: 0/1 for
// check boxes, radio buttons and rollouts (open), the number of a spinner,
// the text of a text field, "dir"/"file" for a browser entry, else empty.
// Settled means that the panel asks for no further frame; the count of mouse
// button and wheel events taken so far (a click is two) tells a test that
// its input has arrived, so it waits for both before it reads positions or
// results. Further lines in the same form:
//   dock <state> 1 0 0 <width> <height>     state "docked", "strip" or "open"
//   folder <folder> <enabled> <x> <y> <w> <h> <text shown in the folder field>
//   tooltip <text> 1 <x> <y> <w> <h>        the tooltip shown, if any
// and the lines the program adds (setPanelMapLines).
// Without the variable this does nothing.
void writePanelMap(const PanelWindow& window, const PanelFrameResult& frame, bool settled, unsigned long buttonEvents,
                   const char* dockState, int dockWidth, int windowHeight);

// Lines the program adds to every map, in the same form (the status line).
void setPanelMapLines(std::string (*lines)());
