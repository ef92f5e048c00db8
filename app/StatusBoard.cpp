#include "app/StatusBoard.h"

#include <algorithm>
#include <filesystem>

void StatusBoard::post(MessageKind kind, const std::string& text) {
    const StatusMessage message{kind, text};
    if (std::find(posted_.begin(), posted_.end(), message) == posted_.end()) posted_.push_back(message);
}

void StatusBoard::setPlacementMessages(std::vector<StatusMessage> messages) { placement_ = std::move(messages); }

void StatusBoard::clear() {
    posted_.clear();
    placement_.clear();
}

std::vector<StatusMessage> StatusBoard::messages() const {
    std::vector<StatusMessage> all = posted_;
    all.insert(all.end(), placement_.begin(), placement_.end());
    return all;
}

std::string shownPath(const std::string& name) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(name, error);
    return error ? name : absolute.lexically_normal().string();
}

std::vector<std::string> wrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& measure) {
    std::vector<std::string> lines;
    std::string rest = text;
    while (!rest.empty()) {
        if (measure(rest) <= width) {
            lines.push_back(rest);
            break;
        }
        // The longest head that fits, at least one character.
        std::size_t fits = 1;
        while (fits < rest.size() && measure(rest.substr(0, fits + 1)) <= width) ++fits;
        std::size_t cut = fits;
        const std::size_t blank = rest.rfind(' ', fits);
        if (blank != std::string::npos && blank > 0) cut = blank;
        lines.push_back(rest.substr(0, cut));
        rest.erase(0, cut);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
    }
    return lines;
}
