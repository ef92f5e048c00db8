#pragma once

#include "panel/PanelControl.h"

// A check box bound to an int live variable holding 0 or 1.
class PanelCheckbox : public PanelControl {
public:
    PanelCheckbox(std::string label, int* live, int id);

    int get_int_val() const { return value_; }
    // Programmatic change: writes the live variable, no callback.
    void set_int_val(int value);

    // A click: toggles, writes the live variable and calls back. Refused
    // while disabled.
    bool userToggle();

protected:
    void readLive() override;

private:
    int* live_;
    int value_ = 0;
};
