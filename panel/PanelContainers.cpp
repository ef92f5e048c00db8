#include "panel/PanelContainers.h"

#include "panel/PanelWindow.h"

bool PanelRollout::userSetOpen(bool open) {
    if (!isEnabled()) {
        return false;
    }
    open_ = open;
    // A browser shown again lists what the folder holds now.
    if (open && window() != nullptr) {
        window()->refreshFileBrowsers();
    }
    return true;
}
