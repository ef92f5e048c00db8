// quillmere-arrowgen: writes the arrow glyph the viewer draws as point sprites.
// An uncompressed 32-bit BGRA TGA, bottom-left origin: a white arrow along +x
// centred in the square image, with a black edge around it, so that an arrow
// coloured like the field under it still stands out. Alpha is the coverage of
// arrow and edge together (8 x 8 samples), the colour the share of the arrow
// in it; transparent pixels are black like the edge, so that filtering and
// mipmaps never pull light fringes outside it.

#include "common/SafeFileWrite.h"
#include "common/Usage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kProgram = "quillmere-arrowgen";
const char* const kSynopsis = "Usage: quillmere-arrowgen [--size N] OUT.tga";

std::string helpText() {
    return formatHelp(kSynopsis,
                      "Writes a white arrow with a black edge pointing along +x on a transparent square of N x N pixels as an "
                      "uncompressed 32-bit TGA.",
                      {{"Options:",
                        {{"--size N", "width and height in pixels, 8..1024 (default 64)"},
                         {"-h, --help", "print this help and exit"},
                         {"--version", "print the version and exit"}}}});
}

int usageFailure(const std::string& problem) {
    std::cerr << usageError(kProgram, problem, kSynopsis);
    return 2;
}

// Arrow in unit coordinates (u along +x, v up, both in [0, 1]), symmetric about v = 0.5.
const double shaftStart = 0.08, shaftEnd = 0.58, shaftHalf = 0.08;
const double headBase = 0.52, tip = 0.92, headHalf = 0.24;
// Width of the edge, in unit coordinates: about 2 pixels of an arrow drawn
// 32 pixels large. The tip leaves room for it inside the image.
const double edgeWidth = 0.06;

bool insideArrow(double u, double v) {
    const double dv = std::fabs(v - 0.5);
    if (u >= shaftStart && u <= shaftEnd && dv <= shaftHalf) return true;
    if (u >= headBase && u <= tip) return dv <= headHalf * (tip - u) / (tip - headBase);
    return false;
}

double segmentDistance(double u, double v, double u0, double v0, double u1, double v1) {
    const double du = u1 - u0, dv = v1 - v0;
    const double t = std::clamp(((u - u0) * du + (v - v0) * dv) / (du * du + dv * dv), 0.0, 1.0);
    return std::hypot(u - (u0 + t * du), v - (v0 + t * dv));
}

// Inside the arrow or within edgeWidth of its outline.
bool insideEdge(double u, double v) {
    if (insideArrow(u, v)) return true;
    const double lo = 0.5 - shaftHalf, hi = 0.5 + shaftHalf;
    const double outline[][4] = {
        {shaftStart, lo, shaftEnd, lo},       {shaftStart, hi, shaftEnd, hi},
        {shaftStart, lo, shaftStart, hi},     {headBase, 0.5 - headHalf, tip, 0.5},
        {headBase, 0.5 + headHalf, tip, 0.5}, {headBase, 0.5 - headHalf, headBase, 0.5 + headHalf}};
    for (const auto& s : outline)
        if (segmentDistance(u, v, s[0], s[1], s[2], s[3]) <= edgeWidth) return true;
    return false;
}

std::vector<std::uint8_t> render(int size) {
    const int samples = 8;
    std::vector<std::uint8_t> bgra(size_t(size) * size_t(size) * 4);
    for (int row = 0; row < size; ++row) {  // row 0 is the bottom row
        for (int col = 0; col < size; ++col) {
            int arrow = 0, covered = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double u = (col + (sx + 0.5) / samples) / size;
                    const double v = (row + (sy + 0.5) / samples) / size;
                    if (insideArrow(u, v)) ++arrow;
                    if (insideEdge(u, v)) ++covered;
                }
            }
            std::uint8_t* p = &bgra[(size_t(row) * size_t(size) + size_t(col)) * 4];
            p[0] = p[1] = p[2] = covered ? std::uint8_t((arrow * 255 + covered / 2) / covered) : 0;
            p[3] = std::uint8_t((covered * 255 + samples * samples / 2) / (samples * samples));
        }
    }
    return bgra;
}

std::string tgaHeader(int size) {
    std::string h(18, '\0');
    h[2] = 2;  // uncompressed true-colour
    h[12] = char(size & 0xff);
    h[13] = char(size >> 8);
    h[14] = char(size & 0xff);
    h[15] = char(size >> 8);
    h[16] = 32;    // bits per pixel
    h[17] = 0x08;  // 8 alpha bits, origin bottom-left
    return h;
}

}  // namespace

int main(int argc, char** argv) {
    int size = 64;
    std::string out;
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        if (isHelpOption(a)) {
            std::cout << helpText();
            return 0;
        }
        if (isVersionOption(a)) {
            std::cout << versionLine(kProgram);
            return 0;
        }
        if (a == "--size") {
            if (k + 1 >= argc) return usageFailure("missing value for --size");
            char* end = nullptr;
            const std::string value = argv[++k];
            const long v = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || v < 8 || v > 1024)
                return usageFailure("invalid value for --size: '" + value + "' (allowed 8..1024)");
            size = int(v);
        } else if (a.size() > 1 && a[0] == '-') {
            return usageFailure("unknown option '" + a + "'");
        } else if (!out.empty()) {
            return usageFailure("unexpected argument '" + a + "'");
        } else {
            out = a;
        }
    }
    if (out.empty()) return usageFailure("missing output file OUT.tga");

    const std::vector<std::uint8_t> pixels = render(size);
    std::string tga = tgaHeader(size);
    tga.append(reinterpret_cast<const char*>(pixels.data()), pixels.size());
    std::string why;
    if (!writeFileSafely(out, tga, &why)) {
        std::cerr << kProgram << ": " << why << "\n";
        return 1;
    }
    return 0;
}
