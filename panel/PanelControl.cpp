#include "panel/PanelControl.h"

#include "panel/PanelWindow.h"

PanelControl::PanelControl(ControlKind kind, std::string label, int id)
    : kind_(kind), label_(std::move(label)), id_(id) {}

PanelControl::~PanelControl() = default;

void PanelControl::enable() { setEnabled(true); }

void PanelControl::disable() { setEnabled(false); }

void PanelControl::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!isExpanded()) {
        return;
    }
    for (auto& child : children_) {
        child->setEnabled(enabled);
    }
}

void PanelControl::sync_live() {
    readLive();
    for (auto& child : children_) {
        child->sync_live();
    }
}

void PanelControl::reportChange() const {
    if (id_ != noId && window_ != nullptr) {
        window_->report(id_);
    }
}

void PanelControl::attach(std::unique_ptr<PanelControl> child) {
    child->parent_ = this;
    child->setWindow(window_);
    children_.push_back(std::move(child));
}

void PanelControl::setWindow(PanelWindow* window) {
    window_ = window;
    for (auto& child : children_) {
        child->setWindow(window);
    }
}

const char* controlKindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Window: return "window";
    case ControlKind::Panel: return "panel";
    case ControlKind::Rollout: return "rollout";
    case ControlKind::Checkbox: return "checkbox";
    case ControlKind::RadioGroup: return "radiogroup";
    case ControlKind::RadioButton: return "radio";
    case ControlKind::Spinner: return "spinner";
    case ControlKind::Button: return "button";
    case ControlKind::StaticText: return "text";
    case ControlKind::Separator: return "separator";
    case ControlKind::EditText: return "edittext";
    case ControlKind::FileBrowser: return "filebrowser";
    }
    return "?";
}
