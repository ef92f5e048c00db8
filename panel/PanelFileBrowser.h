#pragma once

#include "panel/PanelControl.h"

#include <cstddef>

struct FileBrowserEntry {
    std::string name;
    bool isDirectory = false;
};

// Lists the process's current directory: the parent entry "..", then the
// folders, then the files, each sorted by name; hidden names (leading dot)
// are left out, and unless all files are shown, so are files other than
// grid, data and options files. Entering a folder changes the current
// directory, so later relative names are taken from there; picking a file
// keeps its name (relative to the current directory) for get_file and calls
// back.
class PanelFileBrowser : public PanelControl {
public:
    PanelFileBrowser(std::string label, int id);

    const std::vector<FileBrowserEntry>& entries() const { return entries_; }
    const std::string& get_file() const { return file_; }
    // The folder listed, as an absolute path.
    const std::string& folder() const { return folder_; }
    // Counts the times the list was read from another folder than before.
    unsigned folderChanges() const { return folderChanges_; }

    // Unless all files are shown, the browser lists grid (.gri), data (.dat)
    // and options (.xml) files only, the extension in any case.
    void setShowAllFiles(bool all);

    // Lists the current directory again.
    void refresh();

    // A click on entry `index`. Refused while disabled, for an index outside
    // the list, and for a folder that cannot be entered (the list is then
    // refreshed, since the folder may have gone).
    bool userActivate(std::size_t index);

    // A path typed into the folder field, absolute or relative to the current
    // directory, "~" standing for the home folder: a folder is entered, a
    // file is picked as if clicked in its folder (which is entered first).
    // Anything else is refused with a notice to the window.
    bool userEnterPath(const std::string& text);

private:
    bool enter(const std::string& path);

    std::vector<FileBrowserEntry> entries_;
    std::string file_;
    std::string folder_;
    unsigned folderChanges_ = 0;
    bool showAll_ = false;
};
