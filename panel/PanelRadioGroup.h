#pragma once

#include "panel/PanelControl.h"

#include <cstddef>

// One choice of a radio group; its value is its position in the group.
class PanelRadioButton : public PanelControl {
public:
    PanelRadioButton(std::string label, int index)
        : PanelControl(ControlKind::RadioButton, std::move(label), noId), index_(index) {}
    int index() const { return index_; }

private:
    int index_;
};

// A set of radio buttons bound to one int live variable. The group carries
// the id; the buttons are its children, so enabling or disabling the group
// reaches all of them.
class PanelRadioGroup : public PanelControl {
public:
    PanelRadioGroup(int* live, int id);

    PanelRadioButton* addButton(std::string label);
    PanelRadioButton* button(int index) const;
    std::size_t buttonCount() const { return children().size(); }

    int get_int_val() const { return value_; }
    // Programmatic selection: writes the live variable, no callback.
    void set_int_val(int value);

    // A click on button `index`: selects it, writes the live variable and
    // calls back when the selection changes. Refused while the group or the
    // button is disabled.
    bool userSelect(int index);

protected:
    void readLive() override;

private:
    int* live_;
    int value_ = 0;
};
