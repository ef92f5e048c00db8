#include "panel/PanelMouseRouter.h"

bool PanelMouseRouter::mouse(int button, int state, int x) {
    if (button < 0 || button > 2) {
        return overPanel(x);  // the wheel and extra buttons: no drag to follow
    }
    unsigned bit = 1u << button;
    if (state == 0) {
        if (overPanel(x)) {
            panelButtons_ |= bit;
            return true;
        }
        viewButtons_ |= bit;
        return false;
    }
    if (panelButtons_ & bit) {
        panelButtons_ &= ~bit;
        return true;
    }
    if (viewButtons_ & bit) {
        viewButtons_ &= ~bit;
        return false;
    }
    return overPanel(x);
}

bool PanelMouseRouter::motion(int x) const {
    if (panelButtons_ != 0) {
        return true;
    }
    if (viewButtons_ != 0) {
        return false;
    }
    return overPanel(x);
}
