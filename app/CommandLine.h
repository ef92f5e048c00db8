#pragma once

#include <map>
#include <string>
#include <vector>

// The parsed command line: pairs of a dash-prefixed name and a value.
class CommandLine {
public:
    bool has(const std::string& key) const { return options.count(key) != 0; }
    std::string value(const std::string& key) const;

    std::string programName = "Quillmere.exe";
    std::map<std::string, std::string> options;
    // Every value of an option that may be given more than once, in order
    // (options holds the last one).
    std::map<std::string, std::vector<std::string>> repeated;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

std::string trimLeft(const std::string& text, const std::string& characters);
std::string trimRight(const std::string& text, const std::string& characters);
std::string trim(const std::string& text, const std::string& characters);

extern CommandLine commandLine;
