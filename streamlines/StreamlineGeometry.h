#pragma once

#include "data/FieldQuad.h"
#include "streamlines/DomainBox.h"

#include <vector>

class StreamlineSet;

// What the four streamline drawing modes send to GL, computed without GL so
// that it can be checked. Coordinates are view units, y up.

struct ViewVertex {
    float x;
    float y;
    float z;
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

// Full band width for a distance d to the nearest other line: maxWidth at
// dsep and beyond, falling linearly to 0 at dtest, raised to minWidth.
float taperWidth(float d, float dsep, float dtest, float maxWidth, float minWidth);

// Grey level of step index `index` with period P: function 0 ("f1") a sine
// wave, 1 ("f2") a ramp from 0 to 1 over P steps. A period below 2 has no
// ramp; its single step is the last of its period and is white (1).
double textureGrey(int index, int period, int function);

// One block per line, upstream end first: the vertices of a line strip.
std::vector<VertexBlock> buildLineStrips(const StreamlineSet& set, const StreamlineView& view);
// The same with the grey level of each point's step index.
std::vector<std::vector<GreyVertex>> buildTexturedStrips(const StreamlineSet& set, const StreamlineView& view);
// One block of quads (4 vertices each) per line; distances[l][k] is the
// nearest-other distance of point k of line l.
std::vector<VertexBlock> buildTaperedQuads(const StreamlineSet& set, const StreamlineView& view,
                                           const std::vector<std::vector<float>>& distances, float maxWidth,
                                           float minWidth);
// One block of triangles (3 vertices each) per line, about 0.3 apart.
std::vector<VertexBlock> buildGlyphTriangles(const StreamlineSet& set, const StreamlineView& view);
