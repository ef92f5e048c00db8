#include "tf/ColorTable.h"

#include "tf/TfPoint.h"

#include <algorithm>
#include <vector>

namespace {

struct Stop {
    float position;
    float red, green, blue;  // the ColorRGBA getters, byte / 255
};

std::uint8_t toByte(float component) {
    int value = static_cast<int>(component * 255.0f);
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

void writeTexel(std::uint8_t* table, int byteOffset, float r, float g, float b) {
    table[byteOffset] = toByte(r);
    table[byteOffset + 1] = toByte(g);
    table[byteOffset + 2] = toByte(b);
    table[byteOffset + 3] = 255;
}

// Byte offset of a position, raised to the start of a texel.
int texelByte(float position, float stripWidth) {
    int i = static_cast<int>(position / stripWidth * 4.0 * 4096.0);
    return (i + 3) / 4 * 4;
}

// One segment: the first texel takes p's colour, the last q's. Each blended
// component is rounded to float before the byte conversion, so a ramp ends
// exactly on q's colour.
void blendSegment(std::uint8_t* table, int i, int j, const Stop& p, const Stop& q) {
    int texels = (j - i) / 4;
    double d = texels > 1 ? 1.0 / (texels - 1) : 0.0;
    double c = 1.0;
    for (int k = i; k < j; k += 4) {
        float r = static_cast<float>(c * p.red + (1.0 - c) * q.red);
        float g = static_cast<float>(c * p.green + (1.0 - c) * q.green);
        float b = static_cast<float>(c * p.blue + (1.0 - c) * q.blue);
        writeTexel(table, k, r, g, b);
        c = c - d;
    }
}

}  // namespace

void rasterizeColorTable(const TfPoint* first, float stripWidth, std::uint8_t* table) {
    if (!(stripWidth > 0.0f)) return;
    std::vector<Stop> stops;
    for (const TfPoint* p = first; p; p = p->next.get()) {
        float x = p->position;
        if (!(x > 0.0f)) x = 0.0f;  // NaN included
        if (x > stripWidth) x = stripWidth;
        stops.push_back({x, p->color.red(), p->color.green(), p->color.blue()});
    }
    if (stops.empty()) return;
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.position < b.position; });

    const int end = static_cast<int>(colorTableBytes);
    const Stop& front = stops.front();
    const Stop& back = stops.back();
    for (int k = 0; k < texelByte(front.position, stripWidth); k += 4) {
        writeTexel(table, k, front.red, front.green, front.blue);
    }
    for (std::size_t n = 0; n + 1 < stops.size(); ++n) {
        blendSegment(table, texelByte(stops[n].position, stripWidth), texelByte(stops[n + 1].position, stripWidth),
                     stops[n], stops[n + 1]);
    }
    for (int k = texelByte(back.position, stripWidth); k < end; k += 4) {
        writeTexel(table, k, back.red, back.green, back.blue);
    }
}
