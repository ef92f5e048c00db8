// quillmere-convert: turns another tool's flow data (NetCDF, CSV) into a
// dataset of our own: OUT.gri, one data file per time step and the channel
// names in OUT.names.

#include "formats/CsvImporter.h"
#include "formats/NetcdfImporter.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

namespace {

const char* const kUsage =
    "Usage: quillmere-convert IN.nc|IN.csv OUT.gri [--u NAME --v NAME]\n"
    "Writes OUT.gri, OUT.00000.dat (one data file per time step) and the data\n"
    "channel names in OUT.names.\n"
    "\n"
    "NetCDF: the velocity is found by CF standard names (eastward_*/northward_*,\n"
    "x/y velocity or wind) or the names u/v, U/V, vx/vy, uo/vo; the grid by the\n"
    "coordinates' axis, standard_name, units or name; a time dimension gives the\n"
    "time steps, further variables on the same grid the data channels (up to\n"
    "10). Packed values are unpacked, _FillValue and missing_value become NaN,\n"
    "descending coordinates are reversed, a single vertical level is dropped.\n"
    "CSV: a header row x,y,u,v[,more columns as data channels], one row per\n"
    "node of a rectilinear grid, in any order.\n"
    "\n"
    "Options:\n"
    "  --u NAME, --v NAME  the velocity variables of a NetCDF file\n"
    "  --version           print the version\n"
    "  --help              this text\n";

struct UsageError {
    std::string message;
};

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

struct Options {
    std::string input;
    std::string output;
    std::string u;
    std::string v;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        auto value = [&]() -> std::string {
            if (k + 1 >= argc) throw UsageError{a + " needs a value"};
            return argv[++k];
        };
        if (a == "--u") o.u = value();
        else if (a == "--v") o.v = value();
        else if (!a.empty() && a[0] == '-') throw UsageError{"unknown option " + a};
        else if (o.input.empty()) o.input = a;
        else if (o.output.empty()) o.output = a;
        else throw UsageError{"more than one output given"};
    }
    if (o.input.empty() || o.output.empty()) throw UsageError{"give the input and the output file"};
    if (!endsWith(o.output, ".gri")) throw UsageError{"the output file must end in .gri"};
    if (o.u.empty() != o.v.empty()) throw UsageError{"give both --u and --v"};
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (a == "--version") {
            std::cout << "quillmere-convert " << QM_VERSION << "\n";
            return 0;
        }
    }
    Options o;
    try {
        o = parse(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << "quillmere-convert: " << e.message << "\n\n" << kUsage;
        return 2;
    }

    std::string error;
    std::unique_ptr<Importer> importer;
    if (endsWith(o.input, ".csv") || endsWith(o.input, ".CSV")) {
        if (!o.u.empty()) {
            std::cerr << "quillmere-convert: --u and --v name NetCDF variables; a table has x, y, u, v\n";
            return 2;
        }
        importer = CsvImporter::open(o.input, error);
    } else {
        importer = NetcdfImporter::open(o.input, o.u, o.v, error);
    }
    if (!importer) {
        std::cerr << "quillmere-convert: " << o.input << ": " << error << "\n";
        return 1;
    }
    for (const std::string& line : importer->report) std::cout << line << "\n";

    const std::string base = o.output.substr(0, o.output.size() - 4);
    const std::filesystem::path folder = std::filesystem::path(o.output).parent_path();
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
    if (!writeImported(*importer, base, error)) {
        std::cerr << "quillmere-convert: " << error << "\n";
        return 1;
    }
    std::cout << "Wrote " << o.output << " and " << importer->stepCount << " data file"
              << (importer->stepCount == 1 ? "" : "s") << " (" << importer->xs.size() << " x " << importer->ys.size()
              << " nodes, data channels: " << importer->channelCount() << ")\n";
    return 0;
}
