#include "panel/PanelCheckbox.h"

PanelCheckbox::PanelCheckbox(std::string label, int* live, int id)
    : PanelControl(ControlKind::Checkbox, std::move(label), id), live_(live) {
    readLive();
}

void PanelCheckbox::set_int_val(int value) {
    value_ = value != 0 ? 1 : 0;
    if (live_ != nullptr) {
        *live_ = value_;
    }
}

bool PanelCheckbox::userToggle() {
    if (!isEnabled()) {
        return false;
    }
    set_int_val(value_ != 0 ? 0 : 1);
    reportChange();
    return true;
}

void PanelCheckbox::readLive() {
    if (live_ != nullptr) {
        value_ = *live_;
    }
}
