#pragma once

#include <string>
#include <vector>

// What every program prints for --help and --version, and how it answers an
// option it does not know, so that all of them look and behave alike.

struct UsageEntry {
    std::string term;  // "--nx N", "-dsep VALUE", "uniform"
    std::string meaning;
};

struct UsageSection {
    std::string title;  // "Options:"; empty for none
    std::vector<UsageEntry> entries;
};

// The help text: the synopsis ("Usage: ..."), the description, then each
// section with its title and its entries in two columns, meanings wrapped at
// 79 columns, as the description is.
std::string formatHelp(const std::string& synopsis, const std::string& description,
                       const std::vector<UsageSection>& sections);

// "<program> <version>\n", the version being the CMake project's.
std::string versionLine(const std::string& program);

// "<program>: <problem>\n<synopsis>\nTry '<program> --help' for more information.\n"
std::string usageError(const std::string& program, const std::string& problem, const std::string& synopsis);

// -h, -help, --help
bool isHelpOption(const std::string& argument);
// -version, --version
bool isVersionOption(const std::string& argument);
