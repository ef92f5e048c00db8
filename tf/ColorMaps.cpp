#include "tf/ColorMaps.h"

#include "data/FlowData.h"
#include "tf/TfPointList.h"
#include "tf/TransferFunction.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

// Stops evenly spaced from 0 to 1, given as the hex colours the maps are
// published as ("440154 481A6C ...").
std::vector<ColorMapStop> evenly(const char* hexColours) {
    std::vector<unsigned> colours;
    std::istringstream in(hexColours);
    for (unsigned c; in >> std::hex >> c;) colours.push_back(c);
    std::vector<ColorMapStop> stops;
    const float last = static_cast<float>(colours.size() - 1);
    for (std::size_t k = 0; k < colours.size(); ++k) {
        const unsigned c = colours[k];
        stops.push_back({static_cast<float>(k) / last, static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF),
                         static_cast<int>(c & 0xFF)});
    }
    return stops;
}

// Green's cubehelix (2011) with its published defaults (start 0.5, -1.5
// rotations, hue 1, gamma 1): brightness rises steadily, so it prints in grey.
// 33 stops follow the curve within a level.
std::vector<ColorMapStop> cubehelix() {
    std::vector<ColorMapStop> stops;
    const double pi = 3.14159265358979323846;
    for (int k = 0; k <= 32; ++k) {
        const double l = k / 32.0;
        const double a = l * (1.0 - l) / 2.0;
        const double phi = 2.0 * pi * (0.5 / 3.0 + 1.0 - 1.5 * l);
        const double c = std::cos(phi), s = std::sin(phi);
        auto level = [&](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
        stops.push_back({static_cast<float>(l), level(l + a * (-0.14861 * c + 1.78277 * s)),
                         level(l + a * (-0.29227 * c - 0.90649 * s)), level(l + a * (1.97294 * c))});
    }
    return stops;
}

// Moreland's cool-warm (2009) as he tabulates it at 33 places.
const char* const kCoolWarm =
    "3B4CC0 445ACC 4D68D7 5775E1 6282EA 6C8EF1 779AF7 82A5FB 8DB0FE 98B9FF A3C2FF AEC9FD B8D0F9 C2D5F4 CCD9EE "
    "D5DBE6 DDDDDD E5D8D1 ECD3C5 F1CCB9 F5C4AD F7BBA0 F7B194 F7A687 F49A7B F18D6F EC7F63 E57058 DE604D D55042 "
    "CB3E38 C0282F B40426";

}  // namespace

const std::vector<ColorMap>& colorMaps() {
    static const std::vector<ColorMap> maps = {
        {"grey", "Grey", "black to white, as a transfer function starts", evenly("000000 FFFFFF")},
        {"viridis", "Viridis", "perceptually uniform, dark blue to yellow; readable in grey and with colour blindness",
         evenly("440154 481A6C 472F7D 414487 39568C 31688E 2A788E 23888E 1F988B 22A884 35B779 54C568 7AD151 A5DB36 "
                "D2E21B FDE725")},
        {"magma", "Magma", "perceptually uniform, black through purple to pale yellow",
         evenly("000004 0B0924 20114B 3B0F70 57157E 721F81 8C2981 A8327D C43C75 DE4968 F1605D FA7F5E FE9F6D FEBF84 "
                "FDDEA0 FCFDBF")},
        {"cividis", "Cividis", "perceptually uniform, blue to yellow; the same for every kind of colour vision",
         evenly("00204D 00336F 39486B 575C6D 707173 8A8779 A69D75 C4B56C E4CF5B FFEA46")},
        {"cool-warm", "Cool-warm", "diverging, blue through grey to red, over the whole range", evenly(kCoolWarm)},
        {"cool-warm-zero", "Cool-warm, grey at 0",
         "diverging about zero, for signed values: 0 grey, equal magnitudes of either sign equally strong",
         evenly(kCoolWarm), true},
        {"cubehelix", "Cubehelix", "brightness rising steadily through a helix of hues; prints well in grey",
         cubehelix()},
    };
    return maps;
}

const ColorMap* findColorMap(const std::string& name) {
    for (const ColorMap& map : colorMaps())
        if (name == map.name) return &map;
    return nullptr;
}

std::string colorMapNames() {
    std::string names;
    for (const ColorMap& map : colorMaps()) names += (names.empty() ? "" : ", ") + std::string(map.name);
    return names;
}

std::array<float, 3> colorMapColor(const ColorMap& map, float at) {
    const std::vector<ColorMapStop>& s = map.stops;
    at = std::clamp(at, 0.0f, 1.0f);
    std::size_t k = 1;
    while (k + 1 < s.size() && s[k].at < at) ++k;
    const ColorMapStop& p = s[k - 1];
    const ColorMapStop& q = s[k];
    const float t = q.at > p.at ? std::clamp((at - p.at) / (q.at - p.at), 0.0f, 1.0f) : 0.0f;
    return {p.red + t * (q.red - p.red), p.green + t * (q.green - p.green), p.blue + t * (q.blue - p.blue)};
}

std::vector<TfPoint> colorMapPoints(const ColorMap& map, float pointWidth, float from, float to) {
    const float end = TfPointList::endPosition;
    auto point = [&](float position, const std::array<float, 3>& c) {
        return TfPoint(position, pointWidth,
                       ColorRGBA(static_cast<int>(std::lround(c[0])), static_cast<int>(std::lround(c[1])),
                                 static_cast<int>(std::lround(c[2])), 255));
    };
    std::vector<TfPoint> points{point(0.0f, colorMapColor(map, from))};
    if (to > from) {
        for (const ColorMapStop& s : map.stops) {
            const float position = (s.at - from) / (to - from) * end;
            if (position >= pointWidth && position <= end - pointWidth)
                points.push_back(point(
                    position, {static_cast<float>(s.red), static_cast<float>(s.green), static_cast<float>(s.blue)}));
        }
    }
    points.push_back(point(end, colorMapColor(map, to)));
    return points;
}

void applyColorMap(TransferFunction& tf, const ColorMap& map) {
    float from = 0.0f, to = 1.0f;
    const Channel* channel = tf.flowData ? tf.flowData->channel(tf.channelSlot) : nullptr;
    if (map.centredOnZero && channel) {
        const float low = channel->minValue(), high = channel->maxValue();
        const float reach = std::max(std::fabs(low), std::fabs(high));
        if (reach > 0.0f && std::isfinite(reach) && high >= low) {
            from = 0.5f + low / (2.0f * reach);
            to = 0.5f + high / (2.0f * reach);
        }
    }
    tf.points().clear();
    tf.points().setPoints(colorMapPoints(map, tf.pointWidth, from, to));
    tf.buildColorTable();
}
