// "-unitSpeed 1" on the viewer's command line: the setting goes through the
// control callback, which places the streamlines again with steps of
// length dt, as quillmere-trace --unit-speed does.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using Block = std::vector<std::string>;

// The value printed after `label` in a block, or -1.
long statistic(const Block& block, const std::string& label) {
    for (const std::string& l : block)
        if (l.rfind(label, 0) == 0) return std::stol(l.substr(label.size()));
    return -1;
}

// Lines placed: the scan reports each line it moves on to.
long linesPlaced(const Block& block) {
    long n = 1;
    for (const std::string& l : block)
        if (l.rfind("Take next streamline of the list", 0) == 0) ++n;
    return n;
}

class ViewerUnitSpeed : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Xvfb::shared().ok());
        prepareViewerDir(dir.path());
        // Peak speed 0.31: with the start values the lines break into fragments.
        slow = generateDataset(dir.path(), "slow",
                               {"--field", "gyre", "--nx", "129", "--ny", "65", "--x0", "0", "--x1", "8", "--y0", "0",
                                "--y1", "4", "--speed", "0.31", "--channels", "0"});
        ASSERT_TRUE(std::ifstream(slow).good());
    }

    std::vector<Block> viewer(const std::vector<std::string>& settings) {
        std::vector<std::string> args = {"-datafile", slow};
        args.insert(args.end(), settings.begin(), settings.end());
        args.insert(args.end(), {"-screenshot", dir.file("shot.png")});
        last = run(programPath("quillmere"), args, dir.path());
        EXPECT_EQ(last.code, 0) << last.err;
        return placementBlocks(last.out);
    }

    TempDir dir;
    RunResult last;
    std::string slow;
};

TEST_F(ViewerUnitSpeed, TheCommandLineSettingPlacesLongerLines) {
    const std::vector<Block> plain = viewer({});
    const std::vector<Block> unit = viewer({"-unitSpeed", "1"});
    const std::vector<Block> off = viewer({"-unitSpeed", "0"});
    ASSERT_EQ(plain.size(), 1u);  // the opener's placement
    ASSERT_EQ(unit.size(), 2u);   // and the one the setting asked for
    ASSERT_EQ(off.size(), 2u);

    // The opener places as always; unit speed off places the same again.
    EXPECT_EQ(unit[0], plain[0]);
    EXPECT_EQ(off[1], plain[0]);

    // Measured: 21 lines of 288 points (6048 points) against 15 lines, 18994 points.
    const std::string points = "Number of points in streamlines: ";
    EXPECT_LT(linesPlaced(unit[1]), linesPlaced(plain[0]));
    EXPECT_GT(statistic(unit[1], points), 2 * statistic(plain[0], points));
    EXPECT_EQ(statistic(unit[1], "Number of registrated points: "),
              statistic(unit[1], "Number of theoretical registrated points: "));
    EXPECT_EQ(statistic(unit[1], "Cached points: "),
              statistic(unit[1], "Number of points theoretically in streamlines: "));

    // The export tool with --unit-speed shows what the viewer shows.
    const RunResult exported =
        run(programPath("quillmere-trace"), {slow, "--unit-speed", "-o", dir.file("unit.csv")}, dir.path());
    ASSERT_EQ(exported.code, 0) << exported.err;
    const std::vector<Block> written = placementBlocks(exported.out);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], unit[1]);
}

TEST_F(ViewerUnitSpeed, AnOptionsFileTurnsItOnWithoutAnExtraPlacement) {
    // The saved start values, once as they are and once with unit speed on.
    const std::string golden = readFile(std::string(QM_SOURCE_DIR) + "/tests/golden/options_default.xml");
    const std::string off = "<unit_speed>0</unit_speed>";
    const std::size_t at = golden.find(off);
    ASSERT_NE(at, std::string::npos);
    std::string on = golden;
    on.replace(at, off.size(), "<unit_speed>1</unit_speed>");
    std::ofstream(dir.file("off.xml"), std::ios::binary) << golden;
    std::ofstream(dir.file("on.xml"), std::ios::binary) << on;
    // A file from before unit speed: without the key.
    std::string older = golden;
    older.erase(at, off.size());
    std::ofstream(dir.file("older.xml"), std::ios::binary) << older;

    const std::vector<Block> plain = viewer({"-options", dir.file("off.xml")});
    const std::vector<Block> loaded = viewer({"-options", dir.file("on.xml")});
    const std::vector<Block> before = viewer({"-options", dir.file("older.xml"), "-unitSpeed", "1"});
    EXPECT_EQ(last.err.find("kept the current values"), std::string::npos) << last.err;
    ASSERT_GT(plain.size(), 1u);
    EXPECT_EQ(loaded.size(), plain.size());
    EXPECT_EQ(plain.back(), plain.front());

    const RunResult exported =
        run(programPath("quillmere-trace"), {slow, "--unit-speed", "-o", dir.file("unit.csv")}, dir.path());
    ASSERT_EQ(exported.code, 0) << exported.err;
    const std::vector<Block> written = placementBlocks(exported.out);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(loaded.back(), written[0]);
    // The older file loads as off; the command line, applied after it, turns it on.
    ASSERT_EQ(before.size(), plain.size() + 1);
    EXPECT_EQ(before[before.size() - 2], plain.back());
    EXPECT_EQ(before.back(), written[0]);
}

}  // namespace
