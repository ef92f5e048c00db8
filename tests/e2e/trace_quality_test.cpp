// quillmere-trace --unit-speed and --stats, and the line-end reasons in the
// CSV and VTK files.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

std::vector<std::string> fields(const std::string& line, char separator) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, separator);) out.push_back(f);
    return out;
}

// The quality block that --stats prints.
struct Stats {
    int lines = -1;
    double meanDsep = -1.0;
    int shortLines = -1;
    double coverage = -1.0;
    std::map<std::string, int> ends;
};

Stats parseStats(const std::string& out) {
    Stats s;
    const std::vector<std::string> lines = linesOf(out);
    std::size_t k = 0;
    while (k < lines.size() && lines[k] != "Placement quality:") ++k;
    if (k + 6 >= lines.size()) return s;
    std::sscanf(lines[k + 1].c_str(), "Lines: %d", &s.lines);
    double world = 0.0;
    std::sscanf(lines[k + 3].c_str(), "Mean length: %lf (%lf dsep)", &world, &s.meanDsep);
    std::sscanf(lines[k + 4].c_str(), "Lines shorter than 2 dsep: %d", &s.shortLines);
    std::sscanf(lines[k + 5].c_str(), "Coverage within dsep: %lf %%", &s.coverage);
    const std::string prefix = "Line ends: ";
    if (lines[k + 6].rfind(prefix, 0) == 0) {
        for (const std::string& item : fields(lines[k + 6].substr(prefix.size()), ',')) {
            std::istringstream in(item);
            std::string name;
            int count = -1;
            in >> name >> count;
            s.ends[name] = count;
        }
    }
    return s;
}

class TraceQualityTest : public testing::Test {
protected:
    void SetUp() override {
        // The double gyre with peak speed 0.31: under the default dt and dsep
        // its lines break into fragments.
        slow = generateDataset(dir.path(), "slow",
                               {"--field", "gyre", "--nx", "129", "--ny", "65", "--x0", "0", "--x1", "8", "--y0", "0",
                                "--y1", "4", "--speed", "0.31", "--channels", "0"});
        ASSERT_TRUE(std::ifstream(slow).good()) << "quillmere-flowgen did not write " << slow;
    }

    RunResult trace(std::vector<std::string> args) { return run(programPath("quillmere-trace"), args, dir.path()); }

    TempDir dir;
    std::string slow;
};

TEST_F(TraceQualityTest, StatsFollowThePlacementAndUnitSpeedMendsASlowField) {
    const RunResult plain = trace({slow, "-o", dir.file("plain.csv")});
    const RunResult byDefault = trace({slow, "--stats", "-o", dir.file("default.csv")});
    const RunResult unit = trace({slow, "--stats", "--unit-speed", "-o", dir.file("unit.csv")});
    for (const RunResult* r : {&plain, &byDefault, &unit}) ASSERT_EQ(r->code, 0) << r->err;

    // The placement's own lines come first, unchanged; the figures follow them.
    const std::string report = "This could be a short amount of time!\nPlacement quality:\n";
    EXPECT_EQ(plain.out.find("Placement quality:"), std::string::npos);
    ASSERT_NE(byDefault.out.find(report), std::string::npos) << byDefault.out;
    EXPECT_EQ(byDefault.out.substr(0, byDefault.out.find("Placement quality:")),
              plain.out.substr(0, plain.out.find("Deleting channel")));
    EXPECT_EQ(readFile(dir.file("default.csv")), readFile(dir.file("plain.csv")));

    const Stats d = parseStats(byDefault.out);
    const Stats u = parseStats(unit.out);
    ASSERT_GT(d.lines, 0);
    ASSERT_GT(u.lines, 0);
    // Measured: 21 fragments of 0.71 dsep covering 26 % of the box against
    // 15 lines of 15.8 dsep covering all of it.
    EXPECT_LT(d.meanDsep, 1.0);
    EXPECT_GT(u.meanDsep, 10.0 * d.meanDsep);
    EXPECT_EQ(d.shortLines, d.lines);
    EXPECT_EQ(u.shortLines, 0);
    EXPECT_LT(d.coverage, 30.0);
    EXPECT_GT(u.coverage, 99.0);
    for (const Stats* s : {&d, &u}) {
        int total = 0;
        for (const auto& [name, count] : s->ends) total += count;
        EXPECT_EQ(total, 2 * s->lines);
        EXPECT_EQ(s->ends.size(), 6u);
    }
    EXPECT_EQ(d.ends.at("too_close"), 2 * d.lines);  // every fragment stops on a trail

    // The CSV rows of each line carry its two reasons; their counts are the
    // figures printed.
    const std::vector<std::string> rows = linesOf(readFile(dir.file("unit.csv")));
    ASSERT_GT(rows.size(), 1u);
    EXPECT_EQ(rows[0], "line,point,x,y,step,start_reason,end_reason");
    std::map<std::string, std::pair<std::string, std::string>> reasons;
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const std::vector<std::string> f = fields(rows[k], ',');
        ASSERT_EQ(f.size(), 7u) << rows[k];
        auto [it, fresh] = reasons.emplace(f[0], std::make_pair(f[5], f[6]));
        if (!fresh) {
            ASSERT_EQ(it->second, std::make_pair(f[5], f[6])) << rows[k];
        }
    }
    EXPECT_EQ(static_cast<int>(reasons.size()), u.lines);
    std::map<std::string, int> counted;
    for (const auto& [line, ends] : reasons) {
        ++counted[ends.first];
        ++counted[ends.second];
    }
    for (const auto& [name, count] : u.ends) EXPECT_EQ(counted[name], count) << name;
}

TEST_F(TraceQualityTest, VtkCellDataHoldsTheReasonCodesNamedInTheHeader) {
    ASSERT_EQ(trace({slow, "--unit-speed", "--rk2", "-o", dir.file("lines.csv")}).code, 0);
    ASSERT_EQ(trace({slow, "--unit-speed", "--rk2", "-o", dir.file("lines.vtk")}).code, 0);
    const std::vector<std::string> vtk = linesOf(readFile(dir.file("lines.vtk")));
    ASSERT_GT(vtk.size(), 4u);
    // The title line names the codes: "... 0 none, 1 left_domain, ...".
    const std::string lookup = "start_reason and end_reason: ";
    const std::size_t at = vtk[1].find(lookup);
    ASSERT_NE(at, std::string::npos) << vtk[1];
    std::map<int, std::string> names;
    for (const std::string& item : fields(vtk[1].substr(at + lookup.size()), ',')) {
        std::istringstream in(item);
        int code = -1;
        std::string name;
        in >> code >> name;
        names[code] = name;
    }
    EXPECT_EQ(names.size(), 7u);
    EXPECT_EQ(names[0], "none");

    std::vector<std::pair<std::string, std::string>> csv;
    std::string last;
    for (const std::string& row : linesOf(readFile(dir.file("lines.csv")))) {
        const std::vector<std::string> f = fields(row, ',');
        if (f[0] == "line" || f[0] == last) continue;
        last = f[0];
        csv.emplace_back(f[5], f[6]);
    }
    ASSERT_FALSE(csv.empty());

    std::size_t k = 0;
    while (k < vtk.size() && vtk[k].rfind("CELL_DATA ", 0) != 0) ++k;
    ASSERT_LT(k + 3, vtk.size());
    EXPECT_EQ(vtk[k], "CELL_DATA " + std::to_string(csv.size()));
    EXPECT_EQ(vtk[k + 1], "FIELD ends 2");
    std::size_t row = k + 2;
    for (int column = 0; column < 2; ++column) {
        const std::string name = column == 0 ? "start_reason" : "end_reason";
        ASSERT_LT(row, vtk.size());
        EXPECT_EQ(vtk[row], name + " 1 " + std::to_string(csv.size()) + " int");
        for (std::size_t line = 0; line < csv.size(); ++line) {
            ASSERT_LT(++row, vtk.size());
            const std::string& word = column == 0 ? csv[line].first : csv[line].second;
            EXPECT_EQ(names[std::stoi(vtk[row])], word) << name << " of line " << line;
        }
        ++row;
    }
    EXPECT_EQ(row, vtk.size());
}

TEST_F(TraceQualityTest, SeededLinesReportTheirEndsToo) {
    // A closed orbit: each direction of a seeded line stops at its step limit.
    const std::string rotation =
        generateDataset(dir.path(), "rotation", {"--field", "rotation", "--nx", "33", "--ny", "33"});
    const RunResult r = trace({rotation, "--seeded", "2", "--stats", "-o", dir.file("seeded.csv")});
    ASSERT_EQ(r.code, 0) << r.err;
    const Stats s = parseStats(r.out);
    EXPECT_EQ(s.lines, 2);
    EXPECT_EQ(s.ends.count("step_cap") ? s.ends.at("step_cap") : -1, 4);
    const std::vector<std::string> rows = linesOf(readFile(dir.file("seeded.csv")));
    ASSERT_GT(rows.size(), 1u);
    EXPECT_EQ(fields(rows[1], ',')[5], "step_cap");

    // Usage lists the new options.
    const RunResult usage = trace({});
    EXPECT_EQ(usage.code, 2);
    EXPECT_NE(usage.err.find("--unit-speed"), std::string::npos);
    EXPECT_NE(usage.err.find("--stats"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(TraceQualityTest, FitEvenlyCoversACavityOfTenCentimetres) {
    // The real case in small: a lid-driven cavity 0.1 wide on 128 x 128
    // nodes with three data channels. The start values place one spiral.
    const std::string cavity = generateDataset(dir.path(), "cavity",
                                               {"--field", "cavity", "--nx", "128", "--ny", "128", "--x0", "0", "--x1",
                                                "0.1", "--y0", "0", "--y1", "0.1", "--channels", "3"});
    const RunResult plain = trace({cavity, "--stats", "-o", dir.file("plain.csv")});
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_LT(parseStats(plain.out).lines, 3);

    const RunResult fitted = trace({cavity, "--fit", "--stats", "-o", dir.file("fitted.csv")});
    ASSERT_EQ(fitted.code, 0) << fitted.err;
    EXPECT_NE(fitted.out.find("\nFit to data (box 0.1 x 0.1): dsep 0.003125, dtest 0.00125, dt 7.8125e-05 with unit "
                              "speed, line widths 0.00078125 and 0.0003125, glyph spacing 0.00234375\n"),
              std::string::npos)
        << fitted.out;
    const Stats s = parseStats(fitted.out);
    EXPECT_GE(s.lines, 20);
    EXPECT_GE(s.coverage, 99.0);
    EXPECT_LE(s.shortLines, s.lines / 5);

    // A distance given as well wins: 0.00625 is twice the fitted dsep.
    const Stats wider =
        parseStats(trace({cavity, "--fit", "--dsep", "0.00625", "--stats", "-o", dir.file("w.csv")}).out);
    EXPECT_LT(wider.lines, s.lines);
    EXPECT_GT(wider.lines, 0);
}

}  // namespace
