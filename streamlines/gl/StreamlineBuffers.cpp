#include "streamlines/gl/StreamlineBuffers.h"

#include "data/Channel.h"
#include "data/FlowData.h"
#include "streamlines/StreamlineSet.h"

#include <GL/glew.h>

#include <array>
#include <cmath>

namespace {

// How much wider than the line width in force the dark outline under lines
// and around bands and glyphs is drawn, in pixels: a pixel either side of a
// line, a pixel outside a band's or a glyph's edge (drawn at width one).
constexpr float lineOutlineWidth = 2.0f;
constexpr float shapeOutlineWidth = 1.0f;

// Interleaved x, y, z, red, green, blue: what glVertex3f and glColor3f sent.
constexpr int kFloatsPerVertex = 6;
constexpr GLsizei kStride = kFloatsPerVertex * sizeof(float);

StreamlineMode drawingOf(StreamlineMode mode) { return mode == StreamlineMode::Normal ? StreamlineMode::Evenly : mode; }

const ViewVertex& position(const ViewVertex& v) { return v; }
const ViewVertex& position(const GreyVertex& v) { return v.position; }

// The vertices of blocks, appended to `data` as one draw each.
template <class Block, class Color>
void append(const std::vector<Block>& blocks, std::vector<float>& data, std::vector<int>& firsts,
            std::vector<int>& counts, Color color) {
    for (const Block& block : blocks) {
        firsts.push_back(static_cast<int>(data.size() / kFloatsPerVertex));
        counts.push_back(static_cast<int>(block.size()));
        for (const auto& vertex : block) {
            const ViewVertex& v = position(vertex);
            const std::array<float, 3> c = color(vertex);
            data.insert(data.end(), {v.x, v.y, v.z, c[0], c[1], c[2]});
        }
    }
}

// Each triangle of a glyph block as its own closed outline.
std::vector<VertexBlock> triangleOutlines(const std::vector<VertexBlock>& blocks) {
    std::vector<VertexBlock> loops;
    for (const VertexBlock& block : blocks)
        for (std::size_t k = 0; k + 3 <= block.size(); k += 3) loops.push_back({block[k], block[k + 1], block[k + 2]});
    return loops;
}

void drawBatch(const std::vector<int>& firsts, const std::vector<int>& counts, unsigned primitive) {
    if (firsts.empty()) return;
    glMultiDrawArrays(primitive, firsts.data(), counts.data(), static_cast<GLsizei>(firsts.size()));
}

}  // namespace

bool StreamlineBuffers::Key::operator==(const Key& o) const {
    const LineStyle& a = look.style;
    const LineStyle& b = o.look.style;
    return placement == o.placement && look.mode == o.look.mode && look.lineWidthMax == o.look.lineWidthMax &&
           look.lineWidthMin == o.look.lineWidthMin && look.glyphSpacing == o.look.glyphSpacing &&
           look.texturePeriod == o.look.texturePeriod && look.textureFunction == o.look.textureFunction &&
           look.tolerance == o.look.tolerance && a.color == b.color && a.chosen == b.chosen && a.speed == b.speed &&
           a.outline == b.outline && speedTable == o.speedTable && speedMin == o.speedMin && speedMax == o.speedMax;
}

StreamlineBuffers::~StreamlineBuffers() { release(); }

void StreamlineBuffers::release() {
    if (buffer_ != 0) glDeleteBuffers(1, &buffer_);
    buffer_ = 0;
    built_ = false;
}

void StreamlineBuffers::draw(StreamlineSet& set, const StreamlineLook& look) {
    Key key;
    key.placement = set.placement();
    key.look = look;
    key.look.mode = drawingOf(look.mode);
    // Only what the mode draws with decides whether to build again.
    const bool styled = key.look.mode != StreamlineMode::TextureGeneration;
    const bool bySpeed = styled && look.style.color == LineColor::BySpeed && look.style.speedTable && look.style.speed;
    if (!styled) key.look.style = LineStyle();
    if (key.look.mode != StreamlineMode::Tapering) key.look.lineWidthMax = key.look.lineWidthMin = 0.0f;
    if (key.look.mode != StreamlineMode::GlyphMapping) key.look.glyphSpacing = 0.0f;
    if (key.look.mode != StreamlineMode::TextureGeneration) key.look.texturePeriod = key.look.textureFunction = 0;
    if (bySpeed) {
        key.speedTable.assign(look.style.speedTable, look.style.speedTable + 4 * 4096);
        key.speedMin = look.style.speed->minValue();
        key.speedMax = look.style.speed->maxValue();
    }
    if (!built_ || !(key == key_)) build(set, key);

    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, kStride, nullptr);
    // The dark outline goes first, so that the coloured line or shape drawn
    // after it at the same depth covers its inner part.
    if (!outline_.firsts.empty()) {
        GLfloat width = 1.0f;
        glGetFloatv(GL_LINE_WIDTH, &width);
        glLineWidth(width + outlineWidth_ * look.style.pixel);
        glColor3f(0.0f, 0.0f, 0.0f);
        drawBatch(outline_.firsts, outline_.counts, outline_.primitive);
        glLineWidth(width);
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, kStride, reinterpret_cast<const void*>(3 * sizeof(float)));
    drawBatch(shapes_.firsts, shapes_.counts, shapes_.primitive);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void StreamlineBuffers::build(StreamlineSet& set, const Key& key) {
    key_ = key;
    built_ = true;
    ++builds_;
    shapes_ = Batch();
    outline_ = Batch();
    std::vector<float> data;
    const FlowData* flow = set.flowData();
    const StreamlineView view(set.domainBox(), flow ? flow->quadSize() : QuadSize{});
    const StreamlineLook& look = key.look;
    const LineStyle& style = look.style;
    const bool bySpeed = !key.speedTable.empty();
    const LineValues* speeds = bySpeed ? &set.valuesAlongLines(style.speed) : nullptr;
    const auto colored = [&style](const ViewVertex& v) { return style.colorAt(v.value); };
    const auto black = [](const ViewVertex&) { return std::array<float, 3>{0.0f, 0.0f, 0.0f}; };

    std::vector<VertexBlock> shapes;
    std::vector<VertexBlock> outlines;
    switch (look.mode) {
    case StreamlineMode::TextureGeneration: {
        shapes_.primitive = GL_LINE_STRIP;
        const auto strips = buildTexturedStrips(set, view, look.texturePeriod, look.textureFunction, look.tolerance);
        append(strips, data, shapes_.firsts, shapes_.counts, [](const GreyVertex& v) {
            const float g = static_cast<float>(v.grey);
            return std::array<float, 3>{g, g, g};
        });
        break;
    }
    case StreamlineMode::Tapering:
        shapes_.primitive = GL_QUADS;
        shapes = buildTaperedQuads(set, view, set.nearestOtherDistances(), look.lineWidthMax, look.lineWidthMin, speeds,
                                   look.tolerance);
        if (style.outline) {
            outline_.primitive = GL_LINE_LOOP;
            outlineWidth_ = shapeOutlineWidth;
            for (const VertexBlock& block : shapes) outlines.push_back(bandOutline(block));
        }
        break;
    case StreamlineMode::GlyphMapping:
        shapes_.primitive = GL_TRIANGLES;
        shapes = buildGlyphTriangles(set, view, look.glyphSpacing, speeds);
        if (style.outline) {
            outline_.primitive = GL_LINE_LOOP;
            outlineWidth_ = shapeOutlineWidth;
            outlines = triangleOutlines(shapes);
        }
        break;
    default:
        shapes_.primitive = GL_LINE_STRIP;
        shapes = buildLineStrips(set, view, speeds, look.tolerance);
        if (style.outline) {
            outline_.primitive = GL_LINE_STRIP;
            outlineWidth_ = lineOutlineWidth;
            outlines = shapes;
        }
        break;
    }
    append(shapes, data, shapes_.firsts, shapes_.counts, colored);
    append(outlines, data, outline_.firsts, outline_.counts, black);

    if (buffer_ == 0) glGenBuffers(1, &buffer_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(float)), data.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

float pixelTolerance() {
    GLfloat projection[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double pixel = 2.0 / (std::fabs(projection[5]) * viewport[3]);
    if (!std::isfinite(pixel) || !(pixel > 0.0)) return 0.0f;
    return static_cast<float>(std::exp2(std::floor(std::log2(pixel)) - 2.0));
}
