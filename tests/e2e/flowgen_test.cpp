// Runs the dataset generator and the arrow image tool and re-reads what they
// wrote byte by byte.

#include "support/FileLimits.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

float leFloat(const std::string& bytes, size_t offset) {
    std::uint32_t bits = 0;
    for (int b = 0; b < 4; ++b) bits |= std::uint32_t(std::uint8_t(bytes.at(offset + size_t(b)))) << (8 * b);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

struct Xy {
    double x, y;
};

// A generated dataset as the bytes on disk, read back with the grid size it was made with.
struct Dataset {
    int code = -1;
    std::string err;
    std::string grid, data;
    int nx = 0, ny = 0, channels = 0;
    bool flipped = false;

    size_t record(int i, int j) const { return flipped ? size_t(i) * ny + j : size_t(j) * nx + i; }
    float node(int i, int j, int c) const { return leFloat(grid, 40 + 12 * record(i, j) + 4 * size_t(c)); }
    Xy pos(int i, int j) const { return {node(i, j, 0), node(i, j, 1)}; }
    float value(int i, int j, int c) const { return leFloat(data, 4 * ((3 + channels) * record(i, j) + size_t(c))); }
    std::string headerText() const { return grid.substr(0, 40); }
};

bool hasArg(const std::vector<std::string>& args, const std::string& flag) {
    for (const auto& a : args)
        if (a == flag) return true;
    return false;
}

Dataset generate(const TempDir& dir, const std::string& name, std::vector<std::string> args, int nx, int ny,
                 int channels) {
    Dataset d;
    d.nx = nx;
    d.ny = ny;
    d.channels = channels;
    d.flipped = hasArg(args, "--flipped");
    args.push_back("-o");
    args.push_back(dir.file(name));
    const RunResult r = run(programPath("quillmere-flowgen"), args, dir.path());
    d.code = r.code;
    d.err = r.err;
    d.grid = readFile(dir.file(name + ".gri"));
    d.data = readFile(dir.file(name + ".00000.dat"));
    return d;
}

std::string paddedHeader(const std::string& text) { return text + std::string(40 - text.size(), ' '); }

class FlowgenTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(FlowgenTest, DemoCommandWritesTheDoubleGyre) {
    const Dataset d = generate(dir, "demo",
                               {"--field", "gyre", "--nx", "257", "--ny", "129", "--x0", "0", "--x1", "8", "--y0", "0",
                                "--y1", "4", "--speed", "1", "--channels", "2"},
                               257, 129, 2);
    ASSERT_EQ(d.code, 0) << d.err;
    EXPECT_EQ(d.headerText(), paddedHeader("SN4DB 257 129 1 2 1 0.000000"));
    ASSERT_EQ(d.grid.size(), 40u + 12u * 257 * 129);
    ASSERT_EQ(d.data.size(), 4u * 5 * 257 * 129);

    // Stream function sin(pi x / 4) sin(pi y / 4): one gyre on [0,4] and one on [4,8], peak speed 1.
    double peak = 0.0;
    for (int j = 0; j < 129; ++j) {
        for (int i = 0; i < 257; ++i) {
            const double x = 8.0 * i / 256, y = 4.0 * j / 128;
            ASSERT_EQ(d.node(i, j, 0), float(x));
            ASSERT_EQ(d.node(i, j, 1), float(y));
            ASSERT_EQ(d.node(i, j, 2), 0.0f);
            const double sx = std::sin(kPi * x / 4), cx = std::cos(kPi * x / 4);
            const double sy = std::sin(kPi * y / 4), cy = std::cos(kPi * y / 4);
            const double u = -sx * cy, v = cx * sy;
            ASSERT_NEAR(d.value(i, j, 0), u, 1e-6) << i << "," << j;
            ASSERT_NEAR(d.value(i, j, 1), v, 1e-6) << i << "," << j;
            ASSERT_EQ(d.value(i, j, 2), 0.0f);
            ASSERT_NEAR(d.value(i, j, 3), -kPi / 2 * sx * sy, 1e-6);  // vorticity
            ASSERT_NEAR(d.value(i, j, 4), -0.5 * (u * u + v * v), 1e-6);
            peak = std::max(peak, std::hypot(double(d.value(i, j, 0)), double(d.value(i, j, 1))));
        }
    }
    EXPECT_NEAR(peak, 1.0, 1e-6);
}

// Each field on an off-centre domain, compared at every node with its textbook form.
TEST_F(FlowgenTest, FieldsMatchTheirAnalyticForms) {
    const double cx = 1.0, cy = 0.5, rmax = 0.5 * std::hypot(4.0, 2.0), U = 2.0;
    const double side = 2.0;  // the smaller domain side
    struct Case {
        std::vector<std::string> args;
        std::function<Xy(double, double)> velocity;  // of X, Y relative to the centre
    };
    const std::vector<Case> cases = {
        {{"--field", "uniform", "--angle", "30"},
         [&](double, double) {
             return Xy{U * std::sqrt(3.0) / 2, U / 2};
         }},
        {{"--field", "rotation"},
         [&](double X, double Y) {
             return Xy{-U * Y / rmax, U * X / rmax};
         }},
        {{"--field", "saddle"},
         [&](double X, double Y) {
             return Xy{U * X / rmax, -U * Y / rmax};
         }},
        {{"--field", "sink"},
         [&](double X, double Y) {
             return Xy{-U * X / rmax, -U * Y / rmax};
         }},
        {{"--field", "vortex"},
         [&](double X, double Y) {
             // Lamb-Oseen, core radius side / 8; (1 - exp(-s^2)) / s peaks at 0.6381727.
             const double rc = side / 8, r = std::hypot(X, Y);
             if (r == 0.0) return Xy{0, 0};
             const double vt = U / 0.6381727 * (rc / r) * (1 - std::exp(-r * r / (rc * rc)));
             return Xy{-vt * Y / r, vt * X / r};
         }},
        {{"--field", "cylinder"},
         [&](double X, double Y) {
             // Polar form: u_r = V (1 - R^2/r^2) cos t, u_t = -V (1 + R^2/r^2) sin t, V = U / 2.
             const double R = side / 4, r = std::hypot(X, Y), t = std::atan2(Y, X), V = U / 2;
             if (r < R) return Xy{0, 0};
             const double ur = V * (1 - R * R / (r * r)) * std::cos(t);
             const double ut = -V * (1 + R * R / (r * r)) * std::sin(t);
             return Xy{ur * std::cos(t) - ut * std::sin(t), ur * std::sin(t) + ut * std::cos(t)};
         }},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        for (const char* a : {"--nx", "41", "--ny", "21", "--x0", "-1", "--x1", "3", "--y0", "-0.5", "--y1", "1.5",
                              "--speed", "2", "--channels", "0"})
            args.push_back(a);
        const Dataset d = generate(dir, "f", args, 41, 21, 0);
        SCOPED_TRACE(c.args[1]);
        ASSERT_EQ(d.code, 0) << d.err;
        ASSERT_EQ(d.data.size(), 4u * 3 * 41 * 21);
        double peak = 0.0;
        for (int j = 0; j < 21; ++j) {
            for (int i = 0; i < 41; ++i) {
                const Xy p = d.pos(i, j);
                const double X = p.x - cx, Y = p.y - cy;
                const Xy v = c.velocity(X, Y);
                ASSERT_NEAR(d.value(i, j, 0), v.x, 2e-5) << "node " << i << "," << j;
                ASSERT_NEAR(d.value(i, j, 1), v.y, 2e-5) << "node " << i << "," << j;
                peak = std::max(peak, std::hypot(v.x, v.y));
            }
        }
        EXPECT_LE(peak, U * (1 + 1e-6));
        EXPECT_GE(peak, U * 0.9);
    }
}

TEST_F(FlowgenTest, SinkCentreAndCylinderInteriorAreExactlyZero) {
    const Dataset sink = generate(
        dir, "s", {"--field", "sink", "--nx", "9", "--ny", "7", "--x0", "0.3", "--x1", "1.7", "--spacing", "stretched"},
        9, 7, 2);
    ASSERT_EQ(sink.code, 0) << sink.err;
    EXPECT_EQ(sink.value(4, 3, 0), 0.0f);
    EXPECT_EQ(sink.value(4, 3, 1), 0.0f);
    EXPECT_GT(sink.value(3, 3, 0), 0.0f);  // flows in from the left
    EXPECT_LT(sink.value(5, 3, 0), 0.0f);

    const Dataset cyl = generate(dir, "c", {"--field", "cylinder", "--nx", "61", "--ny", "61"}, 61, 61, 2);
    ASSERT_EQ(cyl.code, 0) << cyl.err;
    int inside = 0;
    for (int j = 0; j < 61; ++j) {
        for (int i = 0; i < 61; ++i) {
            const Xy p = cyl.pos(i, j);
            const double r = std::hypot(p.x, p.y);
            if (r < 0.5 * 0.999) {
                ++inside;
                EXPECT_EQ(cyl.value(i, j, 0), 0.0f);
                EXPECT_EQ(cyl.value(i, j, 1), 0.0f);
            } else if (r > 0.5 * 1.001) {
                EXPECT_GT(std::hypot(cyl.value(i, j, 0), cyl.value(i, j, 1)), 0.0f);
            }
        }
    }
    EXPECT_GT(inside, 100);
}

TEST_F(FlowgenTest, FlippedOrderStoresTheSameNodesWithYFastest) {
    const std::vector<std::string> args = {"--field",   "rotation",  "--nx",       "7",    "--ny",
                                           "5",         "--x0",      "2",          "--x1", "5",
                                           "--spacing", "stretched", "--channels", "3"};
    const Dataset normal = generate(dir, "n", args, 7, 5, 3);
    std::vector<std::string> flippedArgs = args;
    flippedArgs.push_back("--flipped");
    const Dataset flipped = generate(dir, "fl", flippedArgs, 7, 5, 3);
    ASSERT_EQ(normal.code, 0) << normal.err;
    ASSERT_EQ(flipped.code, 0) << flipped.err;
    ASSERT_EQ(normal.grid.size(), flipped.grid.size());
    ASSERT_EQ(normal.data.size(), flipped.data.size());
    EXPECT_EQ(normal.headerText(), flipped.headerText());

    // Flipped record i * ny + j holds node (i, j).
    for (int j = 0; j < 5; ++j) {
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(normal.grid.substr(40 + 12 * size_t(j * 7 + i), 12),
                      flipped.grid.substr(40 + 12 * size_t(i * 5 + j), 12));
            EXPECT_EQ(normal.data.substr(24 * size_t(j * 7 + i), 24), flipped.data.substr(24 * size_t(i * 5 + j), 24));
        }
    }
    // Rectilinear, stretched symmetrically towards the centre, corners exact.
    EXPECT_EQ(normal.node(0, 0, 0), 2.0f);
    EXPECT_EQ(normal.node(6, 4, 0), 5.0f);
    EXPECT_EQ(normal.node(0, 0, 1), -1.0f);
    EXPECT_EQ(normal.node(6, 4, 1), 1.0f);
    EXPECT_EQ(normal.node(3, 0, 0), 3.5f);
    for (int i = 0; i < 7; ++i) {
        for (int j = 1; j < 5; ++j) EXPECT_EQ(normal.node(i, j, 0), normal.node(i, 0, 0));
        if (i > 0) {
            EXPECT_GT(normal.node(i, 0, 0), normal.node(i - 1, 0, 0));
        }
        EXPECT_NEAR(normal.node(i, 0, 0) - 2.0f, 5.0f - normal.node(6 - i, 0, 0), 2e-6);
    }
    EXPECT_LT(normal.node(3, 0, 0) - normal.node(2, 0, 0), 0.5f * (normal.node(1, 0, 0) - normal.node(0, 0, 0)));
    // Extra channel k holds k + column / (nx - 1).
    EXPECT_FLOAT_EQ(normal.value(0, 2, 5), 3.0f);
    EXPECT_FLOAT_EQ(normal.value(3, 2, 5), 3.5f);
    EXPECT_FLOAT_EQ(normal.value(6, 2, 5), 4.0f);
}

TEST_F(FlowgenTest, SwappedFilesAreTheByteReversedTwins) {
    const std::vector<std::string> args = {"--field", "vortex", "--nx", "6", "--ny", "4", "--channels", "2"};
    const Dataset normal = generate(dir, "le", args, 6, 4, 2);
    std::vector<std::string> swapArgs = args;
    swapArgs.push_back("--swap");
    const Dataset swapped = generate(dir, "be", swapArgs, 6, 4, 2);
    ASSERT_EQ(normal.code, 0);
    ASSERT_EQ(swapped.code, 0);
    ASSERT_EQ(normal.grid.size(), swapped.grid.size());
    ASSERT_EQ(normal.data.size(), swapped.data.size());
    EXPECT_EQ(normal.headerText(), swapped.headerText());
    auto reversedWords = [](std::string s, size_t from) {
        for (size_t k = from; k + 4 <= s.size(); k += 4) {
            std::swap(s[k], s[k + 3]);
            std::swap(s[k + 1], s[k + 2]);
        }
        return s;
    };
    EXPECT_EQ(reversedWords(swapped.grid, 40), normal.grid);
    EXPECT_EQ(reversedWords(swapped.data, 0), normal.data);
    EXPECT_NE(swapped.data, normal.data);
}

TEST_F(FlowgenTest, ChannelCountsSetHeaderAndRecordSize) {
    for (int n : {0, 1, 12}) {
        const Dataset d =
            generate(dir, "ch" + std::to_string(n),
                     {"--field", "uniform", "--nx", "5", "--ny", "3", "--channels", std::to_string(n)}, 5, 3, n);
        ASSERT_EQ(d.code, 0) << d.err;
        EXPECT_EQ(d.headerText(), paddedHeader("SN4DB 5 3 1 " + std::to_string(n) + " 1 0.000000"));
        EXPECT_EQ(d.data.size(), 4u * (3 + n) * 15);
        if (n == 12) {
            EXPECT_FLOAT_EQ(d.value(4, 1, 14), 13.0f);
        }
    }
}

TEST_F(FlowgenTest, NanPatchCoversOnlyItsDisc) {
    for (const bool placed : {false, true}) {
        std::vector<std::string> args = {"--field", "uniform", "--nx", "41", "--ny", "41", "--nan-patch"};
        Xy centre{0.0, 0.0};
        double radius = 0.2;  // a tenth of the domain's side
        if (placed) {
            for (const char* a : {"--nan-x", "0.5", "--nan-y", "-0.25", "--nan-r", "0.3"}) args.push_back(a);
            centre = {0.5, -0.25};
            radius = 0.3;
        }
        const Dataset d = generate(dir, "nan", args, 41, 41, 2);
        ASSERT_EQ(d.code, 0) << d.err;
        int nans = 0;
        for (int j = 0; j < 41; ++j) {
            for (int i = 0; i < 41; ++i) {
                const Xy p = d.pos(i, j);
                const double r = std::hypot(p.x - centre.x, p.y - centre.y);
                if (r < 0.99 * radius) {
                    ++nans;
                    for (int c = 0; c < 3; ++c) EXPECT_TRUE(std::isnan(d.value(i, j, c)));
                } else if (r > 1.01 * radius) {
                    for (int c = 0; c < 3; ++c) EXPECT_TRUE(std::isfinite(d.value(i, j, c)));
                }
                EXPECT_TRUE(std::isfinite(d.value(i, j, 3)));
            }
        }
        EXPECT_GT(nans, 4);
    }
}

TEST_F(FlowgenTest, BrokenKindsCarryTheirDefect) {
    const std::vector<std::string> base = {"--field", "saddle", "--nx", "4", "--ny", "3", "--channels", "1"};
    const size_t gridSize = 40 + 12 * 12, dataSize = 4 * 4 * 12;
    auto make = [&](const std::string& kind) {
        std::vector<std::string> args = base;
        args.push_back("--broken");
        args.push_back(kind);
        Dataset d = generate(dir, kind, args, 4, 3, 1);
        EXPECT_EQ(d.code, 0) << kind << ": " << d.err;
        return d;
    };
    auto parse = [](const std::string& header, int v[5]) {
        float real = 0;
        char magic[6] = {};
        return std::sscanf(header.c_str(), "%5s %d %d %d %d %d %f", magic, &v[0], &v[1], &v[2], &v[3], &v[4], &real) -
               1;
    };
    int v[5] = {};

    Dataset d = make("short-grid");
    EXPECT_EQ(d.grid.size(), gridSize - 4);
    EXPECT_EQ(d.data.size(), dataSize);

    d = make("short-data");
    EXPECT_EQ(d.grid.size(), gridSize);
    EXPECT_EQ(d.data.size(), dataSize - 4);

    d = make("dims2");
    EXPECT_EQ(d.headerText(), paddedHeader("SN4DB 4 3 2 1 1 0.000000"));
    EXPECT_EQ(d.grid.size(), gridSize);

    d = make("bad-magic");
    EXPECT_NE(d.headerText().substr(0, 6), "SN4DB ");
    EXPECT_EQ(parse(d.headerText(), v), 6);  // only the magic is wrong
    EXPECT_EQ(d.grid.size(), gridSize);

    d = make("few-values");
    EXPECT_EQ(d.headerText().substr(0, 5), "SN4DB");
    EXPECT_EQ(d.headerText().size(), 40u);
    EXPECT_LT(parse(d.headerText(), v), 6);
    EXPECT_GE(parse(d.headerText(), v), 3);  // the grid's own three numbers still parse

    d = make("huge");
    EXPECT_EQ(d.headerText().size(), 40u);
    EXPECT_EQ(parse(d.headerText(), v), 6);
    EXPECT_EQ(v[0], 2000000000);
    EXPECT_EQ(v[1], 2000000000);
    EXPECT_EQ(v[2], 1);
}

TEST_F(FlowgenTest, BadArgumentsPrintUsageAndExitTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--field", "whirl", "-o", dir.file("x")},
        {"--field", "gyre"},
        {"--field", "gyre", "--nx", "-3", "-o", dir.file("x")},
        {"--field", "gyre", "--nx", "ten", "-o", dir.file("x")},
        {"--field", "gyre", "--x0", "2", "--x1", "1", "-o", dir.file("x")},
        {"--field", "gyre", "--broken", "nonsense", "-o", dir.file("x")},
        {"--field", "gyre", "-o"},
    };
    for (const auto& args : bad) {
        const RunResult r = run(programPath("quillmere-flowgen"), args, dir.path());
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("Usage: quillmere-flowgen"), std::string::npos);
    }
    EXPECT_TRUE(readFile(dir.file("x.gri")).empty());

    const RunResult help = run(programPath("quillmere-flowgen"), {"--help"}, dir.path());
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: quillmere-flowgen", 0), 0u);
}

TEST(ToolsTest, HelpVersionAndUnknownOptionsAnswerAlike) {
    TempDir dir;
    for (const std::string tool : {"quillmere-flowgen", "quillmere-arrowgen"}) {
        SCOPED_TRACE(tool);
        for (const char* spelling : {"--help", "-h"}) {
            const RunResult help = run(programPath(tool), {spelling}, dir.path());
            EXPECT_EQ(help.code, 0);
            EXPECT_EQ(help.out.rfind("Usage: " + tool + " ", 0), 0u);
            EXPECT_NE(help.out.find("  --version  "), std::string::npos) << help.out;
            EXPECT_EQ(help.err, "");
        }
        const RunResult version = run(programPath(tool), {"--version"}, dir.path());
        EXPECT_EQ(version.code, 0);
        EXPECT_EQ(version.out, tool + " 0.2.0\n");

        const RunResult unknown = run(programPath(tool), {"-v", dir.file("x")}, dir.path());
        EXPECT_EQ(unknown.code, 2);
        EXPECT_EQ(unknown.out, "");
        const std::vector<std::string> err = lines(unknown.err);
        ASSERT_EQ(err.size(), 3u) << unknown.err;
        EXPECT_EQ(err[0], tool + ": unknown option '-v'");
        EXPECT_EQ(err[1].rfind("Usage: " + tool + " ", 0), 0u);
        EXPECT_EQ(err[2], "Try '" + tool + " --help' for more information.");
    }
    EXPECT_TRUE(readFile(dir.file("x")).empty());
}

TEST(ToolsTest, AWriteThatFailsKeepsThePreviousFiles) {
    TempDir dir;
    for (const char* name : {"arrow.tga", "flow.gri", "flow.00000.dat"}) std::ofstream(dir.file(name)) << "previous";
    RunResult arrow, flow;
    {
        const FileSizeLimit full(4096);
        arrow = run(programPath("quillmere-arrowgen"), {dir.file("arrow.tga")}, dir.path());
        flow = run(programPath("quillmere-flowgen"), {"--field", "gyre", "-o", dir.file("flow")}, dir.path());
    }
    EXPECT_EQ(arrow.code, 1);
    EXPECT_EQ(arrow.err, "quillmere-arrowgen: cannot write '" + dir.file("arrow.tga") + "': File too large\n");
    EXPECT_EQ(flow.code, 1);
    EXPECT_EQ(flow.err, "quillmere-flowgen: cannot write '" + dir.file("flow.gri") + "'\n");
    for (const char* name : {"arrow.tga", "flow.gri", "flow.00000.dat"})
        EXPECT_EQ(readFile(dir.file(name)), "previous");
}

TEST(ArrowgenTest, WritesATransparentTgaWithAnOpaqueArrowAlongX) {
    TempDir dir;
    const RunResult r = run(programPath("quillmere-arrowgen"), {dir.file("arrow.tga")}, dir.path());
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string tga = readFile(dir.file("arrow.tga"));
    ASSERT_EQ(tga.size(), 18u + 64 * 64 * 4);
    EXPECT_EQ(tga[0], 0);  // no image id
    EXPECT_EQ(tga[1], 0);  // no colour map
    EXPECT_EQ(tga[2], 2);  // uncompressed true colour
    EXPECT_EQ(tga[12], 64);
    EXPECT_EQ(tga[13], 0);
    EXPECT_EQ(tga[14], 64);
    EXPECT_EQ(tga[15], 0);
    EXPECT_EQ(tga[16], 32);
    EXPECT_EQ(tga[17], 0x08);  // 8 alpha bits, bottom-left origin

    auto alpha = [&](int col, int row) { return std::uint8_t(tga[18 + 4 * size_t(row * 64 + col) + 3]); };
    for (int col = 8; col < 56; ++col) {
        EXPECT_EQ(alpha(col, 31), 255) << col;
        EXPECT_EQ(alpha(col, 32), 255) << col;
    }
    for (int c : {0, 63})
        for (int row : {0, 63}) EXPECT_EQ(alpha(c, row), 0);
    int partial = 0;
    for (int row = 0; row < 64; ++row) {
        for (int col = 0; col < 64; ++col) {
            EXPECT_EQ(alpha(col, row), alpha(col, 63 - row));  // symmetric about the axis
            if (alpha(col, row) > 0 && alpha(col, row) < 255) ++partial;
        }
    }
    EXPECT_GT(partial, 20);  // anti-aliased edges
    auto opaqueRows = [&](int col) {
        int n = 0;
        for (int row = 0; row < 64; ++row) n += alpha(col, row) == 255;
        return n;
    };
    EXPECT_GT(opaqueRows(40), opaqueRows(15) + 6);  // the head is wider than the shaft
    EXPECT_EQ(opaqueRows(62), 0);                   // the tip stays inside the image

    const RunResult bad = run(programPath("quillmere-arrowgen"), {}, dir.path());
    EXPECT_EQ(bad.code, 2);
}

}  // namespace
