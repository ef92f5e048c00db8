#include "panel/PanelSimpleControls.h"

bool PanelButton::userPress() {
    if (!isEnabled()) {
        return false;
    }
    reportChange();
    return true;
}
