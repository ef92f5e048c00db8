#include "panel/PanelWindow.h"

#include <algorithm>

PanelWindow::PanelWindow(ControlCallback callback, int width)
    : PanelControl(ControlKind::Window, std::string(), noId), callback_(callback), width_(width) {
    window_ = this;
}

ViewportArea PanelWindow::areaBesidePanel(int panelWidth, int windowWidth, int windowHeight) {
    ViewportArea area;
    area.x = std::min(panelWidth, std::max(windowWidth, 0));
    area.y = 0;
    area.w = std::max(windowWidth - panelWidth, 0);
    area.h = std::max(windowHeight, 0);
    return area;
}

void PanelWindow::report(int id) {
    if (callback_ != nullptr) {
        callback_(id);
    }
    refreshFileBrowsers();
}

void PanelWindow::refreshFileBrowsers() {
    for (PanelFileBrowser* browser : fileBrowsers_) {
        browser->refresh();
    }
}

void PanelWindow::notify(bool refused, const std::string& text) const {
    if (noticeHandler_ != nullptr) {
        noticeHandler_(refused, text);
    }
}

PanelGroup* PanelWindow::add_panel(const std::string& label, PanelStyle style) {
    return add_panel_to_panel(this, label, style);
}

PanelGroup* PanelWindow::add_panel_to_panel(PanelControl* parent, const std::string& label, PanelStyle style) {
    return parent->adopt(std::make_unique<PanelGroup>(label, style));
}

PanelRollout* PanelWindow::add_rollout(const std::string& label, bool open, PanelStyle style) {
    return adopt(std::make_unique<PanelRollout>(label, open, style));
}

PanelCheckbox* PanelWindow::add_checkbox_to_panel(PanelControl* parent, const std::string& label, int* live, int id) {
    return parent->adopt(std::make_unique<PanelCheckbox>(label, live, id));
}

PanelRadioGroup* PanelWindow::add_radiogroup_to_panel(PanelControl* parent, int* live, int id) {
    return parent->adopt(std::make_unique<PanelRadioGroup>(live, id));
}

PanelRadioButton* PanelWindow::add_radiobutton_to_group(PanelRadioGroup* group, const std::string& label) {
    return group->addButton(label);
}

PanelSpinner* PanelWindow::add_spinner_to_panel(PanelControl* parent, const std::string& label, int* live, int id) {
    return parent->adopt(std::make_unique<PanelSpinner>(label, live, id));
}

PanelSpinner* PanelWindow::add_spinner_to_panel(PanelControl* parent, const std::string& label, float* live, int id) {
    return parent->adopt(std::make_unique<PanelSpinner>(label, live, id));
}

PanelSeparator* PanelWindow::add_separator_to_panel(PanelControl* parent) {
    return parent->adopt(std::make_unique<PanelSeparator>());
}

PanelButton* PanelWindow::add_button_to_panel(PanelControl* parent, const std::string& label, int id) {
    return parent->adopt(std::make_unique<PanelButton>(label, id));
}

PanelStaticText* PanelWindow::add_statictext_to_panel(PanelControl* parent, const std::string& text) {
    return parent->adopt(std::make_unique<PanelStaticText>(text));
}

PanelEditText* PanelWindow::add_edittext_to_panel(PanelControl* parent, const std::string& label, int id) {
    return parent->adopt(std::make_unique<PanelEditText>(label, id));
}

PanelFileBrowser* PanelWindow::add_filebrowser_to_panel(PanelControl* parent, const std::string& label, int id) {
    PanelFileBrowser* browser = parent->adopt(std::make_unique<PanelFileBrowser>(label, id));
    fileBrowsers_.push_back(browser);
    return browser;
}

PanelButton* PanelWindow::add_button(const std::string& label, int id) { return add_button_to_panel(this, label, id); }

PanelSeparator* PanelWindow::add_separator() { return add_separator_to_panel(this); }

PanelStaticText* PanelWindow::add_statictext(const std::string& text) { return add_statictext_to_panel(this, text); }
