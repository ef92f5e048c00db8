#include "formats/NetcdfImporter.h"

#include "formats/NetcdfModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kModuleName = "quillmere-netcdf.so";

// The module's entry points, or why it could not be loaded.
struct Module {
    decltype(&quillmereNetcdfOpen) open = nullptr;
    decltype(&quillmereNetcdfRead) read = nullptr;
    decltype(&quillmereNetcdfClose) close = nullptr;
    std::string error;
};

// The module is looked for beside the executable (the build folder), one
// folder up (the build folder's tests and benchmarks) and in the installed
// library folder (<prefix>/lib/quillmere for <prefix>/bin), and loaded once
// for the life of the process.
Module loadModule() {
    Module module;
    std::error_code ec;
    const fs::path folder = fs::read_symlink("/proc/self/exe", ec).parent_path();
    std::string lookedIn;
    for (const fs::path& candidate : {folder, folder.parent_path(), folder / QM_MODULES_FROM_BIN}) {
        const fs::path path = (candidate / kModuleName).lexically_normal();
        if (!fs::exists(path, ec)) {
            lookedIn += (lookedIn.empty() ? "" : ", ") + path.parent_path().string();
            continue;
        }
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            module.error = std::string("cannot load ") + path.string() + ": " + (why ? why : "unknown error");
            return module;
        }
        module.open = reinterpret_cast<decltype(module.open)>(dlsym(handle, "quillmereNetcdfOpen"));
        module.read = reinterpret_cast<decltype(module.read)>(dlsym(handle, "quillmereNetcdfRead"));
        module.close = reinterpret_cast<decltype(module.close)>(dlsym(handle, "quillmereNetcdfClose"));
        if (!module.open || !module.read || !module.close) {
            module = Module();
            module.error = path.string() + " is not a NetCDF module of this version";
        }
        return module;
    }
    module.error = std::string("NetCDF files need the module ") + kModuleName + ", which is not installed (looked in " +
                   lookedIn + ")";
    return module;
}

const Module& netcdfModule() {
    static const Module module = loadModule();
    return module;
}

}  // namespace

std::unique_ptr<NetcdfImporter> NetcdfImporter::open(const std::string& path, const std::string& u,
                                                     const std::string& v, std::string& error) {
    const Module& module = netcdfModule();
    if (!module.open) {
        error = module.error;
        return nullptr;
    }
    NetcdfGrid* grid = nullptr;
    void* file = module.open(path, u, v, grid, error);
    if (!file) return nullptr;
    std::unique_ptr<NetcdfImporter> importer(new NetcdfImporter());
    importer->file_ = file;
    importer->path_ = path;
    // Copied: the module reads by its own axes.
    importer->xs = grid->xs;
    importer->ys = grid->ys;
    importer->channelNames = grid->channelNames;
    importer->stepCount = grid->stepCount;
    importer->report = grid->report;
    return importer;
}

NetcdfImporter::~NetcdfImporter() {
    if (file_) netcdfModule().close(file_);
}

bool NetcdfImporter::readValues(int step, std::vector<std::vector<float>>& values, std::string& error) {
    return netcdfModule().read(file_, step, values, error);
}
