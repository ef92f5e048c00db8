#include "app/Camera.h"
#include "app/CommandLine.h"
#include "app/ScreenshotName.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>
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

TEST(CameraInput, ZoomPanAndReset) {
    Camera c;
    c.mouse(0, 0, 100, 200);  // left press records the position
    c.motion(100, 300);
    c.motion(100, 300);
    EXPECT_FLOAT_EQ(c.zoom, 0.02f);
    c.mouse(2, 0, 5, 5);  // right press does not move the press point
    EXPECT_EQ(c.pressX, 100);
    c.motion(150, 250);
    EXPECT_FLOAT_EQ(c.translationX, 0.005f);
    EXPECT_FLOAT_EQ(c.translationY, 0.005f);
    EXPECT_FLOAT_EQ(c.zoom, 0.02f);
    c.mouse(0, 1, 0, 0);
    c.motion(500, 500);  // right alone: nothing
    EXPECT_FLOAT_EQ(c.translationX, 0.005f);
    c.reset();
    EXPECT_EQ(c.zoom, 0.0f);
    EXPECT_FALSE(c.rightDown);
    EXPECT_EQ(c.pressX, 0);
}

TEST(CameraProjection, AspectRulesAndFlip) {
    Camera c;
    c.translationX = 0.1f;
    c.translationY = 0.2f;
    Camera::OrthoBox wide = c.projectionBox(2.0f);
    EXPECT_FLOAT_EQ(wide.left, -1.4f - 0.1f);
    EXPECT_FLOAT_EQ(wide.right, 1.4f - 0.1f);
    EXPECT_FLOAT_EQ(wide.bottom, 0.2f - 0.7f);
    EXPECT_FLOAT_EQ(wide.top, 0.2f + 0.7f);
    EXPECT_EQ(wide.farPlane, 15.0);
    Camera::OrthoBox tall = c.projectionBox(0.5f);  // pan ignored when narrower than tall
    EXPECT_FLOAT_EQ(tall.left, -0.7f);
    EXPECT_FLOAT_EQ(tall.top, 1.4f);
    c.zoom = -1.0f;  // below -0.7 the view turns over
    Camera::OrthoBox flipped = c.projectionBox(0.5f);
    EXPECT_GT(flipped.left, flipped.right);
}

TEST(ScreenshotNaming, LowestFreeNumberFillsGaps) {
    const auto dir = std::filesystem::temp_directory_path() / ("qm_shot_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    EXPECT_EQ(nextScreenshotName(), "Quillmere0000.png");
    std::ofstream("Quillmere0000.png") << "x";
    EXPECT_EQ(nextScreenshotName(), "Quillmere0001.png");
    std::ofstream("Quillmere0002.png") << "x";
    EXPECT_EQ(nextScreenshotName(), "Quillmere0001.png");
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
}
