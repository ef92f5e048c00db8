#include "app/RuntimeFiles.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::vector<std::string> runtimeFolders() {
    std::vector<std::string> folders = {""};
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return folders;
    const fs::path bin = executable.parent_path();
    for (const fs::path& folder : {bin, (bin / QM_SHARE_FROM_BIN).lexically_normal()}) {
        std::string name = folder.string();
        if (name.empty() || name.back() != '/') name += '/';
        folders.push_back(name);
    }
    return folders;
}

FoundFiles findRuntimeFiles(const std::vector<std::string>& folders, const std::vector<std::string>& files) {
    for (const std::string& folder : folders) {
        bool all = true;
        for (const std::string& file : files) {
            std::error_code ec;
            all = all && fs::is_regular_file(folder + file, ec);
        }
        if (all) return {true, folder};
    }
    return {};
}

std::string lookedFor(const std::vector<std::string>& folders, const std::vector<std::string>& files) {
    std::string text = "Looked for ";
    for (std::size_t i = 0; i < files.size(); ++i) text += (i == 0 ? "" : " and ") + files[i];
    text += " in ";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        std::error_code ec;
        std::string shown = folders[i].empty() ? fs::current_path(ec).string() : folders[i];
        if (shown.size() > 1 && shown.back() == '/') shown.pop_back();
        text += (i == 0 ? "" : ", ") + shown;
    }
    return text;
}
