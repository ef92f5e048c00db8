#include "panel/PanelFileBrowser.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

PanelFileBrowser::PanelFileBrowser(std::string label, int id)
    : PanelControl(ControlKind::FileBrowser, std::move(label), id) {
    refresh();
}

void PanelFileBrowser::refresh() {
    std::vector<FileBrowserEntry> folders;
    std::vector<FileBrowserEntry> files;
    std::error_code error;
    fs::directory_iterator it(fs::current_path(error), fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') {
            continue;
        }
        std::error_code typeError;
        bool isDirectory = it->is_directory(typeError);
        (isDirectory ? folders : files).push_back({name, isDirectory});
    }
    auto byName = [](const FileBrowserEntry& a, const FileBrowserEntry& b) { return a.name < b.name; };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);

    entries_.clear();
    entries_.push_back({"..", true});
    entries_.insert(entries_.end(), folders.begin(), folders.end());
    entries_.insert(entries_.end(), files.begin(), files.end());
}

bool PanelFileBrowser::userActivate(std::size_t index) {
    if (!isEnabled() || index >= entries_.size()) {
        return false;
    }
    FileBrowserEntry entry = entries_[index];
    if (entry.isDirectory) {
        std::error_code error;
        fs::current_path(entry.name, error);
        refresh();
        return !error;
    }
    file_ = entry.name;
    reportChange();
    return true;
}
