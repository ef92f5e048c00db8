#include "panel/PanelContainers.h"

bool PanelRollout::userSetOpen(bool open) {
    if (!isEnabled()) {
        return false;
    }
    open_ = open;
    return true;
}
