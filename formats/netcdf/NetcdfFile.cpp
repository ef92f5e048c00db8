#include "formats/NetcdfModule.h"

#include <netcdf.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <memory>
#include <sstream>

namespace {

enum class Role { Unknown, X, Y, Z, T };

const char* roleName(Role role) {
    switch (role) {
    case Role::X: return "x";
    case Role::Y: return "y";
    case Role::Z: return "a vertical level";
    case Role::T: return "time";
    default: return "unknown";
    }
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool startsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

bool isNumeric(nc_type type) {
    switch (type) {
    case NC_BYTE:
    case NC_UBYTE:
    case NC_SHORT:
    case NC_USHORT:
    case NC_INT:
    case NC_UINT:
    case NC_INT64:
    case NC_UINT64:
    case NC_FLOAT:
    case NC_DOUBLE: return true;
    default: return false;
    }
}

// Thrown while mapping the file; becomes the refusal's message.
struct Refusal {
    std::string message;
};

// An open file and where its grid lies in it.
struct NetcdfFile : NetcdfGrid {
    // A variable as it is read: where its horizontal dimensions lie, how it
    // is packed and which raw values are missing.
    struct Variable {
        int id = -1;
        std::string name;
        int type = 0;
        std::vector<int> dims;
        bool packed = false;
        double scale = 1.0;
        double offset = 0.0;
        std::vector<double> missing;  // raw values that mean "no data"
    };

    NetcdfFile() = default;
    NetcdfFile(const NetcdfFile&) = delete;
    NetcdfFile& operator=(const NetcdfFile&) = delete;
    ~NetcdfFile() {
        if (ncid_ >= 0) nc_close(ncid_);
    }

    bool readValues(int step, std::vector<std::vector<float>>& values, std::string& error) const;
    bool read(const Variable& variable, int step, std::vector<float>& out, std::string& error) const;

    int ncid_ = -1;
    int xDim_ = -1;
    int yDim_ = -1;
    int tDim_ = -1;
    bool reverseX_ = false;
    bool reverseY_ = false;
    std::vector<Variable> variables_;  // u, v, then the data channels
};

// Finds the velocity, the grid, the time steps and the data channels of an
// open file.
class NetcdfMapper {
public:
    NetcdfMapper(NetcdfFile& target, int ncid) : t_(target), ncid_(ncid) {}

    void map(const std::string& uName, const std::string& vName) {
        int count = 0;
        check(nc_inq_nvars(ncid_, &count));
        for (int id = 0; id < count; ++id) variables_.push_back(describe(id));

        const auto [u, v] = uName.empty() && vName.empty() ? guessVelocity() : namedVelocity(uName, vName);
        if (variables_[u].dims != variables_[v].dims)
            throw Refusal{"the velocity components differ in shape: " + shape(u) + " and " + shape(v)};
        assignRoles(u);
        refuseCurvilinear(u);
        t_.xs = coordinates(t_.xDim_, t_.reverseX_);
        t_.ys = coordinates(t_.yDim_, t_.reverseY_);
        t_.stepCount = 1;
        if (t_.tDim_ >= 0) {
            t_.stepCount = static_cast<int>(length(t_.tDim_));
            if (t_.stepCount == 0) throw Refusal{"the time dimension " + dimName(t_.tDim_) + " has no steps"};
        }
        t_.variables_ = {variables_[u], variables_[v]};
        chooseChannels(u, v);

        t_.report.push_back("Velocity: " + shape(u) + ", " + shape(v));
        t_.report.push_back("Grid: x " + axisReport(t_.xDim_, t_.reverseX_) + ", y " +
                            axisReport(t_.yDim_, t_.reverseY_));
        if (t_.tDim_ >= 0)
            t_.report.push_back("Time steps: " + std::to_string(t_.stepCount) + " (" + dimName(t_.tDim_) + ")");
        for (int d : levels_) t_.report.push_back("Single level dropped: " + dimName(d));
        std::string names;
        for (const std::string& name : t_.channelNames) names += (names.empty() ? "" : ", ") + name;
        t_.report.push_back("Data channels: " + (names.empty() ? std::string("none") : names));
        if (!ignored_.empty()) t_.report.push_back("Not read (at most 10 data channels): " + ignored_);
    }

private:
    using Variable = NetcdfFile::Variable;

    static void check(int status) {
        if (status != NC_NOERR) throw Refusal{nc_strerror(status)};
    }

    std::string dimName(int dim) const {
        char name[NC_MAX_NAME + 1] = {};
        check(nc_inq_dimname(ncid_, dim, name));
        return name;
    }

    std::size_t length(int dim) const {
        std::size_t n = 0;
        check(nc_inq_dimlen(ncid_, dim, &n));
        return n;
    }

    std::string text(int var, const char* attribute) const {
        nc_type type;
        std::size_t n = 0;
        if (nc_inq_att(ncid_, var, attribute, &type, &n) != NC_NOERR || type != NC_CHAR) return std::string();
        std::string value(n, '\0');
        if (n > 0 && nc_get_att_text(ncid_, var, attribute, &value[0]) != NC_NOERR) return std::string();
        while (!value.empty() && value.back() == '\0') value.pop_back();
        return value;
    }

    bool numbers(int var, const char* attribute, std::vector<double>& out) const {
        nc_type type;
        std::size_t n = 0;
        if (nc_inq_att(ncid_, var, attribute, &type, &n) != NC_NOERR || !isNumeric(type) || n == 0) return false;
        out.resize(n);
        return nc_get_att_double(ncid_, var, attribute, out.data()) == NC_NOERR;
    }

    Variable describe(int id) const {
        Variable v;
        v.id = id;
        char name[NC_MAX_NAME + 1] = {};
        int ndims = 0;
        int dims[NC_MAX_VAR_DIMS];
        nc_type type;
        check(nc_inq_var(ncid_, id, name, &type, &ndims, dims, nullptr));
        v.name = name;
        v.type = type;
        v.dims.assign(dims, dims + ndims);
        std::vector<double> values;
        if (numbers(id, "scale_factor", values)) v.packed = true, v.scale = values[0];
        if (numbers(id, "add_offset", values)) v.packed = true, v.offset = values[0];
        if (numbers(id, "_FillValue", values)) v.missing.push_back(values[0]);
        if (numbers(id, "missing_value", values)) v.missing.insert(v.missing.end(), values.begin(), values.end());
        return v;
    }

    // "u(time 4, lat 10, lon 20)"
    std::string shape(std::size_t index) const {
        const Variable& v = variables_[index];
        std::string s = v.name + "(";
        for (std::size_t k = 0; k < v.dims.size(); ++k)
            s += (k ? ", " : "") + dimName(v.dims[k]) + " " + std::to_string(length(v.dims[k]));
        return s + ")";
    }

    std::string listVariables() const {
        std::string s;
        for (std::size_t k = 0; k < variables_.size() && k < 12; ++k) s += (k ? ", " : "") + shape(k);
        if (variables_.size() > 12) s += ", ...";
        return s.empty() ? "none" : s;
    }

    std::size_t byName(const std::string& name) const {
        for (std::size_t k = 0; k < variables_.size(); ++k)
            if (variables_[k].name == name) return k;
        return variables_.size();
    }

    std::pair<std::size_t, std::size_t> namedVelocity(const std::string& u, const std::string& v) const {
        if (u.empty() || v.empty()) throw Refusal{"give both --u and --v"};
        for (const std::string& name : {u, v})
            if (byName(name) == variables_.size())
                throw Refusal{"no variable named '" + name + "' (variables: " + listVariables() + ")"};
        return {byName(u), byName(v)};
    }

    // CF standard names first, those of a velocity, wind or current before
    // other vector components; then the common short names.
    std::pair<std::size_t, std::size_t> guessVelocity() const {
        std::vector<std::pair<std::size_t, std::size_t>> pairs;
        for (std::size_t a = 0; a < variables_.size(); ++a) {
            const std::string sa = text(variables_[a].id, "standard_name");
            if (sa.empty()) continue;
            for (std::size_t b = 0; b < variables_.size(); ++b) {
                const std::string sb = text(variables_[b].id, "standard_name");
                if (a != b && !sb.empty() && isComponentPair(sa, sb)) pairs.emplace_back(a, b);
            }
        }
        auto velocityLike = [&](const std::pair<std::size_t, std::size_t>& p) {
            const std::string s = text(variables_[p.first].id, "standard_name");
            return s.find("velocity") != std::string::npos || s.find("wind") != std::string::npos ||
                   s.find("current") != std::string::npos;
        };
        auto best = std::find_if(pairs.begin(), pairs.end(), velocityLike);
        if (best != pairs.end()) return *best;
        if (!pairs.empty()) return pairs.front();
        static const char* const common[][2] = {{"u", "v"}, {"U", "V"}, {"vx", "vy"}, {"Vx", "Vy"}, {"uo", "vo"}};
        for (const auto& names : common) {
            const std::size_t u = byName(names[0]), v = byName(names[1]);
            if (u < variables_.size() && v < variables_.size()) return {u, v};
        }
        throw Refusal{
            "found no velocity: no variables with the standard names eastward_*/northward_* or x/y "
            "velocity, nor named u/v, U/V or vx/vy (variables: " +
            listVariables() + "); name them with --u NAME --v NAME"};
    }

    // eastward_X and northward_X; or names that differ in an "x" and a "y"
    // standing alone between underscores (x_wind, sea_water_x_velocity).
    static bool isComponentPair(const std::string& a, const std::string& b) {
        if (startsWith(a, "eastward_")) return b == "northward_" + a.substr(9);
        if (a.size() != b.size() || (a.find("velocity") == std::string::npos && a.find("wind") == std::string::npos))
            return false;
        for (std::size_t k = 0; k < a.size(); ++k) {
            if (a[k] == b[k]) continue;
            const bool alone = (k == 0 || a[k - 1] == '_') && (k + 1 == a.size() || a[k + 1] == '_');
            return alone && a[k] == 'x' && b[k] == 'y' && a.compare(k + 1, std::string::npos, b, k + 1) == 0;
        }
        return false;
    }

    // The variable that holds a dimension's coordinates: one dimension, the same name.
    int coordinateVariable(int dim) const {
        const std::string name = dimName(dim);
        for (const Variable& v : variables_)
            if (v.name == name && v.dims.size() == 1 && v.dims[0] == dim) return v.id;
        return -1;
    }

    Role roleOf(int dim) const {
        const int var = coordinateVariable(dim);
        if (var >= 0) {
            const std::string axis = lower(text(var, "axis"));
            if (axis == "x") return Role::X;
            if (axis == "y") return Role::Y;
            if (axis == "z") return Role::Z;
            if (axis == "t") return Role::T;
            const std::string standard = text(var, "standard_name");
            if (standard == "longitude" || standard == "grid_longitude" || standard == "projection_x_coordinate")
                return Role::X;
            if (standard == "latitude" || standard == "grid_latitude" || standard == "projection_y_coordinate")
                return Role::Y;
            if (standard == "time") return Role::T;
            if (standard == "depth" || standard == "height" || standard == "altitude" || standard == "air_pressure")
                return Role::Z;
            const std::string units = lower(text(var, "units"));
            if (startsWith(units, "degree") && (units.back() == 'e' || units.find("east") != std::string::npos))
                return Role::X;
            if (startsWith(units, "degree") && (units.back() == 'n' || units.find("north") != std::string::npos))
                return Role::Y;
            if (units.find(" since ") != std::string::npos) return Role::T;
            if (!text(var, "positive").empty()) return Role::Z;
        }
        const std::string name = lower(dimName(dim));
        if (name == "time" || name == "t") return Role::T;
        if (name == "x" || name == "lon" || name == "longitude" || name == "nx" || name == "xi") return Role::X;
        if (name == "y" || name == "lat" || name == "latitude" || name == "ny" || name == "eta") return Role::Y;
        if (name == "z" || name == "depth" || name == "lev" || name == "level" || name == "height" || name == "plev")
            return Role::Z;
        int unlimited[NC_MAX_DIMS];
        int count = 0;
        if (nc_inq_unlimdims(ncid_, &count, unlimited) == NC_NOERR &&
            std::find(unlimited, unlimited + count, dim) != unlimited + count)
            return Role::T;
        return Role::Unknown;
    }

    void assignRoles(std::size_t u) {
        const std::vector<int>& dims = variables_[u].dims;
        if (dims.size() < 2 || dims.size() > 4)
            throw Refusal{shape(u) + " has " + std::to_string(dims.size()) +
                          " dimensions; a field needs y and x, optionally a time and a single level"};
        std::vector<Role> roles;
        for (int d : dims) roles.push_back(roleOf(d));
        // Unnamed dimensions in the CF order (T, Z, Y, X): x last, y before it.
        for (Role wanted : {Role::X, Role::Y}) {
            if (std::find(roles.begin(), roles.end(), wanted) != roles.end()) continue;
            for (std::size_t k = roles.size(); k-- > 0;)
                if (roles[k] == Role::Unknown) {
                    roles[k] = wanted;
                    break;
                }
        }
        for (std::size_t k = 0; k < roles.size(); ++k) {
            if (roles[k] != Role::Unknown) continue;
            if (length(dims[k]) == 1) roles[k] = Role::Z;
            else if (k == 0 && std::find(roles.begin(), roles.end(), Role::T) == roles.end()) roles[k] = Role::T;
            else throw Refusal{shape(u) + ": cannot tell what " + dimName(dims[k]) + " is"};
        }
        for (std::size_t k = 0; k < roles.size(); ++k) {
            for (std::size_t m = k + 1; m < roles.size(); ++m)
                if (roles[k] == roles[m] && roles[k] != Role::Z)
                    throw Refusal{shape(u) + ": both " + dimName(dims[k]) + " and " + dimName(dims[m]) + " look like " +
                                  roleName(roles[k])};
            const int d = dims[k];
            switch (roles[k]) {
            case Role::X: t_.xDim_ = d; break;
            case Role::Y: t_.yDim_ = d; break;
            case Role::T: t_.tDim_ = d; break;
            default:
                if (length(d) != 1)
                    throw Refusal{shape(u) + ": " + dimName(d) + " has " + std::to_string(length(d)) +
                                  " levels; only a single level can be read"};
                levels_.push_back(d);
            }
        }
    }

    // 2-D coordinates named by the "coordinates" attribute mean a curvilinear grid.
    void refuseCurvilinear(std::size_t u) const {
        if (coordinateVariable(t_.xDim_) >= 0 && coordinateVariable(t_.yDim_) >= 0) return;
        std::istringstream names(text(variables_[u].id, "coordinates"));
        std::string found;
        for (std::string name; names >> name;) {
            const std::size_t k = byName(name);
            if (k < variables_.size() && variables_[k].dims.size() >= 2)
                found += (found.empty() ? "" : ", ") + shape(k);
        }
        if (!found.empty())
            throw Refusal{variables_[u].name + " lies on a curvilinear grid (2-D coordinates " + found +
                          "); only rectilinear grids with 1-D coordinates can be read"};
    }

    // Ascending float coordinates of a dimension: its coordinate variable
    // (unpacked, reversed when descending) or, without one, the node indices.
    std::vector<float> coordinates(int dim, bool& reversed) {
        const std::size_t n = length(dim);
        if (n < 2)
            throw Refusal{"the grid needs at least 2 nodes along " + dimName(dim) + ", it has " + std::to_string(n)};
        std::vector<double> values(n);
        const int var = coordinateVariable(dim);
        if (var < 0) {
            for (std::size_t k = 0; k < n; ++k) values[k] = static_cast<double>(k);
        } else {
            check(nc_get_var_double(ncid_, var, values.data()));
            const Variable v = describe(var);
            for (double& x : values) x = x * v.scale + v.offset;
        }
        reversed = values[1] < values[0];
        if (reversed) std::reverse(values.begin(), values.end());
        std::vector<float> out;
        for (std::size_t k = 0; k < n; ++k) {
            const float x = static_cast<float>(values[k]);
            if (!std::isfinite(x))
                throw Refusal{dimName(dim) + ": coordinate " + std::to_string(k) + " is not a finite number"};
            if (!out.empty() && !(x > out.back()))
                throw Refusal{dimName(dim) + ": coordinates are not strictly " +
                              (reversed ? std::string("descending") : std::string("ascending")) +
                              " in single precision (at " + std::to_string(reversed ? n - k : k) + ")"};
            out.push_back(x);
        }
        return out;
    }

    std::string axisReport(int dim, bool reversed) const {
        const bool indices = coordinateVariable(dim) < 0;
        return "= " + dimName(dim) + " (" + std::to_string(length(dim)) + " nodes" +
               (reversed ? ", descending: reversed" : "") + (indices ? ", no coordinates: node numbers" : "") + ")";
    }

    // Further variables on the velocity's grid, in file order: x and y, the
    // time when the velocity has one (or none: a constant field), single
    // levels.
    void chooseChannels(std::size_t u, std::size_t v) {
        for (std::size_t k = 0; k < variables_.size(); ++k) {
            const Variable& var = variables_[k];
            if (k == u || k == v || !isNumeric(var.type)) continue;
            bool hasX = false, hasY = false, fits = true;
            for (int d : var.dims) {
                hasX = hasX || d == t_.xDim_;
                hasY = hasY || d == t_.yDim_;
                fits = fits && (d == t_.xDim_ || d == t_.yDim_ || (d == t_.tDim_ && d >= 0) || length(d) == 1);
            }
            if (!hasX || !hasY || !fits) continue;
            if (t_.channelNames.size() == 10) {
                ignored_ += (ignored_.empty() ? "" : ", ") + var.name;
                continue;
            }
            t_.variables_.push_back(var);
            t_.channelNames.push_back(var.name);
        }
    }

    NetcdfFile& t_;
    int ncid_;
    std::vector<Variable> variables_;
    std::vector<int> levels_;
    std::string ignored_;
};

}  // namespace

void* quillmereNetcdfOpen(const std::string& path, const std::string& u, const std::string& v, NetcdfGrid*& grid,
                          std::string& error) {
    auto file = std::make_unique<NetcdfFile>();
    const int status = nc_open(path.c_str(), NC_NOWRITE, &file->ncid_);
    if (status != NC_NOERR) {
        file->ncid_ = -1;
        error = nc_strerror(status);
        return nullptr;
    }
    try {
        NetcdfMapper(*file, file->ncid_).map(u, v);
    } catch (const Refusal& refusal) {
        error = refusal.message;
        return nullptr;
    }
    file->report.insert(file->report.begin(), "- Reading NetCDF file '" + path + "' ...");
    grid = file.get();
    return file.release();
}

bool quillmereNetcdfRead(void* file, int step, std::vector<std::vector<float>>& values, std::string& error) {
    return static_cast<const NetcdfFile*>(file)->readValues(step, values, error);
}

void quillmereNetcdfClose(void* file) { delete static_cast<NetcdfFile*>(file); }

bool NetcdfFile::readValues(int step, std::vector<std::vector<float>>& values, std::string& error) const {
    if (step < 0 || step >= stepCount) {
        error = "no such time step";
        return false;
    }
    values.resize(3 + channelNames.size());
    // Velocity z is not read: a field is two-dimensional.
    values[2].assign(xs.size() * ys.size(), 0.0f);
    for (std::size_t k = 0; k < variables_.size(); ++k)
        if (!read(variables_[k], step, values[k == 0 ? 0 : k == 1 ? 1 : k + 1], error)) {
            error = variables_[k].name + ": " + error;
            return false;
        }
    return true;
}

bool NetcdfFile::read(const Variable& variable, int step, std::vector<float>& out, std::string& error) const {
    const std::size_t nx = xs.size(), ny = ys.size();
    std::vector<std::size_t> start, count;
    std::size_t xAt = 0, yAt = 0;
    for (std::size_t k = 0; k < variable.dims.size(); ++k) {
        const int d = variable.dims[k];
        if (d == xDim_) xAt = k;
        if (d == yDim_) yAt = k;
        start.push_back(d == tDim_ ? static_cast<std::size_t>(step) : 0);
        count.push_back(d == xDim_ ? nx : d == yDim_ ? ny : 1);
    }
    const std::size_t n = nx * ny;
    // Float data unpacked is read as it is; everything else through double,
    // which holds every value of the integer types used for packing.
    std::vector<float> floats;
    std::vector<double> doubles;
    int status;
    if (variable.type == NC_FLOAT && !variable.packed) {
        floats.resize(n);
        status = nc_get_vara_float(ncid_, variable.id, start.data(), count.data(), floats.data());
    } else {
        doubles.resize(n);
        status = nc_get_vara_double(ncid_, variable.id, start.data(), count.data(), doubles.data());
    }
    if (status != NC_NOERR) {
        error = nc_strerror(status);
        return false;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    out.resize(n);
    const bool yFirst = yAt < xAt;
    for (std::size_t j = 0; j < ny; ++j)
        for (std::size_t i = 0; i < nx; ++i) {
            const std::size_t from = yFirst ? j * nx + i : i * ny + j;
            const double raw = floats.empty() ? doubles[from] : static_cast<double>(floats[from]);
            bool missing = std::isnan(raw);
            for (double m : variable.missing) missing = missing || raw == m;
            const std::size_t row = reverseY_ ? ny - 1 - j : j;
            const std::size_t column = reverseX_ ? nx - 1 - i : i;
            out[row * nx + column] = missing           ? nan
                                     : variable.packed ? static_cast<float>(raw * variable.scale + variable.offset)
                                                       : static_cast<float>(raw);
        }
    return true;
}
