#include "app/gl/Scene.h"

#include "app/gl/Globals.h"
#include "data/ColorRGBA.h"
#include "data/FlowData.h"
#include "data/TextureUnits.h"
#include "render/ArrowPlot.h"
#include "render/FieldView.h"
#include "render/ShaderProgram.h"
#include "settings/LiveVariables.h"
#include "settings/Modes.h"
#include "streamlines/StreamlineGeometry.h"
#include "streamlines/StreamlineSet.h"
#include "tf/TransferFunction.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <IL/il.h>

#include <iostream>

namespace {
// The colour and outline of lines, bands and glyphs from the settings.
LineStyle lineStyle() {
    LineStyle style;
    style.color = lineColorOf(lineColor);
    const ColorRGBA* chosen = streamlineSet->color();
    style.chosen = {chosen->red(), chosen->green(), chosen->blue()};
    if (const TransferFunction* arrows = transferFunctions[3]) style.speedTable = arrows->colorTable.data();
    style.speed = flowData->channel(magnitudeSlot);
    style.outline = lineOutline != 0;
    return style;
}

// Evenly spaced placements that leave fewer than three lines are pointed
// out in the status line, with the button that fits the settings to the data.
std::string placementNote() {
    if (showStreamlines != 1 || !sceneReady() || streamlineModeOf(streamlineMode) == StreamlineMode::Normal) return "";
    const std::size_t lines = streamlineSet->streamlines().size();
    if (lines >= 3) return "";
    return "   (" + std::to_string(lines) + (lines == 1 ? " streamline" : " streamlines") +
           " placed: try \"Fit to data\" under Streamlines)";
}
}  // namespace

void drawScene() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (flowData && flowData->isLoaded()) {
        flowData->drawFieldQuad();
        if (showStreamlines == 1 && streamlineSet) {
            const LineStyle style = lineStyle();
            switch (streamlineModeOf(streamlineMode)) {
            case StreamlineMode::Tapering: streamlineSet->drawTapered(lineWidthMax, lineWidthMin, style); break;
            case StreamlineMode::GlyphMapping: streamlineSet->drawGlyphs(glyphSpacing, style); break;
            case StreamlineMode::TextureGeneration: streamlineSet->drawTextured(); break;
            default: streamlineSet->drawLines(style); break;
            }
        }
        if (showArrowPlot == 1 && arrowPlot) arrowPlot->draw();
    }
    glPopMatrix();
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
    drawBitmapText(GLUT_BITMAP_HELVETICA_12, "Datafile: " + statusText + placementNote());

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
            glMultiTexCoord1fARB(GL_TEXTURE0_ARB + textureUnit::arrowTf, 1.0f);
            glVertex3f(left, top, 0.9f);
            glMultiTexCoord1fARB(GL_TEXTURE0_ARB + textureUnit::arrowTf, 0.0f);
            glVertex3f(left, bottom, 0.9f);
            glMultiTexCoord1fARB(GL_TEXTURE0_ARB + textureUnit::arrowTf, 0.0f);
            glVertex3f(right, bottom, 0.9f);
            glMultiTexCoord1fARB(GL_TEXTURE0_ARB + textureUnit::arrowTf, 1.0f);
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

void applyShaderUniforms() {
    if (!flowData || !flowData->isLoaded()) return;
    const auto maxVel = flowData->maxVelocity();
    const auto minVel = flowData->minVelocity();
    shaderProgram->use();
    shaderProgram->setInt("background", backgroundChannel);
    shaderProgram->setFloat("pointSize", arrowSize);
    shaderProgram->setFloat2("maxVel", maxVel.data());
    shaderProgram->setFloat2("minVel", minVel.data());
    shaderProgram->setInt("renderArrowTF", 0);
    shaderProgram->setInt("arrowSizeModif", arrowSizeEnabled);
    shaderProgram->setInt("enableArrowTF", applyArrowTf);
    shaderProgram->setInt("mode", showArrowPlot);
    shaderProgram->setFloat3("noDataColor", noDataRed, noDataGreen, noDataBlue);
    shaderProgram->unuse();
}

void loadArrowTexture(const std::string& folder) {
    ilGenImages(1, &arrowImage);
    ilBindImage(arrowImage);
    if (!ilLoadImage((folder + kArrowImageFile).c_str())) {
        std::cout << "Error: Loading arrow image failed!\n";
        // Leave no error behind for the next DevIL user (the screenshot).
        while (ilGetError() != IL_NO_ERROR) {
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glActiveTextureARB(GL_TEXTURE0_ARB + textureUnit::arrowImage);
    glGenTextures(1, &arrowTexture);
    glBindTexture(GL_TEXTURE_2D, arrowTexture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL), ilGetInteger(IL_IMAGE_WIDTH),
                      ilGetInteger(IL_IMAGE_HEIGHT), ilGetInteger(IL_IMAGE_FORMAT), GL_UNSIGNED_BYTE, ilGetData());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    shaderProgram->use();
    shaderProgram->setTexture("tex_arrow", textureUnit::arrowImage);
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
