// How the viewer reads its command line: spellings, unknown options, missing
// values, help and version, and the help text generated from the settings.

#include "app/ViewerArguments.h"
#include "settings/Settings.h"
#include "tf/ColorMaps.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Options = std::map<std::string, std::string>;
using Lines = std::vector<std::string>;

ViewerArguments read(std::vector<const char*> args) {
    args.insert(args.begin(), "quillmere");
    return readViewerArguments(static_cast<int>(args.size()), args.data());
}

// Blanks and line breaks collapsed to one blank, so wrapped text reads as one line.
std::string flattened(const std::string& text) {
    std::istringstream words(text);
    std::string word, flat;
    while (words >> word) flat += (flat.empty() ? "" : " ") + word;
    return flat;
}

TEST(ViewerArguments, OneOrTwoDashesAndAnEqualsSignSpellTheSameOption) {
    const ViewerArguments a = read({"--datafile", "a.gri", "-dsep=0.3", "--screenshot= out.png ", "-seedPoints", "7"});
    EXPECT_EQ(a.line.options,
              (Options{{"datafile", "a.gri"}, {"dsep", "0.3"}, {"screenshot", "out.png"}, {"seedPoints", "7"}}));
    EXPECT_TRUE(a.problems.empty());
    EXPECT_FALSE(a.help || a.version);
}

TEST(ViewerArguments, TheBaselinePairsStayAsTheyWere) {
    // Trimmed, the last pair wins, words without a dash and a lone dash are ignored.
    const ViewerArguments a =
        read({" -datafile\t", "\nflow.gri ", "-datafile", "b.gri", "datafile", "x.gri", "-", "y"});
    EXPECT_EQ(a.line.options, (Options{{"datafile", "b.gri"}}));
    EXPECT_TRUE(a.problems.empty());
    // A value that is not a known option is taken whatever it looks like.
    EXPECT_EQ(read({"-arrowSize", "-5"}).line.value("arrowSize"), "-5");
}

TEST(ViewerArguments, AnUnknownOptionIsReportedAndNeverSwallowsAKnownOne) {
    const ViewerArguments a = read({"-v", "-screenshot", "out.png", "--frobnicate", "7", "-DataFile", "f.gri",
                                    "--colour=red", "-datafile", "g.gri"});
    EXPECT_EQ(a.line.options, (Options{{"screenshot", "out.png"}, {"datafile", "g.gri"}}));
    EXPECT_EQ(a.problems, (Lines{"Ignoring unknown option -v", "Ignoring unknown option --frobnicate",
                                 "Ignoring unknown option -DataFile", "Ignoring unknown option --colour=red"}));
}

TEST(ViewerArguments, AMissingOrEmptyValueIsReportedByName) {
    const ViewerArguments a = read({"-screenshot", " ", "-datafile", "-dsep", "0.2", "--options="});
    EXPECT_EQ(a.line.options, (Options{{"dsep", "0.2"}}));
    EXPECT_EQ(a.problems, (Lines{"Missing value for option -screenshot", "Missing value for option -datafile",
                                 "Missing value for option -options"}));
    EXPECT_EQ(a.given, (std::set<std::string>{"datafile", "dsep", "options", "screenshot"}));
    // Nor is the option at the end left without a word.
    EXPECT_EQ(read({"-datafile", "f.gri", "-screenshot"}).problems, Lines{"Missing value for option -screenshot"});
}

TEST(ViewerArguments, EveryColourMapGivenIsKeptInOrderAndTheHelpNamesTheMaps) {
    const ViewerArguments a = read({"-colormap", "velocity=viridis", "--colormap=2=magma", "-colormap", "arrow=grey"});
    EXPECT_EQ(a.line.repeated.at("colormap"), (Lines{"velocity=viridis", "2=magma", "arrow=grey"}));
    EXPECT_EQ(a.line.value("colormap"), "arrow=grey");
    EXPECT_TRUE(a.problems.empty());
    EXPECT_TRUE(read({"-dsep", "0.1", "-dsep", "0.2"}).line.repeated.empty());
    const std::string help = flattened(viewerHelp());
    for (const ColorMap& map : colorMaps()) EXPECT_NE(help.find(map.name), std::string::npos) << map.name;
}

TEST(ViewerArguments, HelpAndVersionAreFlagsAndNeverValues) {
    EXPECT_TRUE(read({"-h"}).help);
    EXPECT_TRUE(read({"--help"}).help);
    EXPECT_TRUE(read({"-datafile", "f.gri", "--version"}).version);
    const ViewerArguments a = read({"-datafile", "--help"});
    EXPECT_TRUE(a.help);
    EXPECT_EQ(a.problems, Lines{"Missing value for option -datafile"});
}

TEST(ViewerArguments, TheHelpListsEveryOptionAndEverySettingWithItsMeaningAndLimits) {
    const std::string help = viewerHelp();
    EXPECT_EQ(help.rfind("Usage: quillmere ", 0), 0u);
    std::istringstream text(help);
    for (std::string line; std::getline(text, line);) EXPECT_LE(line.size(), 79u) << line;
    const std::string flat = flattened(help);
    for (const ViewerOption& o : viewerOptions())
        EXPECT_NE(flat.find(flattened(std::string("-") + o.name + " " + o.value + " " + o.meaning)), std::string::npos)
            << o.name;
    for (const Setting& s : settings()) {
        std::ostringstream entry;
        entry << "-" << s.name << (s.intValue ? " N " : " X ") << s.meaning << " [";
        if (s.limited) entry << s.low << " .. " << s.high << ", ";
        entry << "start " << s.start << "]";
        EXPECT_NE(flat.find(flattened(entry.str())), std::string::npos) << entry.str();
    }
    for (const char* term : {"-h, --help", "--version", "Exit status:"})
        EXPECT_NE(help.find(term), std::string::npos) << term;
}

}  // namespace
