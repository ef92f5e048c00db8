#pragma once

#include "panel/PanelControl.h"

// Frame drawn around a panel or rollout.
enum class PanelStyle { None = 0, Embossed = 1, Raised = 2 };

// A titled box that groups controls; always expanded.
class PanelGroup : public PanelControl {
public:
    PanelGroup(std::string label, PanelStyle style)
        : PanelControl(ControlKind::Panel, std::move(label), noId), style_(style) {}
    PanelStyle style() const { return style_; }

private:
    PanelStyle style_;
};

// A collapsible section. While it is closed its children are neither drawn
// nor reached by enable/disable of it or its ancestors.
class PanelRollout : public PanelControl {
public:
    PanelRollout(std::string label, bool open, PanelStyle style)
        : PanelControl(ControlKind::Rollout, std::move(label), noId), open_(open), style_(style) {}

    bool isExpanded() const override { return open_; }
    bool isOpen() const { return open_; }
    PanelStyle style() const { return style_; }

    void open() { open_ = true; }
    void close() { open_ = false; }

    // A click on the header; refused while the rollout is disabled. Opening
    // lists the file browsers' folders again.
    bool userSetOpen(bool open);

private:
    bool open_;
    PanelStyle style_;
};
