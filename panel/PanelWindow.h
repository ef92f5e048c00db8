#pragma once

#include "panel/PanelCheckbox.h"
#include "panel/PanelContainers.h"
#include "panel/PanelControl.h"
#include "panel/PanelEditText.h"
#include "panel/PanelFileBrowser.h"
#include "panel/PanelRadioGroup.h"
#include "panel/PanelSimpleControls.h"
#include "panel/PanelSpinner.h"

using ControlCallback = void (*)(int);
// Receives what a control refused (`refused`: a path that does not exist,
// text that is not a number) or changed on its own (a clamped value), for
// the program to show.
using NoticeHandler = void (*)(bool refused, const std::string& text);

// The part of the main window left to the graphics, in window pixels with
// the origin at the lower left as the GL viewport takes it.
struct ViewportArea {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// The root of the control tree: a panel of fixed width docked on the left
// edge of the main window at full height. It holds the one callback that
// every control with an id reports to.
class PanelWindow : public PanelControl {
public:
    static constexpr int defaultWidth = 240;

    explicit PanelWindow(ControlCallback callback, int width = defaultWidth);

    int width() const { return width_; }
    ViewportArea viewportArea(int windowWidth, int windowHeight) const {
        return areaBesidePanel(width_, windowWidth, windowHeight);
    }
    static ViewportArea areaBesidePanel(int panelWidth, int windowWidth, int windowHeight);

    // Calls back with `id`, then lists the file browsers' folders again,
    // since a callback may have written files (screenshots, options).
    void report(int id);
    void refreshFileBrowsers();

    void setNoticeHandler(NoticeHandler handler) { noticeHandler_ = handler; }
    // Hands a notice to the notice handler; nothing without one.
    void notify(bool refused, const std::string& text) const;

    PanelGroup* add_panel(const std::string& label, PanelStyle style);
    PanelGroup* add_panel_to_panel(PanelControl* parent, const std::string& label, PanelStyle style);
    PanelRollout* add_rollout(const std::string& label, bool open, PanelStyle style);
    PanelCheckbox* add_checkbox_to_panel(PanelControl* parent, const std::string& label, int* live, int id);
    PanelRadioGroup* add_radiogroup_to_panel(PanelControl* parent, int* live, int id);
    PanelRadioButton* add_radiobutton_to_group(PanelRadioGroup* group, const std::string& label);
    PanelSpinner* add_spinner_to_panel(PanelControl* parent, const std::string& label, int* live, int id);
    PanelSpinner* add_spinner_to_panel(PanelControl* parent, const std::string& label, float* live, int id);
    PanelSeparator* add_separator_to_panel(PanelControl* parent);
    PanelButton* add_button_to_panel(PanelControl* parent, const std::string& label, int id);
    PanelStaticText* add_statictext_to_panel(PanelControl* parent, const std::string& text);
    PanelEditText* add_edittext_to_panel(PanelControl* parent, const std::string& label, int id);
    PanelFileBrowser* add_filebrowser_to_panel(PanelControl* parent, const std::string& label, int id);
    PanelButton* add_button(const std::string& label, int id);
    PanelSeparator* add_separator();
    PanelStaticText* add_statictext(const std::string& text);

private:
    ControlCallback callback_;
    NoticeHandler noticeHandler_ = nullptr;
    int width_;
    std::vector<PanelFileBrowser*> fileBrowsers_;
};
