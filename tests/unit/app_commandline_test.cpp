#include "app/CommandLine.h"
#include "app/ScreenshotName.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {
CommandLine parse(std::vector<const char*> args) {
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}
}  // namespace

TEST(Trim, RemovesOnlyTheGivenCharactersAtTheEnds) {
    const std::string set = "\n\r\t ";
    EXPECT_EQ(trim(" \t-datafile\r\n", set), "-datafile");
    EXPECT_EQ(trim("a b", set), "a b");
    EXPECT_EQ(trimLeft("   ", set), "");
    EXPECT_EQ(trimRight("   ", set), "   ");  // nothing outside the set: unchanged
    EXPECT_EQ(trim("   ", set), "");
    EXPECT_EQ(trimLeft("xxabxx", "x"), "abxx");
    EXPECT_EQ(trimRight("xxabxx", "x"), "xxab");
}

TEST(CommandLineParse, DefaultsWithoutArguments) {
    CommandLine none = parseCommandLine(0, nullptr);
    EXPECT_EQ(none.programName, "Quillmere.exe");
    EXPECT_TRUE(none.options.empty());
    EXPECT_EQ(commandLine.programName, "Quillmere.exe");  // the global before main
    EXPECT_EQ(none.value("datafile"), "");
}

TEST(CommandLineParse, PairsAreTrimmedAndTheLastPairWins) {
    CommandLine cl = parse({"prog", " -datafile\t", "\nflow.gri ", "-datafile", "b.gri"});
    EXPECT_EQ(cl.programName, "prog");
    ASSERT_TRUE(cl.has("datafile"));
    EXPECT_EQ(cl.value("datafile"), "b.gri");
}

TEST(CommandLineParse, IgnoredArguments) {
    // Last option without a value, names without a dash, a lone dash.
    EXPECT_FALSE(parse({"p", "-datafile"}).has("datafile"));
    EXPECT_TRUE(parse({"p", "datafile", "flow.gri"}).options.empty());
    EXPECT_TRUE(parse({"p", "-", "x"}).options.empty());
    // Keys are case-sensitive.
    CommandLine cl = parse({"p", "-DataFile", "flow.gri"});
    EXPECT_TRUE(cl.has("DataFile"));
    EXPECT_FALSE(cl.has("datafile"));
}

TEST(CommandLineParse, ValueIsTakenWhateverItLooksLike) {
    CommandLine cl = parse({"p", "-a", "-b", "-c", "1"});
    EXPECT_EQ(cl.value("a"), "-b");
    EXPECT_EQ(cl.value("c"), "1");
    EXPECT_FALSE(cl.has("b"));
}

TEST(ScreenshotNaming, LowestFreeNumberFillsGaps) {
    const TempDir dir;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(nextScreenshotName(), "Quillmere0000.png");
    std::ofstream("Quillmere0000.png") << "x";
    EXPECT_EQ(nextScreenshotName(), "Quillmere0001.png");
    std::ofstream("Quillmere0002.png") << "x";
    EXPECT_EQ(nextScreenshotName(), "Quillmere0001.png");
    std::filesystem::current_path(old);
}
