// The messages under the status line: what stays, what is replaced, how
// long lines are broken, and the notices of command-line settings.
#include "app/CommandLine.h"
#include "app/CommandLineSettings.h"
#include "app/StatusBoard.h"
#include "settings/LiveVariables.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
void ignore(int) {}

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quillmere");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

// Seven pixels a character, as a fixed-width font would measure.
int sevenEach(const std::string& text) { return 7 * static_cast<int>(text.size()); }
}  // namespace

TEST(StatusBoard, PostedMessagesAddUpOnceAndThePlacementsAreReplaced) {
    StatusBoard board;
    EXPECT_TRUE(board.empty());
    board.post(MessageKind::Info, "Screenshot saved to /a/Quillmere0000.png");
    board.setPlacementMessages({{MessageKind::Error, "Streamlines not placed: dsep must be a positive number"}});
    board.post(MessageKind::Warning, "Size: 500 is outside 0.1 .. 200, set to 200");
    board.post(MessageKind::Info, "Screenshot saved to /a/Quillmere0000.png");
    board.setPlacementMessages({{MessageKind::Warning, "dsep = 5 is larger than the domain"}});
    const std::vector<StatusMessage> expected = {{MessageKind::Info, "Screenshot saved to /a/Quillmere0000.png"},
                                                 {MessageKind::Warning, "Size: 500 is outside 0.1 .. 200, set to 200"},
                                                 {MessageKind::Warning, "dsep = 5 is larger than the domain"}};
    EXPECT_EQ(board.messages(), expected);
    board.clear();
    EXPECT_TRUE(board.empty());
    EXPECT_TRUE(board.messages().empty());
}

TEST(StatusBoard, LongTextsBreakAtBlanksAndLongPathsAnywhere) {
    // 10 characters to a line.
    EXPECT_EQ(wrapText("dsep = 5 is larger", 70, sevenEach), (std::vector<std::string>{"dsep = 5", "is larger"}));
    EXPECT_EQ(wrapText("to /tmp/abcdefghijklmno.png", 70, sevenEach),
              (std::vector<std::string>{"to", "/tmp/abcde", "fghijklmno", ".png"}));
    EXPECT_EQ(wrapText("short", 70, sevenEach), std::vector<std::string>{"short"});
    // Narrower than a character: one character a line, never an endless loop.
    EXPECT_EQ(wrapText("ab", 3, sevenEach), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(wrapText("", 70, sevenEach).empty());
}

TEST(StatusBoard, PathsAreShownAbsoluteAndPlain) {
    TempDir dir;
    const auto saved = std::filesystem::current_path();
    std::filesystem::create_directory(dir.file("data"));
    std::filesystem::current_path(dir.file("data"));
    const std::string root = std::filesystem::current_path().parent_path().string();
    EXPECT_EQ(shownPath("../shot.png"), root + "/shot.png");
    EXPECT_EQ(shownPath("./options.xml"), root + "/data/options.xml");
    EXPECT_EQ(shownPath("/x/./y/../z.xml"), "/x/z.xml");
    std::filesystem::current_path(saved);
}

TEST(StatusBoard, CommandLineSettingsReportRefusedAndClampedValues) {
    resetLiveVariables();
    std::vector<SettingNotice> notices;
    testing::internal::CaptureStderr();
    applyCommandLineSettings(
        parse({"-arrowSize", "500", "-seedPoints", "-3", "-dsep", "abc", "-dtest", "-1", "-arrowCountX", "12.4"}),
        ignore, &notices);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Ignoring -dsep: 'abc' is not a number\n");
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_FALSE(notices[0].refused);
    EXPECT_EQ(notices[0].text, "-arrowSize 500 is outside 0.1 .. 200: set to 200");
    EXPECT_FALSE(notices[1].refused);
    EXPECT_EQ(notices[1].text, "-seedPoints -3 is outside 0 .. 100: set to 0");
    EXPECT_TRUE(notices[2].refused);
    EXPECT_EQ(notices[2].text, "Ignoring -dsep: 'abc' is not a number");
    resetLiveVariables();
}
