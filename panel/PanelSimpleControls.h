#pragma once

#include "panel/PanelControl.h"

// A push button; a click calls back with its id.
class PanelButton : public PanelControl {
public:
    PanelButton(std::string label, int id) : PanelControl(ControlKind::Button, std::move(label), id) {}
    // Refused while disabled.
    bool userPress();
};

// A line of text.
class PanelStaticText : public PanelControl {
public:
    explicit PanelStaticText(std::string text) : PanelControl(ControlKind::StaticText, std::move(text), noId) {}
};

// A horizontal rule.
class PanelSeparator : public PanelControl {
public:
    PanelSeparator() : PanelControl(ControlKind::Separator, std::string(), noId) {}
};
