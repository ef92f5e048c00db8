#include "app/CommandLine.h"

CommandLine commandLine;

namespace {
const std::string kBlanks = "\n\r\t ";
}

std::string CommandLine::value(const std::string& key) const {
    auto it = options.find(key);
    return it == options.end() ? std::string() : it->second;
}

std::string trimLeft(const std::string& text, const std::string& characters) {
    const auto first = text.find_first_not_of(characters);
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string trimRight(const std::string& text, const std::string& characters) {
    const auto last = text.find_last_not_of(characters);
    return last == std::string::npos ? text : text.substr(0, last + 1);
}

std::string trim(const std::string& text, const std::string& characters) {
    return trimRight(trimLeft(text, characters), characters);
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    if (argc > 0) result.programName = argv[0];
    for (int i = 1; i < argc; ++i) {
        const std::string a = trim(argv[i], kBlanks);
        if (a.size() > 1 && a[0] == '-') {
            const std::string key = trim(a.substr(1), kBlanks);
            if (i < argc - 1) {
                result.options[key] = trim(argv[i + 1], kBlanks);
                ++i;
            }
        }
    }
    return result;
}
