#include "common/Usage.h"

#include <algorithm>
#include <sstream>

namespace {
constexpr std::size_t kLineWidth = 79;
constexpr std::size_t kIndent = 2;
// Terms longer than this put their meaning on the next line.
constexpr std::size_t kWidestTerm = 24;

// `text` broken into lines of at most `width` characters at blanks (a word
// longer than that keeps a line of its own).
std::vector<std::string> wrap(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}
}  // namespace

std::string formatHelp(const std::string& synopsis, const std::string& description,
                       const std::vector<UsageSection>& sections) {
    std::string text = synopsis + "\n";
    for (const std::string& line : wrap(description, kLineWidth))
        if (!line.empty()) text += line + "\n";
    for (const UsageSection& section : sections) {
        text += "\n";
        if (!section.title.empty()) text += section.title + "\n";
        std::size_t termWidth = 0;
        for (const UsageEntry& e : section.entries)
            if (e.term.size() <= kWidestTerm) termWidth = std::max(termWidth, e.term.size());
        const std::size_t column = kIndent + termWidth + 2;
        const std::string pad(column, ' ');
        for (const UsageEntry& e : section.entries) {
            std::string head = std::string(kIndent, ' ') + e.term;
            const std::vector<std::string> meaning = wrap(e.meaning, kLineWidth - column);
            if (head.size() + 2 > column) {
                text += head + "\n";
                head = pad;
            } else {
                head.resize(column, ' ');
            }
            for (std::size_t i = 0; i < meaning.size(); ++i) text += (i == 0 ? head : pad) + meaning[i] + "\n";
        }
    }
    return text;
}

std::string versionLine(const std::string& program) { return program + " " + QM_VERSION + "\n"; }

std::string usageError(const std::string& program, const std::string& problem, const std::string& synopsis) {
    return program + ": " + problem + "\n" + synopsis + "\nTry '" + program + " --help' for more information.\n";
}

bool isHelpOption(const std::string& argument) {
    return argument == "-h" || argument == "-help" || argument == "--help";
}

bool isVersionOption(const std::string& argument) { return argument == "-version" || argument == "--version"; }
