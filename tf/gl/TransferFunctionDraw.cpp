#include "tf/TransferFunction.h"

#include "data/UniformTarget.h"

#include <GL/glew.h>

void TransferFunction::draw() {
    drawHistogram();
    drawPoints();
    drawColorBar();
}

void TransferFunction::drawHistogram() {
    const float h6 = 6.0f * stripHeight;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(originX, originY + 0.55f, 0.0f);

    glColor3f(0.4f, 0.4f, 0.4f);
    glBegin(GL_QUADS);
    glVertex3f(0.0f, 0.0f, -0.6f);
    glVertex3f(stripWidth, 0.0f, -0.6f);
    glVertex3f(stripWidth, h6, -0.6f);
    glVertex3f(0.0f, h6, -0.6f);
    glEnd();

    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_LINES);
    glVertex3f(0.0f, 0.0f, 0.15f);
    glVertex3f(stripWidth + 0.1f, 0.0f, 0.15f);
    glVertex3f(0.0f, 0.0f, 0.15f);
    glVertex3f(0.0f, h6 + 0.1f, 0.15f);
    glEnd();
    glBegin(GL_TRIANGLES);
    glVertex3f(stripWidth + 0.1f, -0.025f, 0.15f);
    glVertex3f(stripWidth + 0.2f, 0.0f, 0.15f);
    glVertex3f(stripWidth + 0.1f, 0.025f, 0.15f);
    glVertex3f(-0.025f, h6 + 0.1f, 0.15f);
    glVertex3f(0.025f, h6 + 0.1f, 0.15f);
    glVertex3f(0.0f, h6 + 0.2f, 0.15f);
    glEnd();

    glColor3f(0.6f, 0.6f, 0.6f);
    const float w = 4.0f / static_cast<float>(binCount);
    glBegin(GL_QUADS);
    for (int i = 0; i < binCount; ++i) {
        const float height = binHeights[static_cast<std::size_t>(i)];
        if (!(height > 0.0f)) continue;  // empty bins and bins without a finite height
        const float x = static_cast<float>(i) * w;
        glVertex3f(x, 0.0f, -0.4f);
        glVertex3f(x + w, 0.0f, -0.4f);
        glVertex3f(x + w, h6 * height, -0.4f);
        glVertex3f(x, h6 * height, -0.4f);
    }
    glEnd();
    glPopMatrix();
}

void TransferFunction::drawPoints() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(originX, originY, 0.0f);

    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(0.0f, 0.0f, 0.12f);
    glVertex3f(stripWidth, 0.0f, 0.12f);
    glVertex3f(stripWidth, stripHeight, 0.12f);
    glVertex3f(0.0f, stripHeight, 0.12f);
    glEnd();

    for (const TfPoint* p = points().first(); p; p = p->next.get()) {
        const float w = p->markerWidth;
        const float x0 = p->position - w / 2.0f;
        const float x1 = p->position + w / 2.0f;
        const float r = p->color.red(), g = p->color.green(), b = p->color.blue();
        glColor3f(r, g, b);
        glBegin(GL_QUADS);
        glVertex3f(x0, 0.0f, 0.12f);
        glVertex3f(x1, 0.0f, 0.12f);
        glVertex3f(x1, w, 0.12f);
        glVertex3f(x0, w, 0.12f);
        glEnd();
        glColor3f(r * 0.5f, g * 0.5f, b * 0.5f);
        glBegin(GL_LINES);
        glVertex3f(x0, 0.0f, 0.2f);
        glVertex3f(x0, w, 0.2f);
        glVertex3f(x1, 0.0f, 0.2f);
        glVertex3f(x1, w, 0.2f);
        glEnd();
    }
    glPopMatrix();
}

void TransferFunction::drawColorBar() {
    if (textureStale || textureName == 0) updateTexture();
    glActiveTextureARB(GL_TEXTURE0_ARB + textureUnit());
    if (isArrowTf && shader) {
        shader->use();
        shader->setInt("renderArrowTF", 1);
    }
    glBindTexture(GL_TEXTURE_1D, textureName);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_1D);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(originX, originY + 0.55f, 0.3f);
    glBegin(GL_QUADS);
    glMultiTexCoord1fARB(GL_TEXTURE0_ARB + textureUnit::backgroundTf, 0.0f);
    glMultiTexCoord1fARB(GL_TEXTURE0_ARB + textureUnit::arrowTf, 0.0f);
    glVertex2f(0.0f, -0.1f);
    glVertex2f(0.0f, -0.4f);
    glMultiTexCoord1fARB(GL_TEXTURE0_ARB + textureUnit::backgroundTf, 1.0f);
    glMultiTexCoord1fARB(GL_TEXTURE0_ARB + textureUnit::arrowTf, 1.0f);
    glVertex2f(stripWidth, -0.4f);
    glVertex2f(stripWidth, -0.1f);
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_1D);

    if (isArrowTf && shader) {
        shader->setInt("renderArrowTF", 0);
        shader->unuse();
    }
}
