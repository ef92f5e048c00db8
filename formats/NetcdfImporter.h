#pragma once

#include "formats/Importer.h"

#include <memory>
#include <string>
#include <vector>

// A NetCDF file (classic or netCDF-4, read with the NetCDF C library) on a
// rectilinear grid. The velocity is found by CF standard names
// (eastward_* / northward_*, x / y velocity or wind) or common names (u/v,
// U/V, vx/vy, uo/vo), unless named; the coordinates by their axis,
// standard_name, units or name, else by the CF order (T, Z, Y, X); a time
// dimension gives the time steps; further variables on the same grid become
// data channels (up to 10, in file order). Packed variables are unpacked
// (scale_factor, add_offset), _FillValue and missing_value become NaN,
// descending coordinates are reversed and a dimension of a single level is
// dropped. Anything else is refused with what was found.
//
// The reading is done by the NetCDF module (NetcdfModule.h), loaded on the
// first open; when it cannot be loaded, open fails and says why.
class NetcdfImporter : public Importer {
public:
    // Null with `error` when the file cannot be read or mapped.
    static std::unique_ptr<NetcdfImporter> open(const std::string& path, const std::string& u, const std::string& v,
                                                std::string& error);
    ~NetcdfImporter() override;
    NetcdfImporter(const NetcdfImporter&) = delete;
    NetcdfImporter& operator=(const NetcdfImporter&) = delete;

    bool readValues(int step, std::vector<std::vector<float>>& values, std::string& error) override;

private:
    NetcdfImporter() = default;

    void* file_ = nullptr;  // the module's open file
};
