// Installing: "cmake --install" into a temporary prefix gives programs that
// run from any folder, the viewer finding its shaders and arrow image in
// <prefix>/share/quillmere; the Debian package holds the same files and
// depends on the libraries the programs link.

#include "support/Process.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/Xvfb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kInstalled = {"bin/quillmere",
                                             "bin/quillmere-arrowgen",
                                             "bin/quillmere-convert",
                                             "bin/quillmere-flowgen",
                                             "bin/quillmere-trace",
                                             "lib/quillmere/quillmere-netcdf.so",
                                             "share/quillmere/img/arrow.tga",
                                             "share/quillmere/src/Flow.frag",
                                             "share/quillmere/src/Flow.vert"};

// Every regular file below `root`, relative to it, sorted.
std::vector<std::string> filesBelow(const std::string& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Install, TheInstalledViewerRunsFromAnyFolder) {
    ASSERT_TRUE(Xvfb::shared().ok());
    const TempDir temp;
    const std::string prefix = temp.file("prefix");
    const RunResult install = run(QM_CMAKE_COMMAND, {"--install", QM_BINARY_DIR, "--prefix", prefix}, temp.path());
    ASSERT_EQ(install.code, 0) << install.out << install.err;
    EXPECT_EQ(filesBelow(prefix), kInstalled);

    // A folder of the user's own, with no shaders or images in it.
    const std::string work = temp.file("work");
    fs::create_directory(work);
    fs::create_directory(work + "/data");
    const RunResult made = run(prefix + "/bin/quillmere-flowgen",
                               {"--field", "rotation", "--nx", "33", "--ny", "17", "-o", "data/flow"}, work);
    ASSERT_EQ(made.code, 0) << made.err;
    const RunResult shot = run(prefix + "/bin/quillmere",
                               {"-datafile", "data/flow.gri", "-showStreamlines", "1", "-screenshot", "a.png"}, work);
    EXPECT_EQ(shot.code, 0) << shot.err;
    EXPECT_EQ(shot.err, "");

    // The same picture as the viewer of the build folder draws.
    prepareViewerDir(work);
    const RunResult built = run(programPath("quillmere"),
                                {"-datafile", "data/flow.gri", "-showStreamlines", "1", "-screenshot", "b.png"}, work);
    ASSERT_EQ(built.code, 0) << built.err;
    const Image installed = loadPng(work + "/a.png");
    const Image reference = loadPng(work + "/b.png");
    ASSERT_TRUE(installed.ok());
    EXPECT_EQ(installed.width, reference.width);
    EXPECT_TRUE(installed.rgba == reference.rgba);

    // The installed tools load the NetCDF module: the library itself, not
    // the module search, refuses a file that is not NetCDF.
    std::ofstream(work + "/bogus.nc") << "not NetCDF\n";
    const RunResult netcdf = run(prefix + "/bin/quillmere-trace", {"bogus.nc", "-o", "out.csv"}, work);
    EXPECT_EQ(netcdf.code, 1);
    EXPECT_NE(netcdf.err.find("bogus.nc: NetCDF: Unknown file format"), std::string::npos) << netcdf.err;

    // Without its image the installed viewer says where it looked.
    fs::remove(work + "/img");
    fs::remove(prefix + "/share/quillmere/img/arrow.tga");
    const RunResult lost = run(prefix + "/bin/quillmere", {"-screenshot", "c.png"}, work);
    EXPECT_EQ(lost.code, 1);
    EXPECT_EQ(lost.err,
              "Looked for img/arrow.tga in " + work + ", " + prefix + "/bin, " + prefix + "/share/quillmere\n");
}

TEST(Install, TheDebianPackageHoldsTheProgramsAndNamesTheirLibraries) {
    const TempDir temp;
    const RunResult pack =
        run(QM_CPACK_COMMAND,
            {"-G", "DEB", "--config", std::string(QM_BINARY_DIR) + "/CPackConfig.cmake", "-B", temp.path()},
            temp.path(), 600.0);
    ASSERT_EQ(pack.code, 0) << pack.out << pack.err;
    std::string deb;
    for (const auto& entry : fs::directory_iterator(temp.path()))
        if (entry.path().extension() == ".deb") deb = entry.path().string();
    ASSERT_FALSE(deb.empty()) << pack.out;
    EXPECT_EQ(fs::path(deb).filename().string().rfind("quillmere_0.2.0_", 0), 0u) << deb;

    const std::string root = temp.file("root");
    ASSERT_EQ(run("/usr/bin/dpkg-deb", {"-x", deb, root}, temp.path()).code, 0);
    std::vector<std::string> expected;
    for (const std::string& file : kInstalled) expected.push_back("usr/" + file);
    EXPECT_EQ(filesBelow(root), expected);

    const RunResult depends = run("/usr/bin/dpkg-deb", {"-f", deb, "Depends"}, temp.path());
    ASSERT_EQ(depends.code, 0);
    for (const char* library : {"libglut", "libglew", "libdevil", "libglu1", "libnetcdf", "libpng16", "libstdc++6"})
        EXPECT_NE(depends.out.find(library), std::string::npos) << library << " in " << depends.out;
}

}  // namespace
