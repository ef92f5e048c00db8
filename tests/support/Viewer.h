#pragma once

#include "support/Process.h"

#include <cstdint>
#include <string>
#include <vector>

// Helpers for tests that run the real viewer under Xvfb.

// Makes dir a place the viewer can run from: its shader and image folders
// are linked in from the build.
void prepareViewerDir(const std::string& dir);

// A copy of the built viewer in dir/bin, which finds its shaders and arrow
// image only where a test puts them: in the working directory, in dir/bin
// or in dir/share/quillmere. Returns its path.
std::string isolatedViewer(const std::string& dir);

// Runs quillmere-flowgen with the given arguments; the dataset base name is
// dir/name. Returns the path of the grid file.
std::string generateDataset(const std::string& dir, const std::string& name, const std::vector<std::string>& args);

// An RGBA image with row 0 at the top, as seen on screen.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    bool ok() const { return width > 0 && height > 0; }
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    // Number of pixels in the rectangle whose colour is within tol of (r, g, b) on every channel.
    int count(int x0, int y0, int x1, int y1, int r, int g, int b, int tol) const;
};
Image loadPng(const std::string& path);

// Runs xdotool with the given arguments on the current DISPLAY; returns its output.
std::string xdotool(const std::string& args);

// Lines of text, split at '\n'.
std::vector<std::string> lines(const std::string& text);
// Each streamline placement's console lines, from its first line (a scan
// line or the first statistics line) to the end of its distance-field report.
std::vector<std::vector<std::string>> placementBlocks(const std::string& out);

// Whether `needles` occur in `lines` in this order (not necessarily adjacent).
bool containsInOrder(const std::vector<std::string>& haystack, const std::vector<std::string>& needles);
