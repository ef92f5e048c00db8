#include "streamlines/StreamlineSet.h"

#include "data/ColorRGBA.h"
#include "data/FlowData.h"
#include "streamlines/StreamlineGeometry.h"

#include <GL/gl.h>

// Immediate-mode drawing of the geometry built in the core, in the
// model-view matrix of the scene, y up like the field quad, at the line width
// the caller set (an outline is drawn wider and the width put back).

namespace {

// How much wider than the line width in force the dark outline under lines
// and around bands and glyphs is drawn, in pixels: a pixel either side of a
// line, a pixel outside a band's or a glyph's edge (drawn at width one).
constexpr float lineOutlineWidth = 2.0f;
constexpr float shapeOutlineWidth = 1.0f;

StreamlineView viewOf(const StreamlineSet& set) {
    const FlowData* data = set.flowData();
    return StreamlineView(set.domainBox(), data ? data->quadSize() : QuadSize{});
}

// The style that draws in the set's colour, as the drawing modes always did.
LineStyle setColorStyle(const StreamlineSet& set) {
    const ColorRGBA* c = set.color();
    LineStyle style;
    style.color = LineColor::Chosen;
    style.chosen = {c->red(), c->green(), c->blue()};
    return style;
}

// Normalised speeds along the lines, when the style colours by speed.
const LineValues* speedsFor(StreamlineSet& set, const LineStyle& style) {
    if (style.color != LineColor::BySpeed || !style.speedTable || !set.flowData()) return nullptr;
    return &set.valuesAlongLines(style.speed);
}

void drawBlocks(GLenum mode, const std::vector<VertexBlock>& blocks, const LineStyle& style, bool perVertex) {
    // Drawn y-up like the field quad and the arrows, so lines lie on the
    // flow they follow (a y flip here would mirror them).
    if (!perVertex) {
        const auto c = style.colorAt(0.0f);
        glColor3f(c[0], c[1], c[2]);
    }
    for (const VertexBlock& block : blocks) {
        glBegin(mode);
        for (const ViewVertex& v : block) {
            if (perVertex) {
                const auto c = style.colorAt(v.value);
                glColor3f(c[0], c[1], c[2]);
            }
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
}

// The dark outline goes first, so that the coloured line or shape drawn
// after it at the same depth covers its inner part.
void drawOutline(GLenum mode, const std::vector<VertexBlock>& blocks, float wider, float pixel) {
    GLfloat width = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    glLineWidth(width + wider * pixel);
    glColor3f(0.0f, 0.0f, 0.0f);
    for (const VertexBlock& block : blocks) {
        glBegin(mode);
        for (const ViewVertex& v : block) glVertex3f(v.x, v.y, v.z);
        glEnd();
    }
    glLineWidth(width);
}

// Each triangle of a glyph block as its own closed outline.
std::vector<VertexBlock> triangleOutlines(const std::vector<VertexBlock>& blocks) {
    std::vector<VertexBlock> loops;
    for (const VertexBlock& block : blocks)
        for (std::size_t k = 0; k + 3 <= block.size(); k += 3) loops.push_back({block[k], block[k + 1], block[k + 2]});
    return loops;
}

}  // namespace

void StreamlineSet::drawLines() { drawLines(setColorStyle(*this)); }

void StreamlineSet::drawLines(const LineStyle& style) {
    const StreamlineView view = viewOf(*this);
    if (!view.isValid()) return;
    const LineValues* speeds = speedsFor(*this, style);
    const std::vector<VertexBlock> strips = buildLineStrips(*this, view, speeds);
    if (style.outline) drawOutline(GL_LINE_STRIP, strips, lineOutlineWidth, style.pixel);
    drawBlocks(GL_LINE_STRIP, strips, style, speeds != nullptr);
}

void StreamlineSet::drawTapered(float maxWidth, float minWidth) {
    drawTapered(maxWidth, minWidth, setColorStyle(*this));
}

void StreamlineSet::drawTapered(float maxWidth, float minWidth, const LineStyle& style) {
    const StreamlineView view = viewOf(*this);
    if (!view.isValid()) return;
    const LineValues* speeds = speedsFor(*this, style);
    const std::vector<VertexBlock> quads =
        buildTaperedQuads(*this, view, nearestOtherDistances(), maxWidth, minWidth, speeds);
    if (style.outline) {
        std::vector<VertexBlock> loops;
        for (const VertexBlock& block : quads) loops.push_back(bandOutline(block));
        drawOutline(GL_LINE_LOOP, loops, shapeOutlineWidth, style.pixel);
    }
    drawBlocks(GL_QUADS, quads, style, speeds != nullptr);
}

void StreamlineSet::drawGlyphs() { drawGlyphs(0.3f, setColorStyle(*this)); }

void StreamlineSet::drawGlyphs(float spacing, const LineStyle& style) {
    const StreamlineView view = viewOf(*this);
    if (!view.isValid()) return;
    const LineValues* speeds = speedsFor(*this, style);
    const std::vector<VertexBlock> triangles = buildGlyphTriangles(*this, view, spacing, speeds);
    if (style.outline) drawOutline(GL_LINE_LOOP, triangleOutlines(triangles), shapeOutlineWidth, style.pixel);
    drawBlocks(GL_TRIANGLES, triangles, style, speeds != nullptr);
}

void StreamlineSet::drawTextured() {
    const StreamlineView view = viewOf(*this);
    if (!view.isValid()) return;
    for (const auto& block : buildTexturedStrips(*this, view)) {
        glBegin(GL_LINE_STRIP);
        for (const GreyVertex& v : block) {
            glColor3d(v.grey, v.grey, v.grey);
            glVertex3f(v.position.x, v.position.y, v.position.z);
        }
        glEnd();
    }
}
