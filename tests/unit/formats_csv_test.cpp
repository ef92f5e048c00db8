// Tables from scripts: rows of a rectilinear grid in any order become our
// dataset with the same floats; tables that are not a grid are refused at
// their first offending line.
#include "data/FlowData.h"
#include "formats/CsvImporter.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string refusal(const std::string& text) {
    std::string error;
    EXPECT_EQ(CsvImporter::parse(text, "t.csv", error), nullptr);
    return error;
}

}  // namespace

TEST(CsvTable, RowsInAnyOrderGiveTheGridWithTheSameFloats) {
    // 3 x 2 nodes at x 0.1, 0.7, 2 and y -1, 1.5, velocity (x * 3.3, y / 7),
    // two named channels; written with nine digits, shuffled, CRLF ends, a
    // blank line and blanks around fields.
    const float xs[] = {0.1f, 0.7f, 2.0f}, ys[] = {-1.0f, 1.5f};
    const int order[] = {4, 0, 5, 2, 1, 3};
    std::string text = "x,y,u,v, \"temp\" ,salt\r\n";
    for (int k : order) {
        const float x = xs[k % 3], y = ys[k / 3];
        char line[200];
        std::snprintf(line, sizeof line, "%.9g, %.9g,%.9g,%.9g,%d,%s\r\n", x, y, x * 3.3f, y / 7.0f, k,
                      k == 2 ? "nan" : "+1e-3");
        text += line;
        if (k == 5) text += "\r\n";
    }
    TempDir dir;
    std::ofstream(dir.file("t.csv"), std::ios::binary) << text;
    std::string error;
    auto table = CsvImporter::open(dir.file("t.csv"), error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->xs, (std::vector<float>{0.1f, 0.7f, 2.0f}));
    EXPECT_EQ(table->ys, (std::vector<float>{-1.0f, 1.5f}));
    EXPECT_EQ(table->channelNames, (std::vector<std::string>{"temp", "salt"}));

    ConsoleCapture console;
    ASSERT_TRUE(writeImported(*table, dir.file("out"), error)) << error;
    FlowData data(nullptr);
    ASSERT_TRUE(data.load(dir.file("out.gri"), false));
    EXPECT_EQ(data.channelNames(), table->channelNames);
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        const float x = xs[k % 3], y = ys[k / 3];
        EXPECT_EQ(data.grid().nodeX(k), x);
        EXPECT_EQ(data.grid().nodeY(k), y);
        EXPECT_EQ(data.channel(0)->valueAt(k), x * 3.3f);
        EXPECT_EQ(data.channel(1)->valueAt(k), y / 7.0f);
        EXPECT_EQ(data.channel(2)->valueAt(k), 0.0f);
        EXPECT_EQ(data.channel(3)->valueAt(k), static_cast<float>(k));
        if (k == 2) EXPECT_TRUE(std::isnan(data.channel(4)->valueAt(k)));
        else EXPECT_EQ(data.channel(4)->valueAt(k), 1e-3f);
    }
}

TEST(CsvTable, TablesThatAreNotAGridNameTheirFirstOffendingLine) {
    const std::string head = "x,y,u,v\n";
    EXPECT_EQ(refusal(head + "0,0,1,1\n0,1,1,1\n1,0,1\n1,1,1,1,1\n"), "line 4: 3 fields, the header has 4");
    EXPECT_EQ(refusal(head + "0,0,1,1\n0,1,1,1\n1,0,1,fast\n1,1,x,1\n"), "line 4: 'fast' in column v is not a number");
    EXPECT_EQ(refusal(head + "0,0,1,1\n0,1,1,1\n1,0,1,\n"), "line 4: '' in column v is not a number");
    EXPECT_EQ(refusal(head + "0,0,1,1\nnan,1,1,1\n"), "line 3: the coordinate x is not a finite number");
    EXPECT_EQ(refusal(head + "0,0,1,1\n1,1,1,1\n0,1,2,2\n1,1,3,3\n1,0,4,4\n0,0,5,5\n"),
              "line 5: the point (1, 1) was given before, on line 3");
    EXPECT_EQ(refusal(head + "0,0,1,1\n2,1,1,1\n0,1,1,1\n1,0,1,1\n2,0,1,1\n"),
              "no row for the node (1, 1): 3 x values and 2 y values need 6 rows, the table has 5");
    EXPECT_EQ(refusal("0,0,1,1\n1,1,1,1\n"), "line 1: the table needs a header row (x, y, u, v, ...)");
    EXPECT_EQ(refusal("x,y,u\n"), "line 1: the header has 3 columns; a table needs x, y, u and v");
    EXPECT_EQ(refusal(head + "0,0,1,1\n0,1,1,1\n"),
              "the table has 1 x value(s) and 2 y value(s); a grid needs at least 2 of each");
}
