#pragma once

#include "panel/PanelControl.h"

#include <cstddef>

struct FileBrowserEntry {
    std::string name;
    bool isDirectory = false;
};

// Lists the process's current directory: the parent entry "..", then the
// folders, then the files, each sorted by name; hidden names (leading dot)
// are left out. Entering a folder changes the current directory, so later
// relative names are taken from there; picking a file keeps its name
// (relative to the current directory) for get_file and calls back.
class PanelFileBrowser : public PanelControl {
public:
    PanelFileBrowser(std::string label, int id);

    const std::vector<FileBrowserEntry>& entries() const { return entries_; }
    const std::string& get_file() const { return file_; }

    // Lists the current directory again.
    void refresh();

    // A click on entry `index`. Refused while disabled, for an index outside
    // the list, and for a folder that cannot be entered (the list is then
    // refreshed, since the folder may have gone).
    bool userActivate(std::size_t index);

private:
    std::vector<FileBrowserEntry> entries_;
    std::string file_;
};
