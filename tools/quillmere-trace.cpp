// quillmere-trace: places streamlines in a dataset the way the viewer does
// and writes them as CSV or legacy VTK, for inspection and for tests.

#include "app/FramePattern.h"
#include "data/FlowData.h"
#include "formats/Importer.h"
#include "streamlines/FitToData.h"
#include "streamlines/PlacementQuality.h"
#include "streamlines/StreamlineSet.h"
#include "streamlines/TerminationReason.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

const char* const kUsage =
    "Usage: quillmere-trace DATASET.gri|DATASET.nc [options] -o OUT\n"
    "Places streamlines (evenly spaced unless --seeded) and writes them to OUT,\n"
    "as CSV (line,point,x,y,step,start_reason,end_reason) when OUT ends in .csv,\n"
    "or as legacy VTK polydata when it ends in .vtk (the reasons as cell data).\n"
    "A reason tells why that end of the line ended: left_domain, zero_velocity,\n"
    "non_finite, too_close, midpoint_outside or step_cap.\n"
    "\n"
    "Options:\n"
    "  --seeded N   N seeds on the diagonal of the domain, traced freely\n"
    "  --dt X       integration step (default 0.005)\n"
    "  --dsep X     separation distance (default 0.4)\n"
    "  --dtest X    test distance (default 0.2)\n"
    "  --rk2        midpoint Runge-Kutta instead of Euler\n"
    "  --unit-speed step along the velocity's direction: dt is a step length\n"
    "  --fit        dsep, dtest and dt fitted to the size of the dataset's box, with\n"
    "               unit speed and a first seed sought away from a resting centre,\n"
    "               as the viewer's \"Fit to data\" sets them, and printed;\n"
    "               --dt, --dsep and --dtest given as well win\n"
    "  --stats      print quality figures after the placement: lines, lengths,\n"
    "               short lines, coverage within dsep, line ends by reason\n"
    "  --timestep K place the lines in time step K (default 0)\n"
    "  --all-timesteps  one output file per time step: OUT is a pattern with\n"
    "               one %d for the step, e.g. -o 'lines/l%04d.csv'\n"
    "  -o OUT       output file (.csv or .vtk)\n";

enum class Format { Csv, Vtk };

struct Options {
    std::string dataset;
    std::string output;
    Format format = Format::Csv;
    int seeds = -1;  // -1: evenly spaced
    float dt = 0.005f;
    float dsep = 0.4f;
    float dtest = 0.2f;
    bool rk2 = false;
    bool unitSpeed = false;
    bool fit = false;
    bool stats = false;
    int timestep = 0;
    bool allTimesteps = false;
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

int seedCount(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < 0 || v > 1000)
        throw UsageError{"--seeded needs a seed count from 0 to 1000, got '" + text + "'"};
    return static_cast<int>(v);
}

int stepNumber(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < 0 || v > 999999)
        throw UsageError{"--timestep needs a step number from 0, got '" + text + "'"};
    return static_cast<int>(v);
}

Options parse(int argc, char** argv) {
    Options o;
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        auto value = [&]() -> std::string {
            if (k + 1 >= argc) throw UsageError{a + " needs a value"};
            return argv[++k];
        };
        if (a == "--seeded") o.seeds = seedCount(value());
        else if (a == "--dt") o.dt = positiveNumber(a, value());
        else if (a == "--dsep") o.dsep = positiveNumber(a, value());
        else if (a == "--dtest") o.dtest = positiveNumber(a, value());
        else if (a == "--rk2") o.rk2 = true;
        else if (a == "--unit-speed") o.unitSpeed = true;
        else if (a == "--fit") o.fit = true;
        else if (a == "--stats") o.stats = true;
        else if (a == "--timestep") o.timestep = stepNumber(value());
        else if (a == "--all-timesteps") o.allTimesteps = true;
        else if (a == "-o") o.output = value();
        else if (!a.empty() && a[0] == '-') throw UsageError{"unknown option " + a};
        else if (o.dataset.empty()) o.dataset = a;
        else throw UsageError{"more than one dataset given"};
    }
    if (o.dataset.empty()) throw UsageError{"no dataset given"};
    if (o.output.empty()) throw UsageError{"no output file given (-o)"};
    if (endsWith(o.output, ".csv")) o.format = Format::Csv;
    else if (endsWith(o.output, ".vtk")) o.format = Format::Vtk;
    else throw UsageError{"the output file must end in .csv or .vtk"};
    std::string name, error;
    if (o.allTimesteps && !formatStepName(o.output, 0, name, error)) throw UsageError{"--all-timesteps: " + error};
    return o;
}

bool writeCsv(const StreamlineSet& set, std::FILE* f) {
    std::fprintf(f, "line,point,x,y,step,start_reason,end_reason\n");
    const auto& lines = set.streamlines();
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const auto& points = lines[l]->points;
        const char* start = terminationReasonName(lines[l]->startReason);
        const char* end = terminationReasonName(lines[l]->endReason);
        for (std::size_t k = 0; k < points.size(); ++k)
            std::fprintf(f, "%zu,%zu,%.9g,%.9g,%d,%s,%s\n", l, k, static_cast<double>(points[k]->x()),
                         static_cast<double>(points[k]->y()), points[k]->index(), start, end);
    }
    return !std::ferror(f);
}

// The codes of the two cell fields, for the title line: the legacy format
// has no other place for a comment.
std::string reasonLookup() {
    std::string text = "start_reason and end_reason:";
    for (int r = 0; r < terminationReasonCount; ++r) {
        text += (r == 0 ? " " : ", ") + std::to_string(r) + " ";
        text += terminationReasonName(static_cast<TerminationReason>(r));
    }
    return text;
}

// Lines without points have no cell: a polyline needs at least one point.
bool writeVtk(const StreamlineSet& set, std::FILE* f) {
    std::size_t pointCount = 0;
    std::size_t lineCount = 0;
    for (const auto& line : set.streamlines()) {
        pointCount += line->points.size();
        if (!line->points.empty()) ++lineCount;
    }
    std::fprintf(f, "# vtk DataFile Version 3.0\nquillmere-trace streamlines; %s\nASCII\nDATASET POLYDATA\n",
                 reasonLookup().c_str());
    std::fprintf(f, "POINTS %zu float\n", pointCount);
    for (const auto& line : set.streamlines())
        for (const StreamPoint* p : line->points)
            std::fprintf(f, "%.9g %.9g 0\n", static_cast<double>(p->x()), static_cast<double>(p->y()));
    std::fprintf(f, "LINES %zu %zu\n", lineCount, pointCount + lineCount);
    std::size_t next = 0;
    for (const auto& line : set.streamlines()) {
        if (line->points.empty()) continue;
        std::fprintf(f, "%zu", line->points.size());
        for (std::size_t k = 0; k < line->points.size(); ++k) std::fprintf(f, " %zu", next++);
        std::fprintf(f, "\n");
    }
    std::fprintf(f, "POINT_DATA %zu\nSCALARS step int 1\nLOOKUP_TABLE default\n", pointCount);
    for (const auto& line : set.streamlines())
        for (const StreamPoint* p : line->points) std::fprintf(f, "%d\n", p->index());
    std::fprintf(f, "CELL_DATA %zu\nFIELD ends 2\n", lineCount);
    for (const bool start : {true, false}) {
        std::fprintf(f, "%s 1 %zu int\n", start ? "start_reason" : "end_reason", lineCount);
        for (const auto& line : set.streamlines())
            if (!line->points.empty())
                std::fprintf(f, "%d\n", static_cast<int>(start ? line->startReason : line->endReason));
    }
    return !std::ferror(f);
}

bool placeAndWrite(StreamlineSet& set, const Options& options, const std::string& output) {
    if (options.seeds >= 0) set.computeSeeded(options.seeds);
    else set.computeEvenlySpaced();
    if (options.stats) printPlacementQuality(std::cout, measurePlacement(set));
    std::cout.flush();

    std::FILE* f = std::fopen(output.c_str(), "w");
    if (!f) {
        std::cerr << "quillmere-trace: cannot write " << output << std::endl;
        return false;
    }
    const bool written = options.format == Format::Csv ? writeCsv(set, f) : writeVtk(set, f);
    if (std::fclose(f) != 0 || !written) {
        std::cerr << "quillmere-trace: cannot write " << output << std::endl;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parse(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << "quillmere-trace: " << e.message << "\n\n" << kUsage;
        return 2;
    }

    // Loaded as the viewer's opener does: velocity, then the node x and y
    // channels and the magnitude channel.
    FlowData data(nullptr);
    if (!loadDataset(data, options.dataset, options.allTimesteps ? 0 : options.timestep)) {
        std::cerr << "quillmere-trace: cannot load " << options.dataset << std::endl;
        return 1;
    }
    const int xSlot = data.createCoordinateChannel(0);
    const int ySlot = data.createCoordinateChannel(1);
    const int magnitudeSlot = data.createMagnitudeChannel(0, 1, 2);
    if (xSlot < 0 || ySlot < 0) {
        std::cerr << "quillmere-trace: no free channel slot for the node coordinates" << std::endl;
        return 1;
    }

    // Built as the viewer's opener builds it, from the panel's start values,
    // then changed the way the viewer applies the same settings: a new dt
    // re-sizes the point caches for the dsep in force, a new dsep keeps them.
    // So "-stepSize X -dsep Y" in the viewer and "--dt X --dsep Y" here place
    // the same lines.
    const Options start;
    StreamlineSet set(&data, xSlot, ySlot, start.dt, start.dsep, start.dtest);
    set.setIntegration(options.rk2 ? IntegrationMethod::RungeKutta : IntegrationMethod::Euler);
    set.setUnitSpeed(options.unitSpeed ? 1 : 0);
    if (options.fit) {
        const FittedSettings fit = fitToBox(set.domainBox());
        std::cout << describeFit(set.domainBox(), fit) << std::endl;
        applyFit(set, fit);
    }
    if (options.dt != start.dt) set.setStepSize(options.dt);
    if (options.dsep != start.dsep) set.setSeparation(options.dsep);
    if (options.dtest != start.dtest) set.setTestDistance(options.dtest);
    if (!options.allTimesteps) return placeAndWrite(set, options, options.output) ? 0 : 1;

    // One step after the other in the same set, as the viewer steps through them.
    int failed = 0;
    for (int step = 0; step < data.stepCount(); ++step) {
        std::string name, error;
        formatStepName(options.output, step, name, error);
        const std::filesystem::path folder = std::filesystem::path(name).parent_path();
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
        if (step > 0 && !data.loadTimeStep(step)) {
            std::cerr << "quillmere-trace: time step " << step << " not written" << std::endl;
            ++failed;
            continue;
        }
        data.updateMagnitudeChannel(magnitudeSlot, 0, 1, 2);
        if (!placeAndWrite(set, options, name)) ++failed;
    }
    return failed == 0 ? 0 : 1;
}
