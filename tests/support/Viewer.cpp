#include "support/Viewer.h"

#include <IL/il.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

void prepareViewerDir(const std::string& dir) {
    for (const char* sub : {"src", "img"}) {
        std::error_code ec;
        fs::create_directory_symlink(fs::path(QM_BINARY_DIR) / sub, fs::path(dir) / sub, ec);
    }
}

std::string isolatedViewer(const std::string& dir) {
    const fs::path bin = fs::path(dir) / "bin";
    fs::create_directories(bin);
    fs::copy_file(programPath("quillmere"), bin / "quillmere", fs::copy_options::overwrite_existing);
    return (bin / "quillmere").string();
}

std::string generateDataset(const std::string& dir, const std::string& name, const std::vector<std::string>& args) {
    std::vector<std::string> all = args;
    all.push_back("-o");
    all.push_back(dir + "/" + name);
    run(programPath("quillmere-flowgen"), all, dir);
    return dir + "/" + name + ".gri";
}

int Image::count(int x0, int y0, int x1, int y1, int r, int g, int b, int tol) const {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
            const std::uint8_t* p = at(x, y);
            if (std::abs(p[0] - r) <= tol && std::abs(p[1] - g) <= tol && std::abs(p[2] - b) <= tol) ++n;
        }
    return n;
}

Image loadPng(const std::string& path) {
    static bool initialised = false;
    if (!initialised) {
        ilInit();
        ilEnable(IL_ORIGIN_SET);
        ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
        initialised = true;
    }
    Image image;
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    if (ilLoadImage(path.c_str()) && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
        image.width = ilGetInteger(IL_IMAGE_WIDTH);
        image.height = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* data = ilGetData();
        image.rgba.assign(data, data + static_cast<size_t>(image.width) * image.height * 4);
    }
    ilDeleteImages(1, &name);
    return image;
}

std::string xdotool(const std::string& args) {
    std::string command = "xdotool " + args + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    if (!pipe) return output;
    std::array<char, 256> buffer;
    while (fgets(buffer.data(), buffer.size(), pipe.get())) output += buffer.data();
    return output;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

bool containsInOrder(const std::vector<std::string>& haystack, const std::vector<std::string>& needles) {
    size_t next = 0;
    for (const auto& line : haystack) {
        if (next < needles.size() && line == needles[next]) ++next;
    }
    return next == needles.size();
}

std::vector<std::vector<std::string>> placementBlocks(const std::string& out) {
    std::vector<std::vector<std::string>> blocks;
    std::vector<std::string> current;
    for (const std::string& l : lines(out)) {
        if (current.empty() && l.rfind("Take next", 0) != 0 && l.rfind("At the end", 0) != 0 &&
            l.rfind("Number of points in", 0) != 0)
            continue;
        current.push_back(l);
        if (l == " This could be a short amount of time!") {
            blocks.push_back(current);
            current.clear();
        }
    }
    return blocks;
}
