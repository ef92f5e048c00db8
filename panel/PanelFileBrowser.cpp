#include "panel/PanelFileBrowser.h"

#include "panel/PanelWindow.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool isListedFile(const std::string& name) {
    const std::string::size_type dot = name.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension == "gri" || extension == "dat" || extension == "xml";
}

}  // namespace

PanelFileBrowser::PanelFileBrowser(std::string label, int id)
    : PanelControl(ControlKind::FileBrowser, std::move(label), id) {
    refresh();
}

void PanelFileBrowser::setShowAllFiles(bool all) {
    showAll_ = all;
    refresh();
}

void PanelFileBrowser::refresh() {
    std::vector<FileBrowserEntry> folders;
    std::vector<FileBrowserEntry> files;
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (!error && current.string() != folder_) {
        folder_ = current.string();
        ++folderChanges_;
    }
    fs::directory_iterator it(current, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') {
            continue;
        }
        std::error_code typeError;
        bool isDirectory = it->is_directory(typeError);
        if (!isDirectory && !showAll_ && !isListedFile(name)) {
            continue;
        }
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

bool PanelFileBrowser::enter(const std::string& path) {
    std::error_code error;
    fs::current_path(path, error);
    refresh();
    if (error && window() != nullptr) {
        window()->notify(true, "Cannot enter the folder " + path + ": " + error.message());
    }
    return !error;
}

bool PanelFileBrowser::userActivate(std::size_t index) {
    if (!isEnabled() || index >= entries_.size()) {
        return false;
    }
    FileBrowserEntry entry = entries_[index];
    if (entry.isDirectory) {
        return enter(entry.name);
    }
    file_ = entry.name;
    reportChange();
    return true;
}

bool PanelFileBrowser::userEnterPath(const std::string& text) {
    if (!isEnabled()) {
        return false;
    }
    std::string expanded = text;
    const char* home = std::getenv("HOME");
    if (home != nullptr && !text.empty() && text[0] == '~' && (text.size() == 1 || text[1] == '/')) {
        expanded = home + text.substr(1);
    }
    const fs::path path(expanded);
    std::error_code error;
    if (!expanded.empty() && fs::is_directory(path, error)) {
        return enter(expanded);
    }
    if (!expanded.empty() && fs::exists(path, error) && !fs::is_directory(path, error)) {
        if (path.has_parent_path() && !enter(path.parent_path().string())) {
            return false;
        }
        file_ = path.filename().string();
        reportChange();
        return true;
    }
    if (window() != nullptr) {
        window()->notify(true, "No such file or folder: " + text);
    }
    return false;
}
