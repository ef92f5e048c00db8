#pragma once

#include "data/FieldQuad.h"
#include "settings/Modes.h"
#include "streamlines/DomainBox.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

class Channel;
class Streamline;
class StreamlineSet;

// What the four streamline drawing modes send to GL, computed without GL so
// that it can be checked. Coordinates are view units, y up.

struct ViewVertex {
    float x;
    float y;
    float z;
    // The normalised speed there, when the builder was given speeds.
    float value = 0.0f;
};

struct GreyVertex {
    ViewVertex position;
    double grey;
};

// Maps the domain box onto the field quad (centred on the origin), clamping
// every point to the box first; z is -0.5, in front of the quad at -1.
class StreamlineView {
public:
    StreamlineView(const DomainBox& box, QuadSize quad);

    // False without a loaded grid or for an empty box: nothing is drawn.
    bool isValid() const { return valid_; }
    float quadWidth() const { return quadWidth_; }
    float quadHeight() const { return quadHeight_; }
    // View units per data unit (the smaller of x and y).
    float scale() const { return std::min(scaleX_, scaleY_); }

    void clamp(float& x, float& y) const;
    ViewVertex map(float x, float y) const;

private:
    DomainBox box_;
    float offsetX_ = 0.0f;
    float offsetY_ = 0.0f;
    float scaleX_ = 0.0f;
    float scaleY_ = 0.0f;
    float quadWidth_ = 0.0f;
    float quadHeight_ = 0.0f;
    bool valid_ = false;
};

using VertexBlock = std::vector<ViewVertex>;

// Normalised values per point of every line, in the order of the lines and
// their points (StreamlineSet::valuesAlongLines); null when not needed.
using LineValues = std::vector<std::vector<float>>;

// How lines, tapered bands and glyphs are coloured and outlined.
struct LineStyle {
    LineColor color = LineColor::White;
    std::array<float, 3> chosen{1.0f, 1.0f, 1.0f};  // LineColor::Chosen
    // LineColor::BySpeed: 4096 RGBA texels (the arrow plot's colour table)
    // over the normalised values of `speed` (the magnitude channel); without
    // a table the lines stay white.
    const std::uint8_t* speedTable = nullptr;
    const Channel* speed = nullptr;
    bool outline = false;  // a dark outline under every line, band and glyph
    float pixel = 1.0f;    // device pixels per window pixel: the outline's pixel

    // The colour of a vertex; `value` is its normalised speed (a value that
    // is not a number counts as 0).
    std::array<float, 3> colorAt(float value) const;
};

// Full band width for a distance d to the nearest other line: maxWidth at
// dsep and beyond, falling linearly to 0 at dtest, raised to minWidth.
float taperWidth(float d, float dsep, float dtest, float maxWidth, float minWidth);

// Grey level of step index `index` with period P: function 0 ("f1") a sine
// wave, 1 ("f2") a ramp from 0 to 1 over P steps. A period below 2 has no
// ramp; its single step is the last of its period and is white (1).
double textureGrey(int index, int period, int function);

// A quantity drawn along a line besides its position (a colour value, a
// grey level, a band's width), one per point, and how far a straight
// interpolation between the points drawn may stray from it.
struct DrawnLevel {
    const float* values;
    float tolerance;
};
// How far colour values and grey levels (0 to 1) may stray: half a step of 8 bits.
constexpr float kValueTolerance = 0.5f / 255.0f;

// The indices of the points of `line` that are drawn: the first and the
// last, and between them as few as keep every point left out within
// `tolerance` view units of the segment drawn in its place and every level
// within its tolerance of the interpolation; every point with a tolerance
// of 0. A line denser than the screen's pixels thus loses vertices but
// nothing that shows, while a straight stretch needs two.
std::vector<std::size_t> drawnPoints(const Streamline& line, const StreamlineView& view, float tolerance,
                                     const std::vector<DrawnLevel>& levels = {});

// The builders below draw the points drawnPoints keeps with `tolerance`.

// One block per line, upstream end first: the vertices of a line strip.
// With `values`, every vertex carries the value of its point.
std::vector<VertexBlock> buildLineStrips(const StreamlineSet& set, const StreamlineView& view,
                                         const LineValues* values = nullptr, float tolerance = 0.0f);
// The same with the grey level of each point's step index for the texture
// period and function given.
std::vector<std::vector<GreyVertex>> buildTexturedStrips(const StreamlineSet& set, const StreamlineView& view,
                                                         int period, int function, float tolerance = 0.0f);
// One block of quads (4 vertices each) per line; distances[l][k] is the
// nearest-other distance of point k of line l.
std::vector<VertexBlock> buildTaperedQuads(const StreamlineSet& set, const StreamlineView& view,
                                           const std::vector<std::vector<float>>& distances, float maxWidth,
                                           float minWidth, const LineValues* values = nullptr, float tolerance = 0.0f);
// The boundary of one line's tapered band (a block of buildTaperedQuads) as
// a closed loop: along one side, across the end, back along the other.
VertexBlock bandOutline(const VertexBlock& quads);
// One block of triangles (3 vertices each) per line, about `spacing` apart
// along it (data units); a spacing that is not a positive number gives none.
// Wedges are about 0.0075 view units wide at their base whatever the spacing.
std::vector<VertexBlock> buildGlyphTriangles(const StreamlineSet& set, const StreamlineView& view, float spacing = 0.3f,
                                             const LineValues* values = nullptr);
