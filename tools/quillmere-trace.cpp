// quillmere-trace: places streamlines in a dataset the way the viewer does
// and writes them as CSV or legacy VTK, for inspection and for tests.

#include "app/FramePattern.h"
#include "common/SafeFileWrite.h"
#include "data/FlowData.h"
#include "formats/Importer.h"
#include "settings/Settings.h"
#include "streamlines/FitToData.h"
#include "streamlines/PlacementQuality.h"
#include "streamlines/StreamlineExport.h"
#include "streamlines/StreamlineSet.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

const char* const kProgram = "quillmere-trace";

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

enum class Format { Csv, Vtk };

// A bar on standard error while an evenly spaced placement runs: the share
// of the domain reached and the points placed, redrawn at most ten times a
// second and wiped at the end.
class ProgressBar {
public:
    bool operator()(const StreamlineSet::Progress& p) {
        const Clock::time_point now = Clock::now();
        if (drawn_ && now - last_ < std::chrono::milliseconds(100)) return true;
        last_ = now;
        drawn_ = true;
        const int width = 30;
        const int filled = std::clamp(static_cast<int>(p.covered * width + 0.5), 0, width);
        std::fprintf(stderr, "\r\033[K[%s%s] %3d %%  %zu points",
                     std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(width - filled), ' ').c_str(),
                     static_cast<int>(p.covered * 100.0 + 0.5), p.points);
        std::fflush(stderr);
        return true;
    }
    ~ProgressBar() {
        if (drawn_) std::fprintf(stderr, "\r\033[K");
    }

private:
    Clock::time_point last_;
    bool drawn_ = false;
};

// Start values of the viewer's settings, so that both place the same lines
// when nothing is given.
float startValue(const char* name) { return static_cast<float>(findSetting(name)->start); }

struct Options {
    std::string dataset;
    std::string output;
    Format format = Format::Csv;
    int seeds = -1;  // -1: evenly spaced
    float dt = startValue("stepSize");
    float dsep = startValue("dsep");
    float dtest = startValue("dtest");
    int memoryBudget = static_cast<int>(findSetting("memoryBudget")->start);  // MiB
    bool rk2 = false;
    bool unitSpeed = false;
    bool fit = false;
    bool stats = false;
    bool binary = false;
    int timestep = 0;
    bool allTimesteps = false;
    std::set<std::string> given;  // options named on the command line
};

struct UsageError {
    std::string message;
};

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The placement refuses these values too; here they are a usage error.
float positiveNumber(const std::string& option, const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const float v = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v) || !(v > 0.0f))
        throw UsageError{option + " needs a positive number, got '" + text + "'"};
    return v;
}

// A whole number in [low, high], or the usage error `problem`.
long wholeNumber(const std::string& text, long low, long high, const std::string& problem) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < low || v > high)
        throw UsageError{problem + ", got '" + text + "'"};
    return v;
}

int megabytes(const std::string& text) {
    return static_cast<int>(wholeNumber(text, 1, std::numeric_limits<int>::max(),
                                        "--memory-budget needs a whole number of MiB, at least 1"));
}

int stepNumber(const std::string& text) {
    return static_cast<int>(wholeNumber(text, 0, 999999, "--timestep needs a step number from 0"));
}

int seedCount(const std::string& text) {
    return static_cast<int>(wholeNumber(text, 0, 1000, "--seeded needs a seed count from 0 to 1000"));
}

std::string number(float v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

// One row per option: its name, the name of its value (none for a switch),
// what it means (further lines after '\n') and what it does to the options.
struct OptionRow {
    const char* name;
    const char* value;
    std::string meaning;
    void (*apply)(Options& o, const std::string& value);
};

const std::vector<OptionRow>& optionTable() {
    static const Options defaults;
    static const std::vector<OptionRow> table = {
        {"--seeded", "N", "N seeds on the diagonal of the domain, traced freely",
         [](Options& o, const std::string& v) { o.seeds = seedCount(v); }},
        {"--dt", "X", "integration step (default " + number(defaults.dt) + ")",
         [](Options& o, const std::string& v) { o.dt = positiveNumber("--dt", v); }},
        {"--dsep", "X", "separation distance (default " + number(defaults.dsep) + ")",
         [](Options& o, const std::string& v) { o.dsep = positiveNumber("--dsep", v); }},
        {"--dtest", "X", "test distance (default " + number(defaults.dtest) + ")",
         [](Options& o, const std::string& v) { o.dtest = positiveNumber("--dtest", v); }},
        {"--rk2", nullptr, "midpoint Runge-Kutta instead of Euler",
         [](Options& o, const std::string&) { o.rk2 = true; }},
        {"--unit-speed", nullptr, "step along the velocity's direction: dt is a step length",
         [](Options& o, const std::string&) { o.unitSpeed = true; }},
        {"--fit", nullptr,
         "dsep, dtest and dt fitted to the size of the dataset's box, with\n"
         "unit speed, as the viewer's \"Fit to data\" sets them, and printed;\n"
         "--dt, --dsep and --dtest given as well win",
         [](Options& o, const std::string&) { o.fit = true; }},
        {"--memory-budget", "MB",
         "memory the placement may use, in MiB (default " + std::to_string(defaults.memoryBudget) +
             ", a quarter\nof this machine's memory); a placement expected to need more is\nnot started",
         [](Options& o, const std::string& v) { o.memoryBudget = megabytes(v); }},
        {"--stats", nullptr,
         "print quality figures after the placement: lines, lengths,\n"
         "short lines, coverage within dsep, line ends by reason;\n"
         "then the time of loading, placing and writing and the\n"
         "placement's memory",
         [](Options& o, const std::string&) { o.stats = true; }},
        {"--timestep", "K", "place the lines in time step K (default 0)",
         [](Options& o, const std::string& v) { o.timestep = stepNumber(v); }},
        {"--all-timesteps", nullptr,
         "one output file per time step: OUT is a pattern with one %d\nfor the step, e.g. -o 'lines/l%04d.csv'",
         [](Options& o, const std::string&) { o.allTimesteps = true; }},
        {"-o", "OUT", "output file (.csv or .vtk)", [](Options& o, const std::string& v) { o.output = v; }},
        {"--binary", nullptr, "write the VTK file in binary (big-endian), not as text",
         [](Options& o, const std::string&) { o.binary = true; }},
    };
    return table;
}

std::string usage() {
    std::string text = std::string("Usage: ") + kProgram +
                       " DATASET.gri|DATASET.nc [options] -o OUT\n"
                       "Places streamlines (evenly spaced unless --seeded) and writes them to OUT,\n"
                       "as CSV (line,point,x,y,step,start_reason,end_reason) when OUT ends in .csv,\n"
                       "or as legacy VTK polydata when it ends in .vtk (the reasons as cell data).\n"
                       "A reason tells why that end of the line ended: left_domain, zero_velocity,\n"
                       "non_finite, too_close, midpoint_outside or step_cap.\n"
                       "\n"
                       "Options:\n";
    const std::size_t column = 22;
    auto row = [&](std::string left, const std::string& meaning) {
        left = "  " + left;
        left.resize(std::max(column, left.size() + 1), ' ');
        std::istringstream lines(meaning);
        std::string line;
        for (bool first = true; std::getline(lines, line); first = false)
            text += (first ? left : std::string(column, ' ')) + line + "\n";
    };
    for (const OptionRow& o : optionTable())
        row(std::string(o.name) + (o.value ? std::string(" ") + o.value : ""), o.meaning);
    row("-h, --help", "this text");
    row("--version", "the program's version");
    return text;
}

Options parse(int argc, char** argv) {
    Options o;
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        const OptionRow* row = nullptr;
        for (const OptionRow& r : optionTable())
            if (a == r.name) row = &r;
        if (row) {
            std::string value;
            if (row->value) {
                if (k + 1 >= argc) throw UsageError{a + " needs a value"};
                value = argv[++k];
            }
            row->apply(o, value);
            o.given.insert(row->name);
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError{"unknown option " + a + "; see " + kProgram + " --help"};
        } else if (o.dataset.empty()) {
            o.dataset = a;
        } else {
            throw UsageError{"more than one dataset given"};
        }
    }
    if (o.dataset.empty()) throw UsageError{"no dataset given"};
    if (o.output.empty()) throw UsageError{"no output file given (-o)"};
    if (endsWith(o.output, ".csv")) o.format = Format::Csv;
    else if (endsWith(o.output, ".vtk")) o.format = Format::Vtk;
    else throw UsageError{"the output file must end in .csv or .vtk"};
    if (o.binary && o.format != Format::Vtk) throw UsageError{"--binary needs a .vtk output file"};
    std::string name, error;
    if (o.allTimesteps && !formatStepName(o.output, 0, name, error)) throw UsageError{"--all-timesteps: " + error};
    return o;
}

// --help and --version answer whatever else is given.
bool answersQuestion(int argc, char** argv) {
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        if (a == "-h" || a == "--help") {
            std::cout << usage();
            return true;
        }
        if (a == "--version") {
            std::cout << kProgram << " " << QM_VERSION << "\n";
            return true;
        }
    }
    return false;
}

// Places the lines of the step loaded and writes them through the safe
// writer, so a failed write keeps the file that was there.
bool placeAndWrite(StreamlineSet& set, const Options& options, const std::string& output, double loading) {
    const Clock::time_point placing = Clock::now();
    if (options.seeds >= 0) {
        set.computeSeeded(options.seeds);
    } else {
        std::optional<ProgressBar> bar;
        if (isatty(STDERR_FILENO)) {
            bar.emplace();
            set.setProgressObserver([&bar](const StreamlineSet::Progress& p) { return (*bar)(p); });
        }
        set.computeEvenlySpaced();
        set.setProgressObserver(nullptr);
        std::cout.flush();
    }
    const double placement = millisecondsSince(placing);
    if (options.stats) {
        printPlacementQuality(std::cout, measurePlacement(set));
        std::size_t points = 0;
        for (const auto& line : set.streamlines()) points += line->points.size();
        const double bytes = set.memoryInUse();
        std::cout << "Loading time: " << std::llround(loading) << " ms\n"
                  << "Placement time: " << std::llround(placement) << " ms\n"
                  << "Placement memory: " << std::llround(bytes / 1048576.0) << " MiB";
        if (points > 0) std::cout << " (" << std::llround(bytes / static_cast<double>(points)) << " bytes per point)";
        std::cout << "\n";
        if (options.seeds < 0)
            std::cout << "Expected points: " << std::llround(set.estimateEvenlySpaced().points) << "\n";
    }
    std::cout.flush();

    const Clock::time_point writing = Clock::now();
    std::string why;
    const bool written = writeFileSafely(
        output,
        [&](std::ostream& out) {
            const bool ok = options.format == Format::Csv ? writeCsv(set.streamlines(), out)
                                                          : writeVtk(set.streamlines(), out, options.binary);
            if (!ok) out.setstate(std::ios::badbit);
        },
        &why);
    if (!written) {
        std::cerr << kProgram << ": cannot write " << output << (why.empty() ? "" : " (" + why + ")") << std::endl;
        return false;
    }
    if (options.stats) std::cout << "Writing time: " << std::llround(millisecondsSince(writing)) << " ms" << std::endl;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (answersQuestion(argc, argv)) return 0;
    Options options;
    try {
        options = parse(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << kProgram << ": " << e.message << "\n\n" << usage();
        return 2;
    }

    // Loaded as the viewer's opener does: velocity, then the node x and y
    // channels and the magnitude channel.
    const Clock::time_point started = Clock::now();
    FlowData data(nullptr);
    if (!loadDataset(data, options.dataset, options.allTimesteps ? 0 : options.timestep)) {
        std::cerr << kProgram << ": cannot load " << options.dataset << std::endl;
        return 1;
    }
    const int xSlot = data.createCoordinateChannel(0);
    const int ySlot = data.createCoordinateChannel(1);
    const int magnitudeSlot = data.createMagnitudeChannel(0, 1, 2);
    if (xSlot < 0 || ySlot < 0) {
        std::cerr << kProgram << ": no free channel slot for the node coordinates" << std::endl;
        return 1;
    }

    // The placement depends only on the settings, so these lines are the
    // viewer's with the same settings, however it came by them.
    const double loading = millisecondsSince(started);
    StreamlineSet set(&data, xSlot, ySlot, options.dt, options.dsep, options.dtest);
    set.setIntegration(options.rk2 ? IntegrationMethod::RungeKutta : IntegrationMethod::Euler);
    set.setUnitSpeed(options.unitSpeed ? 1 : 0);
    set.setMemoryBudget(static_cast<double>(options.memoryBudget) * 1048576.0);
    if (options.fit) {
        const FittedSettings fit = fitToBox(set.domainBox());
        std::cout << describeFit(set.domainBox(), fit) << std::endl;
        applyFit(set, fit);
        if (options.given.count("--dt")) set.setStepSize(options.dt);
        if (options.given.count("--dsep")) set.setSeparation(options.dsep);
        if (options.given.count("--dtest")) set.setTestDistance(options.dtest);
    }
    if (!options.allTimesteps) return placeAndWrite(set, options, options.output, loading) ? 0 : 1;

    // One step after the other in the same set, as the viewer steps through them.
    int failed = 0;
    for (int step = 0; step < data.stepCount(); ++step) {
        std::string name, error;
        formatStepName(options.output, step, name, error);
        const std::filesystem::path folder = std::filesystem::path(name).parent_path();
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
        if (step > 0 && !data.loadTimeStep(step)) {
            std::cerr << kProgram << ": time step " << step << " not written" << std::endl;
            ++failed;
            continue;
        }
        data.updateMagnitudeChannel(magnitudeSlot, 0, 1, 2);
        if (!placeAndWrite(set, options, name, loading)) ++failed;
    }
    return failed == 0 ? 0 : 1;
}
