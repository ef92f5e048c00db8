#pragma once

#include "app/CommandLine.h"

#include <set>
#include <string>
#include <vector>

// The viewer's command line: its own options (below), every setting of the
// settings table under its name, -h/--help and --version. Options are
// written with one dash or two (-dsep, --dsep), the value follows as the next
// argument or after "=" (--dsep=0.3); blanks around both are trimmed and the
// last of a repeated option wins, as for -datafile always.
//
// An option's value is never another known option: "-v -screenshot a.png"
// ignores -v and takes the screenshot, and "-screenshot -datafile f.gri"
// reports the missing file name instead of saving a picture named
// "-datafile". An unknown option is reported and ignored together with its
// value, if it has one. Arguments without a dash are ignored.

struct ViewerOption {
    const char* name;
    const char* value;  // what the value is, for the help
    const char* meaning;
    bool repeatable = false;  // every value is kept (CommandLine::repeated)
};

// The options that are not settings: -datafile, -options, -screenshot, ...
const std::vector<ViewerOption>& viewerOptions();

struct ViewerArguments {
    CommandLine line;  // every known option that has a value, without its dashes
    bool help = false;
    bool version = false;
    // Known options that were given, with or without a usable value.
    std::set<std::string> given;
    // One line each, in the order met: "Ignoring unknown option -v",
    // "Missing value for option -screenshot".
    std::vector<std::string> problems;
};

ViewerArguments readViewerArguments(int argc, const char* const* argv);

// "Missing value for option -NAME"
std::string missingValue(const std::string& name);

// The --help text, settings included.
std::string viewerHelp();
