// quillmere-flowgen: writes analytic 2D flow datasets (NAME.gri + NAME.00000.dat)
// for the demo, the tests and manual experiments, through the core's dataset writer.
//
// Every field is defined relative to the domain centre (X, Y) and scaled so that
// its peak speed inside the domain is --speed.

#include "common/Usage.h"
#include "data/DatasetWriter.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

const char* const kProgram = "quillmere-flowgen";
const char* const kSynopsis = "Usage: quillmere-flowgen --field NAME -o BASE [options]";

std::string helpText() {
    return formatHelp(
        kSynopsis, "Writes BASE.gri and BASE.00000.dat (one data file per time step with --steps).",
        {{"Fields (peak speed inside the domain = --speed; X, Y relative to the centre):",
          {{"uniform", "constant flow along --angle degrees"},
           {"rotation", "rigid rotation, counter-clockwise"},
           {"saddle", "(X, -Y) stagnation point at the centre"},
           {"sink", "-(X, Y) linear sink, velocity exactly zero at the centre"},
           {"gyre",
            "double gyre, one gyre in each half of the domain along x; at times other than 0 the gyres' border "
            "moves to and fro (amplitude 0.25 of the half width, period 10)"},
           {"vortex", "Lamb-Oseen vortex, core radius min(width, height) / 8"},
           {"cylinder",
            "potential flow along +x around a cylinder of radius min(width, height) / 4; velocity exactly zero "
            "inside"},
           {"cavity",
            "lid-driven cavity: the top wall moves along +x (fastest in its middle), the other walls are at rest, "
            "one main vortex below the lid (stream function 8 s^2 (1-s)^2 (t^4 - t^2) in the domain's unit "
            "coordinates s, t)"}}},
         {"Options:",
          {{"--field NAME", "the field, one of the above (required)"},
           {"-o BASE", "output base path (required)"},
           {"--nx N, --ny N", "node counts along x and y (default 65 65)"},
           {"--x0 A --x1 B", "domain along x, A < B (default -1 1)"},
           {"--y0 A --y1 B", "domain along y, A < B (default -1 1)"},
           {"--speed U", "peak speed (default 1)"},
           {"--angle DEG", "direction of the uniform field (default 0)"},
           {"--channels N",
            "data channels, 0..64 (default 2): 1 vorticity, 2 pressure -|v|^2/2, k >= 3: k + (column / (nx - 1))"},
           {"--steps N", "time steps, 1..100000 (default 1); step k is at time T + k * D. Only the gyre changes "
                         "with time."},
           {"--time T", "time of step 0 (default 0)"},
           {"--dtime D", "time between steps (default 1)"},
           {"--spacing KIND", "uniform | stretched (nodes denser towards the centre)"},
           {"--flipped", "store nodes with y varying fastest"},
           {"--swap", "write big-endian floats"},
           {"--nan-patch", "velocities NaN in a disc (default: the centre, radius min(width, height) / 10)"},
           {"--nan-x X --nan-y Y --nan-r R", "place that disc (world coordinates)"},
           {"--broken KIND", "short-grid | short-data | dims2 | bad-magic | few-values | huge"},
           {"-h, --help", "print this help and exit"},
           {"--version", "print the version and exit"}}}});
}

enum class Field { Uniform, Rotation, Saddle, Sink, Gyre, Vortex, Cylinder, Cavity };
enum class Broken { None, ShortGrid, ShortData, Dims2, BadMagic, FewValues, Huge };

struct Options {
    Field field = Field::Uniform;
    bool fieldGiven = false;
    long nx = 65;
    long ny = 65;
    double x0 = -1.0, x1 = 1.0, y0 = -1.0, y1 = 1.0;
    double speed = 1.0;
    double angleDeg = 0.0;
    int channels = 2;
    long steps = 1;
    double time = 0.0;
    double dtime = 1.0;
    bool stretched = false;
    bool flipped = false;
    bool swap = false;
    bool nanPatch = false;
    double nanX = std::numeric_limits<double>::quiet_NaN();
    double nanY = std::numeric_limits<double>::quiet_NaN();
    double nanR = std::numeric_limits<double>::quiet_NaN();
    Broken broken = Broken::None;
    std::string base;
};

struct UsageError {
    std::string message;
};

bool parseField(const std::string& s, Field& f) {
    static const struct {
        const char* name;
        Field field;
    } table[] = {{"uniform", Field::Uniform},   {"rotation", Field::Rotation}, {"saddle", Field::Saddle},
                 {"sink", Field::Sink},         {"gyre", Field::Gyre},         {"vortex", Field::Vortex},
                 {"cylinder", Field::Cylinder}, {"cavity", Field::Cavity}};
    for (const auto& e : table) {
        if (s == e.name) {
            f = e.field;
            return true;
        }
    }
    return false;
}

bool parseBroken(const std::string& s, Broken& b) {
    static const struct {
        const char* name;
        Broken kind;
    } table[] = {{"short-grid", Broken::ShortGrid}, {"short-data", Broken::ShortData}, {"dims2", Broken::Dims2},
                 {"bad-magic", Broken::BadMagic},   {"few-values", Broken::FewValues}, {"huge", Broken::Huge}};
    for (const auto& e : table) {
        if (s == e.name) {
            b = e.kind;
            return true;
        }
    }
    return false;
}

double toDouble(const std::string& flag, const std::string& s) {
    try {
        size_t used = 0;
        double v = std::stod(s, &used);
        if (used == s.size() && std::isfinite(v)) return v;
    } catch (...) {
    }
    throw UsageError{"invalid number for " + flag + ": '" + s + "'"};
}

long toLong(const std::string& flag, const std::string& s, long lo, long hi) {
    try {
        size_t used = 0;
        long v = std::stol(s, &used);
        if (used == s.size() && v >= lo && v <= hi) return v;
    } catch (...) {
    }
    throw UsageError{"invalid value for " + flag + ": '" + s + "' (allowed " + std::to_string(lo) + ".." +
                     std::to_string(hi) + ")"};
}

Options parseArgs(int argc, char** argv, bool& help, bool& version) {
    Options o;
    help = false;
    version = false;
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        auto value = [&]() -> std::string {
            if (k + 1 >= argc) throw UsageError{"missing value for " + a};
            return argv[++k];
        };
        if (isHelpOption(a)) {
            help = true;
        } else if (isVersionOption(a)) {
            version = true;
        } else if (a == "--field") {
            const std::string v = value();
            if (!parseField(v, o.field)) throw UsageError{"unknown field '" + v + "'"};
            o.fieldGiven = true;
        } else if (a == "--nx") {
            o.nx = toLong(a, value(), 0, 1000000);
        } else if (a == "--ny") {
            o.ny = toLong(a, value(), 0, 1000000);
        } else if (a == "--x0") {
            o.x0 = toDouble(a, value());
        } else if (a == "--x1") {
            o.x1 = toDouble(a, value());
        } else if (a == "--y0") {
            o.y0 = toDouble(a, value());
        } else if (a == "--y1") {
            o.y1 = toDouble(a, value());
        } else if (a == "--speed") {
            o.speed = toDouble(a, value());
        } else if (a == "--angle") {
            o.angleDeg = toDouble(a, value());
        } else if (a == "--channels") {
            o.channels = static_cast<int>(toLong(a, value(), 0, 64));
        } else if (a == "--steps") {
            o.steps = toLong(a, value(), 1, 100000);
        } else if (a == "--time") {
            o.time = toDouble(a, value());
        } else if (a == "--dtime") {
            o.dtime = toDouble(a, value());
        } else if (a == "--spacing") {
            const std::string v = value();
            if (v == "uniform") o.stretched = false;
            else if (v == "stretched") o.stretched = true;
            else throw UsageError{"unknown spacing '" + v + "'"};
        } else if (a == "--flipped") {
            o.flipped = true;
        } else if (a == "--swap") {
            o.swap = true;
        } else if (a == "--nan-patch") {
            o.nanPatch = true;
        } else if (a == "--nan-x") {
            o.nanX = toDouble(a, value());
            o.nanPatch = true;
        } else if (a == "--nan-y") {
            o.nanY = toDouble(a, value());
            o.nanPatch = true;
        } else if (a == "--nan-r") {
            o.nanR = toDouble(a, value());
            o.nanPatch = true;
        } else if (a == "--broken") {
            const std::string v = value();
            if (!parseBroken(v, o.broken)) throw UsageError{"unknown broken kind '" + v + "'"};
        } else if (a == "-o") {
            o.base = value();
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError{"unknown option '" + a + "'"};
        } else {
            throw UsageError{"unexpected argument '" + a + "'"};
        }
    }
    if (help || version) return o;
    if (!o.fieldGiven) throw UsageError{"--field is required"};
    if (o.base.empty()) throw UsageError{"-o BASE is required"};
    if (!(o.x0 < o.x1) || !(o.y0 < o.y1)) throw UsageError{"the domain needs x0 < x1 and y0 < y1"};
    // Keep files below 4 GiB so a typo cannot fill the disk.
    const double bytes = double(o.nx) * double(o.ny) * (3.0 + o.channels) * 4.0;
    if (bytes > 4.0 * 1024 * 1024 * 1024) throw UsageError{"dataset too large"};
    if (bytes * double(o.steps) > 16.0 * 1024 * 1024 * 1024) throw UsageError{"time series too large"};
    return o;
}

// Node parameter in [0, 1]. The stretched mapping is odd about 0.5, so the
// centre stays exactly at 0.5 and the spacing there is 1 / cosh(2) of the edges'.
double nodeParam(long i, long n, bool stretched) {
    if (n < 2) return 0.0;
    if (i == 0) return 0.0;
    if (i == n - 1) return 1.0;
    const double t = double(i) / double(n - 1);
    if (!stretched) return t;
    const double beta = 2.0;
    return 0.5 + 0.5 * std::sinh(beta * (2.0 * t - 1.0)) / std::sinh(beta);
}

struct Sample {
    double u = 0.0, v = 0.0, vorticity = 0.0;
};

// Peak of (1 - exp(-s^2)) / s, the Lamb-Oseen profile in units of the core radius.
double lambOseenPeak() {
    double t = 1.25;  // s^2 at the peak solves exp(t) = 1 + 2t
    for (int k = 0; k < 20; ++k) t -= (std::exp(t) - 1.0 - 2.0 * t) / (std::exp(t) - 2.0);
    const double s = std::sqrt(t);
    return -std::expm1(-t) / s;
}

class FieldModel {
public:
    explicit FieldModel(const Options& o)
        : field_(o.field),
          speed_(o.speed),
          angle_(o.angleDeg * kPi / 180.0),
          width_(o.x1 - o.x0),
          height_(o.y1 - o.y0),
          rmax_(0.5 * std::hypot(width_, height_)),
          minSide_(std::min(width_, height_)),
          vortexPeak_(lambOseenPeak()) {}

    // X, Y relative to the domain centre, at time t.
    Sample at(double X, double Y, double t) const {
        Sample s;
        const double U = speed_;
        switch (field_) {
        case Field::Uniform:
            s.u = U * std::cos(angle_);
            s.v = U * std::sin(angle_);
            break;
        case Field::Rotation: {
            const double w = U / rmax_;
            s.u = -w * Y;
            s.v = w * X;
            s.vorticity = 2.0 * w;
            break;
        }
        case Field::Saddle: {
            const double k = U / rmax_;
            s.u = k * X;
            s.v = -k * Y;
            break;
        }
        case Field::Sink: {
            const double k = U / rmax_;
            s.u = -k * X;
            s.v = -k * Y;
            break;
        }
        case Field::Gyre: {
            const double shift = kGyreAmplitude * std::sin(kGyreOmega * t);
            if (shift != 0.0) {
                s = movingGyre(X, Y, shift);
                break;
            }
            // psi = A sin(kx (x - x0)) sin(ky (y - y0)), u = -dpsi/dy, v = dpsi/dx.
            const double kx = 2.0 * kPi / width_;
            const double ky = kPi / height_;
            const double a = U / std::max(kx, ky);
            const double px = kx * (X + 0.5 * width_);
            const double py = ky * (Y + 0.5 * height_);
            s.u = -a * ky * std::sin(px) * std::cos(py);
            s.v = a * kx * std::cos(px) * std::sin(py);
            s.vorticity = -a * (kx * kx + ky * ky) * std::sin(px) * std::sin(py);
            break;
        }
        case Field::Vortex: {
            const double rc = minSide_ / 8.0;
            const double r = std::hypot(X, Y);
            const double q = (r / rc) * (r / rc);
            if (r > 0.0) {
                const double vt = U / vortexPeak_ * (rc / r) * -std::expm1(-q);
                s.u = -vt * Y / r;
                s.v = vt * X / r;
            }
            s.vorticity = 2.0 * U / (vortexPeak_ * rc) * std::exp(-q);
            break;
        }
        case Field::Cylinder: {
            const double R = minSide_ / 4.0;
            const double r2 = X * X + Y * Y;
            if (r2 >= R * R) {
                const double uInf = 0.5 * U;  // peak 2 uInf on the cylinder's top and bottom
                const double r4 = r2 * r2;
                s.u = uInf * (1.0 - R * R * (X * X - Y * Y) / r4);
                s.v = -uInf * 2.0 * R * R * X * Y / r4;
            }
            break;
        }
        case Field::Cavity: {
            // psi = U h 8 f(s) g(t) with f = s^2 (1 - s)^2, g = t^4 - t^2: no
            // flow through the walls, at rest on all but the lid (t = 1),
            // where u = 16 U f(s) peaks at U.
            const double sx = X / width_ + 0.5;
            const double ty = Y / height_ + 0.5;
            const double f = sx * sx * (1.0 - sx) * (1.0 - sx);
            const double df = 4.0 * sx * sx * sx - 6.0 * sx * sx + 2.0 * sx;
            const double ddf = 12.0 * sx * sx - 12.0 * sx + 2.0;
            const double g = ty * ty * ty * ty - ty * ty;
            const double dg = 4.0 * ty * ty * ty - 2.0 * ty;
            const double ddg = 12.0 * ty * ty - 2.0;
            s.u = 8.0 * U * f * dg;
            s.v = -8.0 * U * height_ / width_ * df * g;
            s.vorticity = -8.0 * U * (height_ / (width_ * width_) * ddf * g + f * ddg / height_);
            break;
        }
        }
        return s;
    }

private:
    // The gyres' border at x2 = f(x2) = 1 with f = a x2^2 + (1 - 2a) x2 on
    // x2 in [0, 2], y1 in [0, 1]: psi = A sin(pi f) sin(pi y1). At a = 0
    // this is the steady gyre above (computed there, so that steady files
    // keep their bits).
    Sample movingGyre(double X, double Y, double a) const {
        const double x2 = 2.0 * (X + 0.5 * width_) / width_;
        const double y1 = (Y + 0.5 * height_) / height_;
        const double sx = 2.0 / width_;   // d x2 / dX
        const double sy = 1.0 / height_;  // d y1 / dY
        const double amp = speed_ / std::max(2.0 * kPi / width_, kPi / height_);
        const double f = a * x2 * x2 + (1.0 - 2.0 * a) * x2;
        const double df = 2.0 * a * x2 + 1.0 - 2.0 * a;
        const double sf = std::sin(kPi * f), cf = std::cos(kPi * f);
        const double sy1 = std::sin(kPi * y1), cy1 = std::cos(kPi * y1);
        Sample s;
        s.u = -amp * sf * kPi * sy * cy1;
        s.v = amp * kPi * cf * df * sx * sy1;
        const double dvdx = amp * kPi * sx * sx * sy1 * (-kPi * sf * df * df + cf * 2.0 * a);
        const double dudy = amp * kPi * kPi * sy * sy * sf * sy1;
        s.vorticity = dvdx - dudy;
        return s;
    }

    static constexpr double kGyreAmplitude = 0.25;
    static constexpr double kGyreOmega = 2.0 * kPi / 10.0;

    Field field_;
    double speed_, angle_, width_, height_, rmax_, minSide_, vortexPeak_;
};

std::vector<float> nodeCoordinates(long n, double first, double last, bool stretched) {
    std::vector<float> values;
    for (long i = 0; i < n; ++i) {
        const double s = nodeParam(i, n, stretched);
        values.push_back(float((1.0 - s) * first + s * last));
    }
    return values;
}

DatasetWriter makeWriter(const Options& o) {
    const FieldModel model(o);
    const double width = o.x1 - o.x0, height = o.y1 - o.y0;
    const double nanX = std::isnan(o.nanX) ? 0.5 * (o.x0 + o.x1) : o.nanX;
    const double nanY = std::isnan(o.nanY) ? 0.5 * (o.y0 + o.y1) : o.nanY;
    const double nanR = std::isnan(o.nanR) ? std::min(width, height) / 10.0 : o.nanR;

    DatasetWriter writer(nodeCoordinates(o.nx, o.x0, o.x1, o.stretched),
                         nodeCoordinates(o.ny, o.y0, o.y1, o.stretched));
    writer.flipped(o.flipped).bigEndian(o.swap).dataChannels(o.channels);
    writer.records([=](const DatasetWriter::Node& node, float* out) {
        const double sx = nodeParam(node.i, o.nx, o.stretched);
        const double sy = nodeParam(node.j, o.ny, o.stretched);
        const double t = o.time + double(node.step) * o.dtime;
        const Sample s = model.at((sx - 0.5) * width, (sy - 0.5) * height, t);
        out[0] = float(s.u);
        out[1] = float(s.v);
        if (o.nanPatch && std::hypot(double(node.x) - nanX, double(node.y) - nanY) < nanR)
            out[0] = out[1] = out[2] = std::numeric_limits<float>::quiet_NaN();
        if (o.channels >= 1) out[3] = float(s.vorticity);
        if (o.channels >= 2) out[4] = float(-0.5 * (s.u * s.u + s.v * s.v));
        const double column = o.nx > 1 ? double(node.i) / double(o.nx - 1) : 0.0;
        for (int k = 3; k <= o.channels; ++k) out[2 + k] = float(k + column);
    });

    DatasetHeader header;
    header.dimX = o.nx;
    header.dimY = o.ny;
    header.channels = o.channels;
    header.steps = o.steps;
    if (o.broken == Broken::Huge) header.dimX = header.dimY = 2000000000LL;
    if (o.broken == Broken::Dims2) header.dimZ = 2;
    if (o.broken == Broken::BadMagic) header.magic = "SN4DX";
    if (o.broken == Broken::FewValues) header.numbers = 4;
    writer.header(header);
    return writer;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    bool help = false;
    bool version = false;
    try {
        o = parseArgs(argc, argv, help, version);
    } catch (const UsageError& e) {
        std::cerr << usageError(kProgram, e.message, kSynopsis);
        return 2;
    }
    if (help) {
        std::cout << helpText();
        return 0;
    }
    if (version) {
        std::cout << versionLine(kProgram);
        return 0;
    }

    const DatasetWriter writer = makeWriter(o);
    std::string grid = writer.gridBytes();
    // One float short: the last record is incomplete.
    if (o.broken == Broken::ShortGrid) grid.resize(grid.size() >= 44 ? grid.size() - 4 : 40);

    const std::string gridPath = o.base + ".gri";
    const std::string dataPath = DatasetWriter::dataFileName(o.base, 0);
    try {
        DatasetWriter::writeFile(gridPath, grid);
        // One step in memory at a time.
        for (int step = 0; step < o.steps; ++step) {
            std::string data = writer.dataBytes(step);
            if (o.broken == Broken::ShortData && step == o.steps - 1)
                data.resize(data.size() >= 4 ? data.size() - 4 : 0);
            DatasetWriter::writeFile(DatasetWriter::dataFileName(o.base, step), data);
        }
    } catch (const DatasetWriteError& e) {
        std::cerr << "quillmere-flowgen: " << e.what() << "\n";
        return 1;
    }
    if (o.steps == 1)
        std::cout << "Wrote " << gridPath << " and " << dataPath << " (" << o.nx << " x " << o.ny << " nodes, "
                  << o.channels << " channels)\n";
    else
        std::cout << "Wrote " << gridPath << " and " << o.steps << " data files " << dataPath << " to "
                  << DatasetWriter::dataFileName(o.base, static_cast<int>(o.steps) - 1) << " (" << o.nx << " x " << o.ny
                  << " nodes, " << o.channels << " channels)\n";
    return 0;
}
