#include "data/ChannelNames.h"

#include "common/ConsoleLog.h"

#include <fstream>
#include <ostream>

std::string channelNamesPath(const std::string& base) { return base + ".names"; }

std::vector<std::string> readChannelNames(const std::string& path, int channelCount) {
    std::ifstream file(path);
    if (!file) return {};
    std::vector<std::string> names;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        names.push_back(line);
    }
    if (static_cast<int>(names.size()) != channelCount) {
        consoleErr() << "Ignoring " << path << ": " << names.size() << " names for " << channelCount << " data channels\n";
        return {};
    }
    return names;
}

bool writeChannelNames(const std::string& path, const std::vector<std::string>& names) {
    std::ofstream file(path, std::ios::trunc);
    file << "# data channel names, one per line in channel order\n";
    for (std::string name : names) {
        for (char& c : name)
            if (c == '\n' || c == '\r') c = ' ';
        // A name that would read as a comment or an empty line keeps its place.
        if (name.empty() || name[0] == '#') name = "_" + name;
        file << name << "\n";
    }
    file.close();
    return static_cast<bool>(file);
}
