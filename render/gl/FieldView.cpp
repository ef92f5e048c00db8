#include "render/FieldView.h"

#include "data/FlowData.h"
#include "data/TextureUnits.h"
#include "data/UniformTarget.h"
#include "render/ArrowPlot.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

void FlowData::drawFieldQuad() {
    const QuadSize quad = quadSize();
    const float sx = quad.width;
    const float sy = quad.height;
    if (!uniforms_) return;
    uniforms_->use();
    // The arrow pass leaves "mode" at 0, but the opener and the panel send the
    // arrow-plot switch through it too; the quad is always drawn in mode 0.
    uniforms_->setInt("mode", 0);
    glBegin(GL_QUADS);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 0.0f, 1.0f);
    glVertex3f(-sx / 2, -sy / 2, -1.0f);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 1.0f, 1.0f);
    glVertex3f(sx / 2, -sy / 2, -1.0f);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 1.0f, 0.0f);
    glVertex3f(sx / 2, sy / 2, -1.0f);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 0.0f, 0.0f);
    glVertex3f(-sx / 2, sy / 2, -1.0f);
    glEnd();
    uniforms_->unuse();
}

void ArrowPlot::draw() const {
    glActiveTextureARB(GL_TEXTURE0_ARB + textureUnit::arrowImage);
    glEnable(GL_POINT_SPRITE_ARB);
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE_ARB);
    glPointSize(*size);
    glTexEnvi(GL_POINT_SPRITE_ARB, GL_COORD_REPLACE_ARB, GL_TRUE);
    shader->use();
    shader->setInt("mode", 1);
    glBegin(GL_POINTS);
    forEachArrow([](const Arrow& a) {
        glMultiTexCoord2fARB(GL_TEXTURE0_ARB, a.s, a.t);
        glVertex3f(a.x, a.y, 0.0f);
    });
    glEnd();
    shader->setInt("mode", 0);
    shader->unuse();
    glDisable(GL_POINT_SPRITE_ARB);
    glDisable(GL_VERTEX_PROGRAM_POINT_SIZE_ARB);
}
