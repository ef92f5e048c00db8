#include "render/FieldView.h"

#include "app/gl/Globals.h"
#include "data/FlowData.h"
#include "panel/LiveVariables.h"
#include "render/ArrowPlot.h"
#include "render/ShaderProgram.h"
#include "streamlines/StreamlineSet.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <IL/il.h>

#include <iostream>

void drawBitmapText(void* font, const std::string& text) {
    for (char c : text) glutBitmapCharacter(font, c);
}

void drawScene() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (flowData && flowData->isLoaded()) {
        flowData->drawFieldQuad();
        if (showStreamlines == 1 && streamlineSet) {
            switch (streamlineMode) {
            case 2: streamlineSet->drawTapered(lineWidthMax, lineWidthMin); break;
            case 3: streamlineSet->drawGlyphs(); break;
            case 4: streamlineSet->drawTextured(); break;
            default: streamlineSet->drawLines(); break;
            }
        }
        if (showArrowPlot == 1 && arrowPlot) arrowPlot->draw();
    }
    glPopMatrix();
}

void FlowData::drawFieldQuad() {
    const float W = static_cast<float>(nodesAlongX());
    const float H = static_cast<float>(nodesAlongY());
    float sx, sy;
    if (W > H) {
        sx = 1.3f;
        sy = 1.3f * H / W;
    } else {
        sy = 1.3f;
        sx = 1.3f / (H / W);
    }
    shaderProgram->use();
    // The arrow pass leaves "mode" at 0, but the opener and the panel send the
    // arrow-plot switch through it too; the quad is always drawn in mode 0.
    shaderProgram->setInt("mode", 0);
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
    shaderProgram->unuse();
}

void ArrowPlot::draw() const {
    glActiveTextureARB(GL_TEXTURE4_ARB);
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

namespace {
void label(int x, int y, const char* text) {
    glRasterPos3i(x, y, 1);
    drawBitmapText(GLUT_BITMAP_HELVETICA_12, text);
}
}  // namespace

void drawOverlay(int w, int h, double f) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    glRasterPos3i(10, static_cast<int>(h - f * 20), 1);
    drawBitmapText(GLUT_BITMAP_HELVETICA_12, "Datafile: " + statusText);

    if (flowData && flowData->isLoaded()) {
        const int x0 = w / 100;
        const double y1 = 0.9 * h;
        const bool arrowLegend = applyArrowTf == 1 && showArrowPlot == 1;
        label(x0, static_cast<int>(y1 + 5), "Bg");
        label(x0 + 22, static_cast<int>(y1 - 150), "min");
        label(x0 + 22, static_cast<int>(y1 - 8), "max");
        if (arrowLegend) {
            label(static_cast<int>(0.99 * w - 35), static_cast<int>(y1 + 5), "Arrows");
            label(static_cast<int>(0.99 * w - 41), static_cast<int>(y1 - 150), "min");
            label(static_cast<int>(0.99 * w - 45), static_cast<int>(y1 - 8), "max");
        }
        const float top = static_cast<float>(y1);
        const float bottom = static_cast<float>(y1 - 150);
        glPushMatrix();
        shaderProgram->use();
        shaderProgram->setInt("renderTF", 1);
        glBegin(GL_QUADS);
        glMultiTexCoord1fARB(GL_TEXTURE0_ARB, 1.0f);
        glVertex3f(static_cast<float>(x0), top, 0.9f);
        glMultiTexCoord1fARB(GL_TEXTURE0_ARB, 0.0f);
        glVertex3f(static_cast<float>(x0), bottom, 0.9f);
        glMultiTexCoord1fARB(GL_TEXTURE0_ARB, 0.0f);
        glVertex3f(static_cast<float>(x0 + 20), bottom, 0.9f);
        glMultiTexCoord1fARB(GL_TEXTURE0_ARB, 1.0f);
        glVertex3f(static_cast<float>(x0 + 20), top, 0.9f);
        glEnd();
        shaderProgram->setInt("renderTF", 0);
        if (arrowLegend) {
            const float left = static_cast<float>(0.99 * w - 20);
            const float right = static_cast<float>(0.99 * w);
            shaderProgram->setInt("renderArrowTF", 1);
            glBegin(GL_QUADS);
            glMultiTexCoord1fARB(GL_TEXTURE5_ARB, 1.0f);
            glVertex3f(left, top, 0.9f);
            glMultiTexCoord1fARB(GL_TEXTURE5_ARB, 0.0f);
            glVertex3f(left, bottom, 0.9f);
            glMultiTexCoord1fARB(GL_TEXTURE5_ARB, 0.0f);
            glVertex3f(right, bottom, 0.9f);
            glMultiTexCoord1fARB(GL_TEXTURE5_ARB, 1.0f);
            glVertex3f(right, top, 0.9f);
            glEnd();
            shaderProgram->setInt("renderArrowTF", 0);
        }
        shaderProgram->unuse();
        glPopMatrix();
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void loadArrowTexture() {
    ilGenImages(1, &arrowImage);
    ilBindImage(arrowImage);
    if (!ilLoadImage("img/arrow.tga")) {
        std::cout << "Error: Loading arrow image failed!\n";
        // Leave no error behind for the next DevIL user (the screenshot).
        while (ilGetError() != IL_NO_ERROR) {
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glActiveTextureARB(GL_TEXTURE4_ARB);
    glGenTextures(1, &arrowTexture);
    glBindTexture(GL_TEXTURE_2D, arrowTexture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL), ilGetInteger(IL_IMAGE_WIDTH),
                      ilGetInteger(IL_IMAGE_HEIGHT), ilGetInteger(IL_IMAGE_FORMAT), GL_UNSIGNED_BYTE,
                      ilGetData());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    shaderProgram->use();
    shaderProgram->setTexture("tex_arrow", 4);
    shaderProgram->unuse();
    std::cout << "arrow texture created" << std::endl;
}

void releaseArrowTexture() {
    if (arrowImage) {
        ilDeleteImages(1, &arrowImage);
        arrowImage = 0;
    }
    if (arrowTexture) {
        glDeleteTextures(1, &arrowTexture);
        arrowTexture = 0;
    }
}
