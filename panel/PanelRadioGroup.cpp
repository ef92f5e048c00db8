#include "panel/PanelRadioGroup.h"

PanelRadioGroup::PanelRadioGroup(int* live, int id)
    : PanelControl(ControlKind::RadioGroup, std::string(), id), live_(live) {
    readLive();
}

PanelRadioButton* PanelRadioGroup::addButton(std::string label) {
    int index = static_cast<int>(children().size());
    return adopt(std::make_unique<PanelRadioButton>(std::move(label), index));
}

PanelRadioButton* PanelRadioGroup::button(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= children().size()) {
        return nullptr;
    }
    return static_cast<PanelRadioButton*>(children()[static_cast<std::size_t>(index)].get());
}

void PanelRadioGroup::set_int_val(int value) {
    value_ = value;
    if (live_ != nullptr) {
        *live_ = value;
    }
}

bool PanelRadioGroup::userSelect(int index) {
    const PanelRadioButton* choice = button(index);
    if (!isEnabled() || choice == nullptr || !choice->isEnabled()) {
        return false;
    }
    if (index == value_) {
        return true;
    }
    set_int_val(index);
    reportChange();
    return true;
}

void PanelRadioGroup::readLive() {
    if (live_ != nullptr) {
        value_ = *live_;
    }
}
