// quillmere-trace on generated datasets: the exported lines read back.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Row {
    int line;
    int point;
    std::string x;
    std::string y;
    int step;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

std::vector<Row> readCsv(const std::string& path, std::string& header) {
    std::vector<std::string> lines = linesOf(readFile(path));
    std::vector<Row> rows;
    if (lines.empty()) return rows;
    header = lines[0];
    for (std::size_t k = 1; k < lines.size(); ++k) {
        std::istringstream in(lines[k]);
        Row r;
        std::string field;
        std::getline(in, field, ',');
        r.line = std::stoi(field);
        std::getline(in, field, ',');
        r.point = std::stoi(field);
        std::getline(in, r.x, ',');
        std::getline(in, r.y, ',');
        std::getline(in, field, ',');
        r.step = std::stoi(field);
        rows.push_back(r);
    }
    return rows;
}

// The number printed after a statistics label, or -1.
long statistic(const std::string& out, const std::string& label) {
    for (const std::string& l : linesOf(out))
        if (l.rfind(label, 0) == 0) return std::stol(l.substr(label.size()));
    return -1;
}

class TraceTest : public testing::Test {
protected:
    void SetUp() override {
        gyre = generateDataset(dir.path(), "gyre",
                               {"--field", "gyre", "--nx", "129", "--ny", "65", "--x0", "0", "--x1", "8", "--y0", "0",
                                "--y1", "4", "--channels", "1"});
        ASSERT_TRUE(std::ifstream(gyre).good()) << "quillmere-flowgen did not write " << gyre;
    }

    RunResult trace(std::vector<std::string> args) { return run(programPath("quillmere-trace"), args, dir.path()); }

    TempDir dir;
    std::string gyre;
};

TEST_F(TraceTest, CsvAndVtkHoldTheSameEvenlySpacedLines) {
    const RunResult csvRun = trace({gyre, "-o", dir.file("lines.csv")});
    ASSERT_EQ(csvRun.code, 0) << csvRun.err;
    const RunResult vtkRun = trace({gyre, "-o", dir.file("lines.vtk")});
    ASSERT_EQ(vtkRun.code, 0) << vtkRun.err;
    EXPECT_EQ(csvRun.out, vtkRun.out);
    EXPECT_NE(csvRun.out.find("At the end of the streamline-list, let's end\nNumber of points in streamlines: "),
              std::string::npos);

    std::string header;
    const std::vector<Row> rows = readCsv(dir.file("lines.csv"), header);
    EXPECT_EQ(header, "line,point,x,y,step,start_reason,end_reason");
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(static_cast<long>(rows.size()), statistic(csvRun.out, "Number of points in streamlines: "));
    EXPECT_EQ(statistic(csvRun.out, "Number of registrated points: "),
              statistic(csvRun.out, "Number of theoretical registrated points: "));
    EXPECT_EQ(statistic(csvRun.out, "Cached points: "),
              statistic(csvRun.out, "Number of points theoretically in streamlines: "));

    // Lines numbered from 0 in order, points from 0 within each, all in the box.
    std::map<int, int> perLine;
    int expectedLine = 0;
    int expectedPoint = 0;
    for (const Row& r : rows) {
        if (r.line != expectedLine) {
            ASSERT_EQ(r.line, expectedLine + 1);
            ASSERT_GE(expectedPoint, 2);
            expectedLine = r.line;
            expectedPoint = 0;
        }
        ASSERT_EQ(r.point, expectedPoint++);
        ++perLine[r.line];
        const double x = std::stod(r.x);
        const double y = std::stod(r.y);
        ASSERT_TRUE(x >= 0.0 && x <= 8.0 && y >= 0.0 && y <= 4.0) << r.x << ", " << r.y;
    }
    EXPECT_GT(perLine.size(), 10u);

    // The VTK file: the same points in the same order, one polyline per line.
    const std::vector<std::string> vtk = linesOf(readFile(dir.file("lines.vtk")));
    ASSERT_GT(vtk.size(), 5u);
    EXPECT_EQ(vtk[0], "# vtk DataFile Version 3.0");
    EXPECT_EQ(vtk[2], "ASCII");
    EXPECT_EQ(vtk[3], "DATASET POLYDATA");
    EXPECT_EQ(vtk[4], "POINTS " + std::to_string(rows.size()) + " float");
    ASSERT_GT(vtk.size(), 5 + rows.size() + perLine.size());
    for (std::size_t k = 0; k < rows.size(); ++k) ASSERT_EQ(vtk[5 + k], rows[k].x + " " + rows[k].y + " 0");
    std::size_t at = 5 + rows.size();
    EXPECT_EQ(vtk[at], "LINES " + std::to_string(perLine.size()) + " " + std::to_string(rows.size() + perLine.size()));
    std::size_t next = 0;
    for (const auto& [line, count] : perLine) {
        std::istringstream cell(vtk[++at]);
        std::size_t n = 0;
        cell >> n;
        ASSERT_EQ(n, static_cast<std::size_t>(count)) << "line " << line;
        for (std::size_t k = 0; k < n; ++k) {
            std::size_t id = 0;
            cell >> id;
            ASSERT_EQ(id, next++);
        }
    }
    EXPECT_EQ(vtk[++at], "POINT_DATA " + std::to_string(rows.size()));
    at += 2;  // SCALARS, LOOKUP_TABLE
    for (const Row& r : rows) ASSERT_EQ(vtk[++at], std::to_string(r.step));
}

TEST_F(TraceTest, OptionsChangeThePlacement) {
    std::string header;
    ASSERT_EQ(trace({gyre, "-o", dir.file("euler.csv")}).code, 0);
    ASSERT_EQ(trace({gyre, "--rk2", "-o", dir.file("rk2.csv")}).code, 0);
    ASSERT_EQ(trace({gyre, "--dsep", "0.8", "--dtest", "0.4", "--dt", "0.01", "-o", dir.file("coarse.csv")}).code, 0);
    const auto euler = readCsv(dir.file("euler.csv"), header);
    const auto rk2 = readCsv(dir.file("rk2.csv"), header);
    const auto coarse = readCsv(dir.file("coarse.csv"), header);
    EXPECT_NE(readFile(dir.file("euler.csv")), readFile(dir.file("rk2.csv")));
    EXPECT_LT(coarse.size() * 2, euler.size());

    // Seeded: the given number of lines, every step index 0, no statistics.
    const RunResult seeded = trace({gyre, "--seeded", "4", "-o", dir.file("seeded.csv")});
    ASSERT_EQ(seeded.code, 0) << seeded.err;
    EXPECT_EQ(seeded.out.find("Number of points"), std::string::npos);
    const auto rows = readCsv(dir.file("seeded.csv"), header);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().line, 3);
    for (const Row& r : rows) ASSERT_EQ(r.step, 0);

    // Small steps are legal (caches of 1200 points here) ...
    const RunResult small = trace({gyre, "--dt", "0.0004", "-o", dir.file("small.csv")});
    ASSERT_EQ(small.code, 0) << small.err;
    EXPECT_EQ(small.err, "");
    EXPECT_GT(readCsv(dir.file("small.csv"), header).size(), 5 * euler.size());
    // ... only the memory budget refuses a placement, naming its estimate;
    // the file then holds no line.
    const RunResult refused = trace({gyre, "--dt", "0.0001", "--memory-budget", "16", "-o", dir.file("refused.csv")});
    EXPECT_EQ(refused.code, 0);
    EXPECT_EQ(refused.err.rfind("Streamlines not placed: about ", 0), 0u) << refused.err;
    EXPECT_NE(refused.err.find(" MiB) would exceed the memory budget of 16 MiB; dsep "), std::string::npos)
        << refused.err;
    EXPECT_EQ(readFile(dir.file("refused.csv")), "line,point,x,y,step,start_reason,end_reason\n");
}

TEST_F(TraceTest, BadUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {gyre},
        {gyre, "-o", dir.file("out.txt")},
        {gyre, "-o"},
        {gyre, "--dt", "abc", "-o", dir.file("out.csv")},
        {gyre, "--dt", "0", "-o", dir.file("out.csv")},
        {gyre, "--dsep", "-0.4", "-o", dir.file("out.csv")},
        {gyre, "--dtest", "nan", "-o", dir.file("out.csv")},
        {gyre, "--seeded", "-1", "-o", dir.file("out.csv")},
        {gyre, "--seeded", "2x", "-o", dir.file("out.csv")},
        {gyre, "--seeded", "1001", "-o", dir.file("out.csv")},
        {gyre, "--wobble", "-o", dir.file("out.csv")},
        {gyre, gyre, "-o", dir.file("out.csv")},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const RunResult r = trace(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("quillmere-trace: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("Usage: quillmere-trace DATASET.gri"), std::string::npos);
    }
    EXPECT_FALSE(std::ifstream(dir.file("out.csv")).good());
}

TEST_F(TraceTest, UnreadableInputOrOutputExitsWithOne) {
    const std::string broken = generateDataset(dir.path(), "broken", {"--field", "uniform", "--broken", "short-data"});
    for (const std::string& input : {dir.file("missing.gri"), broken}) {
        const RunResult r = trace({input, "-o", dir.file("out.csv")});
        EXPECT_EQ(r.code, 1) << input;
        EXPECT_NE(r.err.find("quillmere-trace: cannot load"), std::string::npos) << r.err;
    }
    const RunResult r = trace({gyre, "-o", dir.file("no/such/dir/out.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("quillmere-trace: cannot write"), std::string::npos) << r.err;
}

}  // namespace

// The export places exactly what the viewer places: the same placement lines,
// statistics and distance-field report, for the defaults and for changed
// settings given to both. The viewer places once when it opens and again for
// every changed setting; its last placement is the one it shows.
TEST_F(TraceTest, ReproducesTheViewersPlacementLineForLine) {
    ASSERT_TRUE(Xvfb::shared().ok());
    prepareViewerDir(dir.path());
    struct Case {
        std::vector<std::string> viewer;
        std::vector<std::string> trace;
    };
    const std::vector<Case> cases = {
        {{}, {}},
        {{"-dtest", "0.1", "-integrationMethod", "1"}, {"--dtest", "0.1", "--rk2"}},
        // Whatever order the viewer applies them in, the caches fit dt and dsep.
        {{"-dsep", "0.3", "-stepSize", "0.01"}, {"--dsep", "0.3", "--dt", "0.01"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> viewerArgs = {"-datafile", gyre};
        viewerArgs.insert(viewerArgs.end(), c.viewer.begin(), c.viewer.end());
        viewerArgs.insert(viewerArgs.end(), {"-screenshot", dir.file("shot.png")});
        const RunResult viewer = run(programPath("quillmere"), viewerArgs, dir.path());
        ASSERT_EQ(viewer.code, 0) << viewer.err;

        std::vector<std::string> traceArgs = {gyre};
        traceArgs.insert(traceArgs.end(), c.trace.begin(), c.trace.end());
        traceArgs.insert(traceArgs.end(), {"-o", dir.file("lines.csv")});
        const RunResult exported = trace(traceArgs);
        ASSERT_EQ(exported.code, 0) << exported.err;

        const auto shown = placementBlocks(viewer.out);
        const auto written = placementBlocks(exported.out);
        ASSERT_FALSE(shown.empty());
        ASSERT_EQ(written.size(), 1u);
        EXPECT_EQ(shown.back(), written.front());
        EXPECT_GT(statistic(exported.out, "Number of points in streamlines: "), 1000);
    }
}

// An options file restores the lines that were on screen when it was saved:
// the viewer loading one places what a fresh start with its values places.
TEST_F(TraceTest, AnOptionsFileBringsBackTheLinesOfItsSettings) {
    ASSERT_TRUE(Xvfb::shared().ok());
    prepareViewerDir(dir.path());
    std::string options = readFile(std::string(QM_SOURCE_DIR) + "/tests/golden/options_default.xml");
    for (const auto& [from, to] :
         std::vector<std::pair<std::string, std::string>>{{"<dsep>0.4</dsep>", "<dsep>0.3</dsep>"},
                                                          {"<dtest>0.2</dtest>", "<dtest>0.1</dtest>"},
                                                          {"<dt>0.005</dt>", "<dt>0.02</dt>"}}) {
        const std::size_t at = options.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        options.replace(at, from.size(), to);
    }
    std::ofstream(dir.file("saved.xml"), std::ios::binary) << options;

    const RunResult viewer =
        run(programPath("quillmere"),
            {"-datafile", gyre, "-options", dir.file("saved.xml"), "-screenshot", dir.file("shot.png")}, dir.path());
    ASSERT_EQ(viewer.code, 0) << viewer.err;
    const RunResult exported =
        trace({gyre, "--dsep", "0.3", "--dtest", "0.1", "--dt", "0.02", "-o", dir.file("lines.csv")});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const auto shown = placementBlocks(viewer.out);
    const auto written = placementBlocks(exported.out);
    ASSERT_GT(shown.size(), 1u);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(shown.back(), written.front());
}

// Five of the generated fields stand still at the centre of their box; their
// placements start from a lattice seed. A field without speed says why it
// has no line, in the placement's report and in the figures.
TEST_F(TraceTest, CentredFieldsGetLinesAndAStillFieldSaysWhyItHasNone) {
    for (const char* field : {"rotation", "sink", "vortex", "cylinder", "saddle"}) {
        const std::string grid = generateDataset(dir.path(), field, {"--field", field, "--nx", "65", "--ny", "33"});
        const RunResult r = trace({grid, "-o", dir.file("centred.csv")});
        ASSERT_EQ(r.code, 0) << field << r.err;
        EXPECT_GT(statistic(r.out, "Number of points in streamlines: "), 400) << field;
        EXPECT_EQ(r.out.find("No streamline placed"), std::string::npos) << field;
    }
    const std::string still =
        generateDataset(dir.path(), "still", {"--field", "uniform", "--speed", "0", "--nx", "9", "--ny", "5"});
    const RunResult r = trace({still, "--stats", "-o", dir.file("still.csv")});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string note =
        "No streamline placed: none of the 225 seeds tried (the centre of the box, then a lattice "
        "around it) gives a line of two points; their lines ended with zero_velocity 225\n";
    const std::size_t first = r.out.find(note);
    ASSERT_NE(first, std::string::npos) << r.out;
    EXPECT_EQ(r.out.compare(first + note.size(), 35, "Number of points in streamlines: 0\n"), 0);
    EXPECT_NE(r.out.find("Line ends: left_domain 0, zero_velocity 0, non_finite 0, too_close 0, midpoint_outside 0, "
                         "step_cap 0\n" +
                         note),
              std::string::npos)
        << r.out;
    EXPECT_EQ(readFile(dir.file("still.csv")), "line,point,x,y,step,start_reason,end_reason\n");
}

// On a terminal the placement shows a progress bar on standard error, wiped
// when it ends; elsewhere standard error stays empty.
TEST_F(TraceTest, ShowsProgressOnATerminalOnly) {
    const std::vector<std::string> args = {gyre, "--dsep", "0.1", "--dtest", "0.05", "-o", dir.file("lines.csv")};
    const RunResult plain = trace(args);
    ASSERT_EQ(plain.code, 0);
    EXPECT_EQ(plain.err, "");

    // `script` runs the tool on a terminal of its own and copies what it
    // shows; standard output goes to a file.
    std::string command = programPath("quillmere-trace");
    for (const std::string& a : args) command += " '" + a + "'";
    command += " > '" + dir.file("out.txt") + "'";
    const RunResult shown = run("/usr/bin/script", {"-qec", command, "/dev/null"}, dir.path());
    ASSERT_EQ(shown.code, 0) << shown.err;
    const std::string bar = shown.out;
    EXPECT_EQ(bar.rfind("\r\033[K[", 0), 0u) << bar;
    EXPECT_NE(bar.find("%  "), std::string::npos) << bar;
    EXPECT_NE(bar.find(" points"), std::string::npos) << bar;
    EXPECT_EQ(bar.substr(bar.size() - 4), "\r\033[K");
    EXPECT_EQ(readFile(dir.file("out.txt")), plain.out);
}

// Coordinates are written in their shortest form that reads back to the
// same float: the CSV and the text VTK give exactly the floats of the binary
// VTK, which holds their bits.
TEST_F(TraceTest, EveryWrittenNumberReadsBackToTheSameFloat) {
    ASSERT_EQ(trace({gyre, "--dsep", "0.2", "--dtest", "0.1", "-o", dir.file("lines.csv")}).code, 0);
    ASSERT_EQ(trace({gyre, "--dsep", "0.2", "--dtest", "0.1", "-o", dir.file("text.vtk")}).code, 0);
    ASSERT_EQ(trace({gyre, "--dsep", "0.2", "--dtest", "0.1", "--binary", "-o", dir.file("binary.vtk")}).code, 0);
    std::string header;
    const std::vector<Row> rows = readCsv(dir.file("lines.csv"), header);
    ASSERT_GT(rows.size(), 1000u);

    // The binary file: the text VTK's sections, numbers big-endian.
    const std::string bytes = readFile(dir.file("binary.vtk"));
    const std::string points = "POINTS " + std::to_string(rows.size()) + " float\n";
    ASSERT_EQ(bytes.find("\nBINARY\nDATASET POLYDATA\n" + points), bytes.find('\n', bytes.find('\n') + 1));
    std::size_t at = bytes.find(points) + points.size();
    auto word = [&]() {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(bytes.at(at++));
        return v;
    };
    auto binaryFloat = [&]() {
        const std::uint32_t bits = word();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    };
    const std::vector<std::string> text = linesOf(readFile(dir.file("text.vtk")));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const float x = binaryFloat();
        const float y = binaryFloat();
        ASSERT_EQ(binaryFloat(), 0.0f);
        ASSERT_EQ(std::strtof(rows[k].x.c_str(), nullptr), x) << rows[k].x;
        ASSERT_EQ(std::strtof(rows[k].y.c_str(), nullptr), y) << rows[k].y;
        ASSERT_EQ(text[5 + k], rows[k].x + " " + rows[k].y + " 0");
    }
    EXPECT_EQ(bytes.substr(at, 7), "\nLINES ");
    // The step indices, after the lines' point lists.
    at = bytes.find("LOOKUP_TABLE default\n") + 21;
    for (const Row& r : rows) ASSERT_EQ(static_cast<int>(word()), r.step);
    EXPECT_EQ(bytes.substr(at, 11), "\nCELL_DATA ");

    const RunResult csvBinary = trace({gyre, "--binary", "-o", dir.file("lines.csv")});
    EXPECT_EQ(csvBinary.code, 2);
    EXPECT_EQ(csvBinary.err.rfind("quillmere-trace: --binary needs a .vtk output file\n", 0), 0u) << csvBinary.err;
}

TEST_F(TraceTest, HelpAndVersionAnswerAndUnknownOptionsNameThemselves) {
    const RunResult help = trace({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: quillmere-trace DATASET.gri|DATASET.nc [options] -o OUT\n", 0), 0u) << help.out;
    // Every option with its meaning, one row each.
    for (const char* row :
         {"  --seeded N          N seeds on the diagonal", "  --dt X              integration step (default 0.005)\n",
          "  --dsep X            separation distance (default 0.4)\n",
          "  --dtest X           test distance (default 0.2)\n",
          "  --rk2               midpoint Runge-Kutta instead of Euler\n",
          "  --unit-speed        step along the velocity's direction",
          "  --memory-budget MB  memory the placement may use, in MiB", "  --stats             print quality figures",
          "  -o OUT              output file", "  --binary            write the VTK file in binary",
          "  -h, --help          this text\n", "  --version           the program's version\n"})
        EXPECT_NE(help.out.find(row), std::string::npos) << row;
    // -h answers alike, whatever else is given.
    EXPECT_EQ(trace({gyre, "--wobble", "-h"}).out, help.out);

    const RunResult version = trace({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "quillmere-trace 0.2.0\n");

    const RunResult unknown = trace({gyre, "--wobble", "-o", dir.file("out.csv")});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.err.substr(0, unknown.err.find('\n') + 1),
              "quillmere-trace: unknown option --wobble; see quillmere-trace --help\n");
}
