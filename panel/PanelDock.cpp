#include "panel/PanelDock.h"

bool PanelDock::setOpen(bool open) {
    const int before = shownWidth();
    open_ = open;
    return shownWidth() != before;
}

bool PanelDock::pointerAt(int x, bool busy) {
    if (!collapsed()) {
        return setOpen(false);
    }
    if (!open_) {
        return x < stripWidth ? setOpen(true) : false;
    }
    return x >= panelWidth_ && !busy ? setOpen(false) : false;
}

bool PanelDock::pointerGone(bool busy) { return busy ? false : setOpen(false); }

bool PanelDock::pressAt(int x) { return collapsed() && x < stripWidth ? setOpen(true) : false; }
