#include "app/gl/Scene.h"

#include "app/gl/Axes.h"
#include "app/gl/Globals.h"
#include "app/gl/Legend.h"
#include "app/gl/OverlayText.h"
#include "app/gl/Placements.h"
#include "app/gl/TimeSteps.h"
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
#include "streamlines/gl/StreamlineBuffers.h"
#include "tf/TransferFunction.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <IL/il.h>

#include <algorithm>
#include <iostream>
#include <memory>

namespace {
void setArrowPointSize(float size) {
    shaderProgram->use();
    shaderProgram->setFloat("pointSize", size);
    shaderProgram->unuse();
}

// The colour and outline of lines, bands and glyphs from the settings.
LineStyle lineStyle() {
    LineStyle style;
    style.color = lineColorOf(lineColor);
    const ColorRGBA* chosen = streamlineSet->color();
    style.chosen = {chosen->red(), chosen->green(), chosen->blue()};
    if (const TransferFunction* arrows = transferFunctions[3]) style.speedTable = arrows->colorTable.data();
    style.speed = flowData->channel(magnitudeSlot);
    style.outline = lineOutline != 0;
    style.pixel = static_cast<float>(pixelScale());
    return style;
}

StreamlineLook streamlineLook() {
    StreamlineLook look;
    look.mode = streamlineModeOf(streamlineMode);
    look.style = lineStyle();
    look.lineWidthMax = lineWidthMax;
    look.lineWidthMin = lineWidthMin;
    look.glyphSpacing = glyphSpacing;
    look.texturePeriod = streamlineSet->texturePeriod();
    look.textureFunction = streamlineSet->textureFunction();
    look.tolerance = pixelTolerance();
    return look;
}

std::unique_ptr<StreamlineBuffers> streamlineBuffers;

// A running placement shows its progress in the status line. Evenly spaced
// placements that leave fewer than three lines are pointed out there, with
// the button that fits the settings to the data.
std::string placementNote() {
    if (!sceneReady()) return "";
    const std::string progress = placementProgress();
    if (!progress.empty()) return "   (" + progress + ")";
    const StreamlineSet* placed = placedStreamlines();
    if (showStreamlines != 1 || !placed || streamlineModeOf(streamlineMode) == StreamlineMode::Normal) return "";
    const std::size_t lines = placed->streamlines().size();
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
        const float pixel = static_cast<float>(pixelScale());
        // Lines of an earlier time step wait for those of the step shown.
        StreamlineSet* placed = placedStreamlines();
        if (showStreamlines == 1 && streamlineSet && placed && !streamlinesOutdated) {
            const StreamlineMode mode = streamlineModeOf(streamlineMode);
            const bool asLines = mode != StreamlineMode::Tapering && mode != StreamlineMode::GlyphMapping;
            glLineWidth(asLines ? lineWidth * pixel : pixel);
            if (!streamlineBuffers) streamlineBuffers = std::make_unique<StreamlineBuffers>();
            streamlineBuffers->draw(*placed, streamlineLook());
            glLineWidth(1.0f);
        }
        if (showArrowPlot == 1 && arrowPlot) {
            // The sprites' size is in device pixels.
            if (pixel != 1.0f) setArrowPointSize(arrowSize * pixel);
            arrowPlot->draw();
            if (pixel != 1.0f) setArrowPointSize(arrowSize);
        }
    }
    glPopMatrix();
}

namespace {
void* const kFont = GLUT_BITMAP_HELVETICA_12;
// Rows of a line of this font around its baseline, and the step between lines.
constexpr int kAscent = overlayAscent;
constexpr int kLineHeight = 14;
constexpr int kLineStep = 17;
constexpr std::size_t kMaxMessageLines = 8;

std::vector<DrawnStatusLine> drawnLines;

int textWidth(const std::string& text) { return overlayTextWidth(text); }

void label(int x, int y, const char* text) {
    glRasterPos3i(x, y, 1);
    drawBitmapText(kFont, text);
}

// Remembers a line drawn at raster (x, y) of an h-row view.
void recordLine(const std::string& text, bool dataFile, MessageKind kind, int x, int y, int h) {
    const int baseline = h - 1 - y;
    drawnLines.push_back({text, dataFile, kind, x, baseline - kAscent, textWidth(text), kLineHeight});
}

// Pixel coordinates of a w x h viewport, origin at its lower left, in both
// matrices (saved, and given back by endPixelView).
void beginPixelView(int w, int h) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endPixelView() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The top of the legend bars: 90 % up the view, lower in a view too short
// to keep the legend's labels clear of the status line.
double legendTop(int h, double f) {
    return std::min(0.9 * h, h - f * 20 - 18 - (legendValues == 1 ? legendTitleRaise : 0));
}

void messageColor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Info: glColor4f(140 / 255.0f, 230 / 255.0f, 100 / 255.0f, 1.0f); break;
    case MessageKind::Warning: glColor4f(1.0f, 200 / 255.0f, 60 / 255.0f, 1.0f); break;
    case MessageKind::Error: glColor4f(1.0f, 110 / 255.0f, 80 / 255.0f, 1.0f); break;
    }
}
}  // namespace

const std::vector<DrawnStatusLine>& drawnStatusLines() { return drawnLines; }

LegendColumns legendColumns(int w, int h, double f) {
    LegendColumns legend;
    const int x0 = w / 100;
    const bool arrows = applyArrowTf == 1 && showArrowPlot == 1;
    if (legendValues == 1 && sceneReady()) {
        const LegendText background = backgroundLegendText();
        legend.leftWidth = std::max(x0 + 20 + legendTextReach(background), x0 + legendTitleWidth(background)) + 4;
        if (arrows) {
            const LegendText speed = arrowLegendText();
            const int right = static_cast<int>(0.99 * w);
            legend.rightWidth = w - std::min(right - 20 - legendTextReach(speed), right - legendTitleWidth(speed)) + 4;
        }
    } else {
        const int labels = std::max({textWidth("min"), textWidth("max"), textWidth("Bg")});
        legend.leftWidth = x0 + 22 + labels + 4;
        if (arrows) legend.rightWidth = w - static_cast<int>(0.99 * w - 45) + 4;
    }
    const double y1 = legendTop(h, f);
    legend.top = h - 1 - static_cast<int>(y1 + 5 + (legendValues == 1 ? legendTitleRaise : 0)) - kAscent;
    legend.bottom = h - 1 - static_cast<int>(y1 - 150) + 4;
    const AxisMargins axes = axisMargins(h);
    legend.axisLeft = axes.left;
    legend.axisBottom = axes.bottom;
    return legend;
}

void drawOverlay(int w, int h, double f) {
    beginPixelView(w, h);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    const std::string dataFileLine = "Datafile: " + statusText + placementNote();
    drawnLines.clear();
    if (statusLine != 0) {
        glRasterPos3i(10, static_cast<int>(h - f * 20), 1);
        drawBitmapText(kFont, dataFileLine);
        recordLine(dataFileLine, true, MessageKind::Info, 10, static_cast<int>(h - f * 20), h);
    }

    if (flowData && flowData->isLoaded()) {
        const int x0 = w / 100;
        const double y1 = legendTop(h, f);
        const bool arrowLegend = applyArrowTf == 1 && showArrowPlot == 1;
        const float top = static_cast<float>(y1);
        const float bottom = static_cast<float>(y1 - 150);
        if (legendValues == 1) {
            drawLegendText(w, bottom, top, arrowLegend);
        } else {
            label(x0, static_cast<int>(y1 + 5), "Bg");
            label(x0 + 22, static_cast<int>(y1 - 150), "min");
            label(x0 + 22, static_cast<int>(y1 - 8), "max");
            if (arrowLegend) {
                label(static_cast<int>(0.99 * w - 35), static_cast<int>(y1 + 5), "Arrows");
                label(static_cast<int>(0.99 * w - 41), static_cast<int>(y1 - 150), "min");
                label(static_cast<int>(0.99 * w - 45), static_cast<int>(y1 - 8), "max");
            }
        }
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
    endPixelView();
}

void drawStatusMessages(const std::vector<StatusMessage>& messages, int w, int h, double f) {
    // Lines that would cross the legend's rows start right of it.
    const bool legend = flowData && flowData->isLoaded();
    const LegendColumns columns = legendColumns(w, h, f);
    const int beside = legend ? columns.leftWidth + 6 : 10;
    const int room = std::max(w - beside - std::max(10, columns.rightWidth + 4), 40);
    std::vector<StatusMessage> lines;
    for (const StatusMessage& message : messages)
        for (const std::string& line : wrapText(message.text, room, textWidth)) lines.push_back({message.kind, line});
    if (lines.size() > kMaxMessageLines) lines.resize(kMaxMessageLines);
    if (lines.empty()) return;

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    beginPixelView(w, h);

    int y = static_cast<int>(h - f * 20) - kLineStep;
    for (const StatusMessage& line : lines) {
        const int top = h - 1 - y - kAscent;
        const bool crossesLegend = legend && top <= columns.bottom && top + kLineHeight >= columns.top;
        const int x = crossesLegend ? beside : 10;
        // A dark band under each line keeps it legible over the picture.
        glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
        glRectf(static_cast<float>(x - 4), static_cast<float>(y - 5), static_cast<float>(x + textWidth(line.text) + 4),
                static_cast<float>(y - 5 + kLineStep));
        messageColor(line.kind);
        glRasterPos2i(x, y);
        drawBitmapText(kFont, line.text);
        recordLine(line.text, false, line.kind, x, y, h);
        y -= kLineStep;
    }
    endPixelView();
    glPopAttrib();
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

void releaseStreamlineBuffers() { streamlineBuffers.reset(); }

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
