// quillmere-arrowgen: writes the arrow glyph the viewer draws as point sprites.
// An uncompressed 32-bit BGRA TGA, bottom-left origin, a white arrow along +x
// centred in the square image; alpha is the pixel's coverage (8 x 8 samples).
// Colour stays white under transparent pixels too, so filtering and mipmaps
// never pull dark fringes into the edge.

#include "common/SafeFileWrite.h"
#include "common/Usage.h"

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
                      "Writes a white arrow pointing along +x on a transparent square of N x N pixels as an "
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
bool insideArrow(double u, double v) {
    const double dv = v > 0.5 ? v - 0.5 : 0.5 - v;
    const double shaftStart = 0.08, shaftEnd = 0.58, shaftHalf = 0.08;
    const double headBase = 0.52, tip = 0.94, headHalf = 0.24;
    if (u >= shaftStart && u <= shaftEnd && dv <= shaftHalf) return true;
    if (u >= headBase && u <= tip) return dv <= headHalf * (tip - u) / (tip - headBase);
    return false;
}

std::vector<std::uint8_t> render(int size) {
    const int samples = 8;
    std::vector<std::uint8_t> bgra(size_t(size) * size_t(size) * 4);
    for (int row = 0; row < size; ++row) {  // row 0 is the bottom row
        for (int col = 0; col < size; ++col) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double u = (col + (sx + 0.5) / samples) / size;
                    const double v = (row + (sy + 0.5) / samples) / size;
                    if (insideArrow(u, v)) ++hits;
                }
            }
            std::uint8_t* p = &bgra[(size_t(row) * size_t(size) + size_t(col)) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = std::uint8_t((hits * 255 + samples * samples / 2) / (samples * samples));
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
