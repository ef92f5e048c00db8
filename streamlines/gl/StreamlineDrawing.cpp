#include "streamlines/StreamlineSet.h"

#include "data/ColorRGBA.h"
#include "data/FlowData.h"
#include "streamlines/StreamlineGeometry.h"

#include <GL/gl.h>

// Immediate-mode drawing of the geometry built in the core, in the
// model-view matrix of the scene, y up like the field quad. No line width is
// set here.

namespace {

StreamlineView viewOf(const StreamlineSet& set) {
    const FlowData* data = set.flowData();
    return StreamlineView(set.domainBox(), data ? data->quadSize() : QuadSize{});
}

void setLineColor(const StreamlineSet& set) {
    const ColorRGBA* c = set.color();
    glColor3f(c->redByte / 255.0f, c->greenByte / 255.0f, c->blueByte / 255.0f);
}

void drawBlocks(GLenum mode, const std::vector<VertexBlock>& blocks) {
    // Drawn y-up like the field quad and the arrows, so lines lie on the
    // flow they follow (a y flip here would mirror them).
    for (const VertexBlock& block : blocks) {
        glBegin(mode);
        for (const ViewVertex& v : block) glVertex3f(v.x, v.y, v.z);
        glEnd();
    }
}

}  // namespace

void StreamlineSet::drawLines() {
    const StreamlineView view = viewOf(*this);
    if (!view.isValid()) return;
    setLineColor(*this);
    drawBlocks(GL_LINE_STRIP, buildLineStrips(*this, view));
}

void StreamlineSet::drawTapered(float maxWidth, float minWidth) {
    const StreamlineView view = viewOf(*this);
    if (!view.isValid()) return;
    setLineColor(*this);
    drawBlocks(GL_QUADS, buildTaperedQuads(*this, view, nearestOtherDistances(), maxWidth, minWidth));
}

void StreamlineSet::drawGlyphs() {
    const StreamlineView view = viewOf(*this);
    if (!view.isValid()) return;
    setLineColor(*this);
    drawBlocks(GL_TRIANGLES, buildGlyphTriangles(*this, view));
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
