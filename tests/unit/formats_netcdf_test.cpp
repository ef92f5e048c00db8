// NetCDF files written here with the NetCDF library: the velocity found by
// standard or common names, the grid by its coordinates, time steps,
// packed integers, fill values, descending latitudes, a single depth level
// and the refusals; the converted dataset holds the very same floats.
#include "data/FlowData.h"
#include "formats/Importer.h"
#include "formats/NetcdfImporter.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <netcdf.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace {

void nc(int status) {
    if (status != NC_NOERR) throw std::runtime_error(nc_strerror(status));
}

// A NetCDF file being defined, then filled.
class NcFile {
public:
    explicit NcFile(const std::string& path) { nc(nc_create(path.c_str(), NC_CLOBBER | NC_NETCDF4, &id_)); }
    ~NcFile() { nc_close(id_); }
    int dim(const char* name, std::size_t length) {
        int d;
        nc(nc_def_dim(id_, name, length, &d));
        return d;
    }
    int var(const char* name, nc_type type, std::vector<int> dims) {
        int v;
        nc(nc_def_var(id_, name, type, static_cast<int>(dims.size()), dims.data(), &v));
        return v;
    }
    void text(int var, const char* name, const std::string& value) {
        nc(nc_put_att_text(id_, var, name, value.size(), value.c_str()));
    }
    template <class T>
    void number(int var, const char* name, nc_type type, T value) {
        const double v = static_cast<double>(value);
        nc(nc_put_att_double(id_, var, name, type, 1, &v));
    }
    // The whole variable; `records` along an unlimited first dimension.
    template <class T>
    void put(int var, const std::vector<T>& values, std::size_t records = 0) {
        int ndims = 0, dims[NC_MAX_VAR_DIMS];
        nc(nc_inq_var(id_, var, nullptr, nullptr, &ndims, dims, nullptr));
        std::vector<std::size_t> start(static_cast<std::size_t>(ndims), 0), count;
        for (int k = 0; k < ndims; ++k) {
            std::size_t n = 0;
            nc(nc_inq_dimlen(id_, dims[k], &n));
            count.push_back(k == 0 && records > 0 ? records : n);
        }
        if constexpr (std::is_same_v<T, double>)
            nc(nc_put_vara_double(id_, var, start.data(), count.data(), values.data()));
        if constexpr (std::is_same_v<T, float>)
            nc(nc_put_vara_float(id_, var, start.data(), count.data(), values.data()));
        if constexpr (std::is_same_v<T, short>)
            nc(nc_put_vara_short(id_, var, start.data(), count.data(), values.data()));
    }
    int id() const { return id_; }

private:
    int id_ = -1;
};

const float kNan = std::numeric_limits<float>::quiet_NaN();

// A layer of an ocean model: 2 days (time, unlimited), one depth level,
// latitudes 20, 10, 0 (descending) and longitudes 0 .. 3. uo is packed in
// shorts (0.5 raw + 1) with a fill value, vo a float with missing_value,
// thetao and so further fields, mask a field without time, lat_bnds not on
// the grid. Raw value of (t, lat index a, lon i): 100 t + 10 a + i.
std::string writeOcean(const std::string& path) {
    NcFile f(path);
    const int time = f.dim("time", NC_UNLIMITED), depth = f.dim("depth", 1), lat = f.dim("lat", 3),
              lon = f.dim("lon", 4), bnds = f.dim("bnds", 2);
    const int tv = f.var("time", NC_DOUBLE, {time}), dv = f.var("depth", NC_FLOAT, {depth}),
              latv = f.var("lat", NC_DOUBLE, {lat}), lonv = f.var("lon", NC_FLOAT, {lon});
    f.text(tv, "units", "days since 2000-01-01");
    f.text(dv, "positive", "down");
    f.text(latv, "units", "degrees_north");
    f.text(lonv, "standard_name", "longitude");
    const int bv = f.var("lat_bnds", NC_DOUBLE, {lat, bnds});
    const int uo = f.var("uo", NC_SHORT, {time, depth, lat, lon});
    f.text(uo, "standard_name", "eastward_sea_water_velocity");
    f.number(uo, "scale_factor", NC_FLOAT, 0.5);
    f.number(uo, "add_offset", NC_FLOAT, 1.0);
    f.number(uo, "_FillValue", NC_SHORT, -999);
    const int vo = f.var("vo", NC_FLOAT, {time, depth, lat, lon});
    f.text(vo, "standard_name", "northward_sea_water_velocity");
    f.number(vo, "missing_value", NC_FLOAT, 1e20f);
    const int thetao = f.var("thetao", NC_FLOAT, {time, depth, lat, lon});
    const int so = f.var("so", NC_DOUBLE, {time, depth, lat, lon});
    const int mask = f.var("mask", NC_FLOAT, {lat, lon});
    f.put(tv, std::vector<double>{0.0, 1.0}, 2);
    f.put(dv, std::vector<float>{5.0f});
    f.put(latv, std::vector<double>{20.0, 10.0, 0.0});
    f.put(lonv, std::vector<float>{0.0f, 1.0f, 2.0f, 3.0f});
    f.put(bv, std::vector<double>(6, 0.0));
    std::vector<short> u;
    std::vector<float> v, theta;
    std::vector<double> s;
    for (int t = 0; t < 2; ++t)
        for (int a = 0; a < 3; ++a)
            for (int i = 0; i < 4; ++i) {
                const int raw = 100 * t + 10 * a + i;
                u.push_back(static_cast<short>(raw == 121 ? -999 : raw));
                v.push_back(raw == 3 ? 1e20f : 0.25f * static_cast<float>(raw));
                theta.push_back(static_cast<float>(raw) + 0.1f);
                s.push_back(raw / 3.0);
            }
    f.put(uo, u, 2);
    f.put(vo, v, 2);
    f.put(thetao, theta, 2);
    f.put(so, s, 2);
    f.put(mask, std::vector<float>{1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1});
    return path;
}

std::vector<float> valuesOf(const FlowData& data, int slot) {
    const Channel* c = data.channel(slot);
    return std::vector<float>(c->values(), c->values() + c->valueCount());
}

// Floats equal bit for bit, NaN equal to NaN.
::testing::AssertionResult sameFloats(const std::vector<float>& a, const std::vector<float>& b) {
    if (a.size() != b.size()) return ::testing::AssertionFailure() << a.size() << " values, expected " << b.size();
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!(a[k] == b[k] || (std::isnan(a[k]) && std::isnan(b[k]))))
            return ::testing::AssertionFailure() << "value " << k << " is " << a[k] << ", expected " << b[k];
    return ::testing::AssertionSuccess();
}

std::string refusal(const std::string& path, const std::string& u = "", const std::string& v = "") {
    std::string error;
    EXPECT_EQ(NetcdfImporter::open(path, u, v, error), nullptr);
    return error;
}

class Netcdf : public testing::Test {
protected:
    TempDir temp;
    const std::string dir = temp.path();
};

}  // namespace

TEST_F(Netcdf, AnOceanLayerConvertsToTheSameFloats) {
    const std::string path = writeOcean(dir + "/ocean.nc");
    std::string error;
    auto importer = NetcdfImporter::open(path, "", "", error);
    ASSERT_TRUE(importer) << error;
    EXPECT_EQ(importer->report,
              (std::vector<std::string>{
                  "- Reading NetCDF file '" + path + "' ...",
                  "Velocity: uo(time 2, depth 1, lat 3, lon 4), vo(time 2, depth 1, lat 3, lon 4)",
                  "Grid: x = lon (4 nodes), y = lat (3 nodes, descending: reversed)", "Time steps: 2 (time)",
                  "Single level dropped: depth", "Data channels: thetao, so, mask"}));
    ConsoleCapture console;
    ASSERT_TRUE(writeImported(*importer, dir + "/out", error)) << error;

    FlowData converted(nullptr), direct(nullptr);
    ASSERT_TRUE(converted.load(dir + "/out.gri", false, 1));
    ASSERT_TRUE(loadDataset(direct, path, 1));
    EXPECT_EQ(converted.stepCount(), 2);
    EXPECT_EQ(converted.channelNames(), (std::vector<std::string>{"thetao", "so", "mask"}));
    EXPECT_EQ(direct.channelNames(), converted.channelNames());
    EXPECT_EQ(converted.grid().minCorner().y, 0.0f);
    EXPECT_EQ(converted.grid().maxCorner().y, 20.0f);

    // Node (i, j) has latitude 10 j: file row a = 2 - j. Step 1.
    std::vector<std::vector<float>> expected(6);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i) {
            const int raw = 100 + 10 * (2 - j) + i;
            expected[0].push_back(raw == 121 ? kNan : static_cast<float>(raw * 0.5 + 1.0));
            expected[1].push_back(0.25f * static_cast<float>(raw));
            expected[2].push_back(0.0f);
            expected[3].push_back(static_cast<float>(raw) + 0.1f);
            expected[4].push_back(static_cast<float>(raw / 3.0));
            expected[5].push_back((2 - j) * 4 + i == 2 || (2 - j) * 4 + i == 7 ? 0.0f : 1.0f);
        }
    for (int slot = 0; slot < 6; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_TRUE(sameFloats(valuesOf(converted, slot), expected[static_cast<std::size_t>(slot)]));
        EXPECT_TRUE(sameFloats(valuesOf(direct, slot), expected[static_cast<std::size_t>(slot)]));
    }
    // Step 0 holds the missing_value of vo at raw 3: latitude 20, longitude 3.
    ASSERT_TRUE(direct.loadTimeStep(0));
    EXPECT_TRUE(std::isnan(direct.channel(1)->valueAt(2 * 4 + 3)));
    EXPECT_EQ(direct.channel(1)->valueAt(2 * 4 + 2), 0.5f);
}

TEST_F(Netcdf, CommonNamesAndFieldsWithoutCoordinatesOrTime) {
    {
        NcFile f(dir + "/cfd.nc");
        const int y = f.dim("y", 3), x = f.dim("x", 5);
        const int p = f.var("p", NC_FLOAT, {y, x});
        const int u = f.var("U", NC_DOUBLE, {y, x});
        const int v = f.var("V", NC_DOUBLE, {y, x});
        std::vector<double> values;
        for (int k = 0; k < 15; ++k) values.push_back(k * 0.1);
        f.put(u, values);
        f.put(v, values);
        f.put(p, std::vector<float>(15, 2.0f));
    }
    std::string error;
    auto importer = NetcdfImporter::open(dir + "/cfd.nc", "", "", error);
    ASSERT_TRUE(importer) << error;
    EXPECT_EQ(importer->report[2],
              "Grid: x = x (5 nodes, no coordinates: node numbers), y = y (3 nodes, no "
              "coordinates: node numbers)");
    EXPECT_EQ(importer->stepCount, 1);
    EXPECT_EQ(importer->xs, (std::vector<float>{0, 1, 2, 3, 4}));
    std::vector<std::vector<float>> values;
    ASSERT_TRUE(importer->readValues(0, values, error));
    EXPECT_EQ(values[0][7], static_cast<float>(7 * 0.1));
    EXPECT_EQ(values[3], std::vector<float>(15, 2.0f));
    EXPECT_EQ(importer->channelNames, std::vector<std::string>{"p"});

    // Names the guess does not know are given; a wrong one is refused with the list.
    {
        NcFile f(dir + "/odd.nc");
        const int y = f.dim("y", 2), x = f.dim("x", 2);
        f.var("east", NC_FLOAT, {y, x});
        f.var("north", NC_FLOAT, {y, x});
    }
    EXPECT_EQ(refusal(dir + "/odd.nc"),
              "found no velocity: no variables with the standard names eastward_*/northward_* or x/y velocity, nor "
              "named u/v, U/V or vx/vy (variables: east(y 2, x 2), north(y 2, x 2)); name them with --u NAME --v NAME");
    EXPECT_EQ(refusal(dir + "/odd.nc", "east", "nord"),
              "no variable named 'nord' (variables: east(y 2, x 2), north(y 2, x 2))");
    EXPECT_TRUE(NetcdfImporter::open(dir + "/odd.nc", "east", "north", error)) << error;
}

TEST_F(Netcdf, GridsItCannotMapAreRefusedWithWhatWasFound) {
    {
        NcFile f(dir + "/curvilinear.nc");
        const int y = f.dim("y", 3), x = f.dim("x", 4);
        f.var("lat", NC_FLOAT, {y, x});
        f.var("lon", NC_FLOAT, {y, x});
        for (const char* name : {"u", "v"}) f.text(f.var(name, NC_FLOAT, {y, x}), "coordinates", "lon lat");
    }
    EXPECT_EQ(refusal(dir + "/curvilinear.nc"),
              "u lies on a curvilinear grid (2-D coordinates lon(y 3, x 4), lat(y 3, x 4)); only rectilinear grids "
              "with 1-D coordinates can be read");
    {
        NcFile f(dir + "/shapes.nc");
        const int lat = f.dim("lat", 3), lon = f.dim("lon", 4), lon2 = f.dim("lon2", 5);
        f.var("u", NC_FLOAT, {lat, lon});
        f.var("v", NC_FLOAT, {lat, lon2});
    }
    EXPECT_EQ(refusal(dir + "/shapes.nc"),
              "the velocity components differ in shape: u(lat 3, lon 4) and v(lat 3, lon2 5)");
    {
        NcFile f(dir + "/levels.nc");
        const int t = f.dim("time", 1), z = f.dim("depth", 2), lat = f.dim("lat", 3), lon = f.dim("lon", 4);
        for (const char* name : {"u", "v"}) f.var(name, NC_FLOAT, {t, z, lat, lon});
    }
    EXPECT_EQ(refusal(dir + "/levels.nc"),
              "u(time 1, depth 2, lat 3, lon 4): depth has 2 levels; only a single level can be read");
    {
        NcFile f(dir + "/descending.nc");
        const int lat = f.dim("lat", 3), lon = f.dim("lon", 2);
        const int latv = f.var("lat", NC_DOUBLE, {lat});
        for (const char* name : {"u", "v"}) f.var(name, NC_FLOAT, {lat, lon});
        f.put(latv, std::vector<double>{10.0, 0.0, 5.0});
    }
    EXPECT_EQ(refusal(dir + "/descending.nc"),
              "lat: coordinates are not strictly descending in single precision (at 2)");
    EXPECT_EQ(refusal(dir + "/none.nc"), "No such file or directory");
}
