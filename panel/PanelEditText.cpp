#include "panel/PanelEditText.h"

bool PanelEditText::userEdit(std::string text) {
    if (!isEnabled()) {
        return false;
    }
    text_ = std::move(text);
    return true;
}

bool PanelEditText::userCommit() {
    if (!isEnabled()) {
        return false;
    }
    reportChange();
    return true;
}
