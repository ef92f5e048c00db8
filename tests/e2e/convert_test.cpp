// Data from other tools: quillmere-convert on a NetCDF time series and on a
// CSV table, its refusals, and the viewer and quillmere-trace opening the
// NetCDF file directly through the same reader: the lines, the frames of
// every step and the picture equal those of the converted dataset.

#include "support/PanelDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <netcdf.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace panel_e2e;
namespace fs = std::filesystem;

namespace {

bool ok(int status) { return status == NC_NOERR; }

// Three days of a moving double gyre on a 2.5 x 1 box, stored as an ocean
// model stores it: latitude descending, velocity packed in shorts
// (0.0001 raw) with a fill value on land (a corner), a temperature field.
bool writeGyreSeries(const std::string& path) {
    const std::size_t nt = 3, ny = 21, nx = 51;
    int id, t, y, x, tv, yv, xv, u, v, temp;
    if (!ok(nc_create(path.c_str(), NC_CLOBBER, &id))) return false;
    bool done = ok(nc_def_dim(id, "time", NC_UNLIMITED, &t)) && ok(nc_def_dim(id, "lat", ny, &y)) &&
                ok(nc_def_dim(id, "lon", nx, &x)) && ok(nc_def_var(id, "time", NC_DOUBLE, 1, &t, &tv)) &&
                ok(nc_def_var(id, "lat", NC_FLOAT, 1, &y, &yv)) && ok(nc_def_var(id, "lon", NC_FLOAT, 1, &x, &xv));
    const int dims[3] = {t, y, x};
    done = done && ok(nc_def_var(id, "water_u", NC_SHORT, 3, dims, &u)) &&
           ok(nc_def_var(id, "water_v", NC_SHORT, 3, dims, &v)) && ok(nc_def_var(id, "temp", NC_FLOAT, 3, dims, &temp));
    const double scale = 0.0001;
    const short fill = -32767;
    for (int var : {u, v}) {
        const std::string name = var == u ? "eastward_sea_water_velocity" : "northward_sea_water_velocity";
        done = done && ok(nc_put_att_text(id, var, "standard_name", name.size(), name.c_str())) &&
               ok(nc_put_att_double(id, var, "scale_factor", NC_DOUBLE, 1, &scale)) &&
               ok(nc_put_att_short(id, var, "_FillValue", NC_SHORT, 1, &fill));
    }
    done = done && ok(nc_put_att_text(id, tv, "units", 21, "days since 2020-01-01")) && ok(nc_enddef(id));
    std::vector<float> lat, lon;
    for (std::size_t j = 0; j < ny; ++j) lat.push_back(static_cast<float>(1.0 - j * 0.05));
    for (std::size_t i = 0; i < nx; ++i) lon.push_back(static_cast<float>(i * 0.05));
    const double days[3] = {0, 1, 2};
    std::vector<short> us, vs;
    std::vector<float> temps;
    const double pi = 3.14159265358979323846;
    for (std::size_t k = 0; k < nt; ++k)
        for (std::size_t j = 0; j < ny; ++j)
            for (std::size_t i = 0; i < nx; ++i) {
                const double a = 0.2 * std::sin(2 * pi * k / 6.0);
                const double xx = lon[i] / 1.25, f = a * xx * xx + (1 - 2 * a) * xx, df = 2 * a * xx + 1 - 2 * a;
                const double yy = 1.0 - j * 0.05;
                const bool land = i < 3 && j < 3;
                us.push_back(
                    land ? fill : static_cast<short>(std::lround(-std::sin(pi * f) * std::cos(pi * yy) / scale * 0.3)));
                vs.push_back(
                    land ? fill
                         : static_cast<short>(std::lround(std::cos(pi * f) * std::sin(pi * yy) * df / scale * 0.3)));
                temps.push_back(static_cast<float>(20 - 10 * yy + 4 * k * lon[i]));
            }
    const std::size_t start[3] = {0, 0, 0}, count[3] = {nt, ny, nx};
    const std::size_t tStart = 0, tCount = nt;
    done = done && ok(nc_put_vara_double(id, tv, &tStart, &tCount, days)) && ok(nc_put_var_float(id, yv, lat.data())) &&
           ok(nc_put_var_float(id, xv, lon.data())) && ok(nc_put_vara_short(id, u, start, count, us.data())) &&
           ok(nc_put_vara_short(id, v, start, count, vs.data())) &&
           ok(nc_put_vara_float(id, temp, start, count, temps.data()));
    return ok(nc_close(id)) && done;
}

class Convert : public ::testing::Test {
protected:
    void SetUp() override {
        prepareViewerDir(dir.path());
        ASSERT_TRUE(writeGyreSeries(dir.file("ocean.nc")));
    }
    RunResult convert(const std::vector<std::string>& args) {
        return run(programPath("quillmere-convert"), args, dir.path());
    }
    TempDir dir;
};

TEST_F(Convert, ANetcdfSeriesConvertsAndOpensDirectlyToTheSameResult) {
    const RunResult r = convert({"ocean.nc", "out/ocean.gri"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "- Reading NetCDF file 'ocean.nc' ...\n"
              "Velocity: water_u(time 3, lat 21, lon 51), water_v(time 3, lat 21, lon 51)\n"
              "Grid: x = lon (51 nodes), y = lat (21 nodes, descending: reversed)\n"
              "Time steps: 3 (time)\n"
              "Data channels: temp\n"
              "Wrote out/ocean.gri and 3 data files (51 x 21 nodes, data channels: 1)\n");
    EXPECT_EQ(readFile(dir.file("out/ocean.names")), "# data channel names, one per line in channel order\ntemp\n");

    const std::string trace = programPath("quillmere-trace");
    const std::vector<std::string> spacing = {"--timestep", "1", "--dsep", "0.1", "--dtest", "0.05"};
    std::vector<std::string> directArgs = {"ocean.nc", "-o", "direct.csv"};
    std::vector<std::string> convertedArgs = {"out/ocean.gri", "-o", "converted.csv"};
    directArgs.insert(directArgs.end(), spacing.begin(), spacing.end());
    convertedArgs.insert(convertedArgs.end(), spacing.begin(), spacing.end());
    ASSERT_EQ(run(trace, directArgs, dir.path()).code, 0);
    ASSERT_EQ(run(trace, convertedArgs, dir.path()).code, 0);
    const std::string lines1 = readFile(dir.file("direct.csv"));
    EXPECT_GT(lines(lines1).size(), 200u);
    EXPECT_TRUE(lines1 == readFile(dir.file("converted.csv")));

    // The README's export: every frame of the NetCDF file with streamlines.
    ASSERT_TRUE(Xvfb::shared().ok());
    const std::vector<std::string> look = {"-showStreamlines", "1", "-dsep", "0.1", "-backgroundChannel", "1"};
    std::vector<std::string> args = {"-datafile", "ocean.nc", "-screenshot", "frames/f%04d.png", "-allTimesteps", "1"};
    args.insert(args.end(), look.begin(), look.end());
    const RunResult frames = run(programPath("quillmere"), args, dir.path());
    EXPECT_EQ(frames.code, 0) << frames.err;
    for (const char* name : {"frames/f0000.png", "frames/f0001.png", "frames/f0002.png"})
        EXPECT_TRUE(fs::exists(dir.file(name))) << name;
    args = {"-datafile", "out/ocean.gri", "-timestep", "1", "-screenshot", "converted.png"};
    args.insert(args.end(), look.begin(), look.end());
    ASSERT_EQ(run(programPath("quillmere"), args, dir.path()).code, 0);
    const Image direct = loadPng(dir.file("frames/f0001.png"));
    const Image converted = loadPng(dir.file("converted.png"));
    ASSERT_TRUE(direct.ok() && converted.ok());
    EXPECT_EQ(differingPixels(direct, converted, 0, StatusReferences::kRows), 0);
    // The temperature field changes its shape from day to day.
    EXPECT_GT(differingPixels(direct, loadPng(dir.file("frames/f0000.png")), 8, StatusReferences::kRows), 1000);
}

TEST_F(Convert, TablesConvertAndWhatCannotBeMappedIsRefused) {
    std::ofstream(dir.file("t.csv")) << "x,y,u,v,depth\n1,0,0.5,1,3\n0,0,1,2,4\n0,1,3,4,5\n1,1,5,6,7\n";
    RunResult r = convert({"t.csv", "t.gri"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "- Reading table 't.csv' ...\nRows: 4\nWrote t.gri and 1 data file (2 x 2 nodes, data channels: 1)\n");
    EXPECT_EQ(readFile(dir.file("t.gri")).substr(0, 13), "SN4DB 2 2 1 1");

    std::ofstream(dir.file("gap.csv")) << "x,y,u,v\n0,0,1,1\n1,0,1,1\n0,1,1,1\n";
    r = convert({"gap.csv", "gap.gri"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "quillmere-convert: gap.csv: no row for the node (1, 1): 2 x values and 2 y values need 4 rows, "
              "the table has 3\n");
    EXPECT_FALSE(fs::exists(dir.file("gap.gri")));

    r = convert({"ocean.nc", "x.gri", "--u", "temp", "--v", "salt"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "quillmere-convert: ocean.nc: no variable named 'salt' (variables: time(time 3), lat(lat 21), "
              "lon(lon 51), water_u(time 3, lat 21, lon 51), water_v(time 3, lat 21, lon 51), temp(time 3, lat "
              "21, lon 51))\n");
    // A copy of the program without the NetCDF module beside it, one folder
    // up or in an installed library folder says so and converts nothing.
    fs::create_directories(dir.file("alone/bin"));
    fs::copy_file(programPath("quillmere-convert"), dir.file("alone/bin/quillmere-convert"));
    r = run(dir.file("alone/bin/quillmere-convert"), {"ocean.nc", "lost.gri"}, dir.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "quillmere-convert: ocean.nc: NetCDF files need the module quillmere-netcdf.so, which is not "
              "installed (looked in " +
                  dir.file("alone/bin") + ", " + dir.file("alone") + ", " + dir.file("alone/lib/quillmere") + ")\n");
    EXPECT_FALSE(fs::exists(dir.file("lost.gri")));

    r = convert({"ocean.nc", "x.dat"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("quillmere-convert: the output file must end in .gri\n\nUsage: quillmere-convert", 0), 0u);
    r = convert({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "quillmere-convert 0.2.0\n");
}

}  // namespace
