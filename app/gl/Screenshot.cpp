#include "app/gl/Screenshot.h"

#include "app/PngImage.h"
#include "app/ScreenshotName.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/Window.h"
#include "common/SafeFileWrite.h"
#include "panel/gl/PanelGlut.h"
#include "render/OffscreenTarget.h"
#include "settings/LiveVariables.h"

#include <GL/glew.h>

#include <algorithm>
#include <iostream>
#include <new>
#include <vector>

namespace {

// Off-screen pictures are drawn in tiles of at most this many pixels a side,
// so that a large or multisampled picture needs no buffer of its full size
// on the GL's side.
constexpr int kTileSide = 2048;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // RGBA, rows bottom-up
};

bool readFailed(const char* why) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) return false;
    std::cerr << why << gluErrorString(error) << std::endl;
    return true;
}

// The front buffer of an off-screen or composited window may read back
// empty: the frame is drawn again into the back buffer and read there.
bool readWindow(Picture& picture) {
    picture.width = windowWidth;
    picture.height = windowHeight;
    picture.pixels.resize(static_cast<size_t>(windowWidth) * windowHeight * 4);
    drawFrame(false);
    // Errors the drawing left behind are reported here, so that the read below
    // is judged by its own error only.
    drainGlErrors();
    glPushAttrib(GL_PIXEL_MODE_BIT);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(viewportX, viewportY, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, picture.pixels.data());
    const bool failed = readFailed("Unable to read frame buffer ");
    glPopAttrib();
    return !failed;
}

// The graphics area drawn off-screen at `scale` times its size with
// `samples` samples a pixel (0: one), tile by tile.
bool readOffscreen(int scale, int samples, Picture& picture, std::string& why) {
    picture.width = windowWidth * scale;
    picture.height = windowHeight * scale;
    const std::string size = std::to_string(picture.width) + " x " + std::to_string(picture.height) + " pixels";
    GLint largest[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    if (picture.width > largest[0] || picture.height > largest[1]) {
        why = "a picture of " + size + " is larger than the GL draws (" + std::to_string(largest[0]) + " x " +
              std::to_string(largest[1]) + ")";
        return false;
    }
    try {
        picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height * 4, 0);
    } catch (const std::bad_alloc&) {
        why = "not enough memory for a picture of " + size;
        return false;
    }
    OffscreenTarget tile;
    if (!tile.allocate(std::min(picture.width, kTileSide), std::min(picture.height, kTileSide), samples, &why))
        return false;
    bool read = true;
    for (int y = 0; read && y < picture.height; y += tile.height()) {
        for (int x = 0; read && x < picture.width; x += tile.width()) {
            tile.bind();
            drawFrame(false, {-x, -y, scale});
            drainGlErrors();
            tile.bindForReading();
            glPushAttrib(GL_PIXEL_MODE_BIT);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glPixelStorei(GL_PACK_ROW_LENGTH, picture.width);
            glReadPixels(0, 0, std::min(tile.width(), picture.width - x), std::min(tile.height(), picture.height - y),
                         GL_RGBA, GL_UNSIGNED_BYTE, &picture.pixels[(static_cast<size_t>(y) * picture.width + x) * 4]);
            read = !readFailed("Unable to read frame buffer ");
            glPopAttrib();
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(viewportX, viewportY, windowWidth, windowHeight);
    return read;
}

// Arrows are point sprites, which the GL draws only so large.
void warnOfShrunkArrows(int scale) {
    GLfloat range[2] = {1.0f, 1.0f};
    glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, range);
    if (showArrowPlot == 1 && arrowSize * scale > range[1])
        std::cerr << "Arrows are drawn at most " << range[1] << " pixels wide: at screenshot scale " << scale
                  << " they are smaller than in the window" << std::endl;
}

// The control panel left of the graphics area, drawn again into the back
// buffer and put in front of `picture` (rows of the same height).
bool addPanel(Picture& picture) {
    if (viewportX <= 0 || !panelRedraw()) return true;
    std::vector<unsigned char> panel(static_cast<size_t>(viewportX) * picture.height * 4);
    glPushAttrib(GL_PIXEL_MODE_BIT);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, viewportY, viewportX, picture.height, GL_RGBA, GL_UNSIGNED_BYTE, panel.data());
    const bool failed = readFailed("Unable to read frame buffer ");
    glPopAttrib();
    glViewport(viewportX, viewportY, windowWidth, windowHeight);
    if (failed) return false;
    Picture both;
    both.width = viewportX + picture.width;
    both.height = picture.height;
    both.pixels.reserve(static_cast<size_t>(both.width) * both.height * 4);
    const size_t panelRow = static_cast<size_t>(viewportX) * 4;
    const size_t pictureRow = static_cast<size_t>(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y) {
        both.pixels.insert(both.pixels.end(), panel.begin() + y * panelRow, panel.begin() + (y + 1) * panelRow);
        both.pixels.insert(both.pixels.end(), picture.pixels.begin() + y * pictureRow,
                           picture.pixels.begin() + (y + 1) * pictureRow);
    }
    picture = std::move(both);
    return true;
}

bool savePng(const Picture& picture, const std::string& name, bool overwrite) {
    // Encoded in memory and written through the safe writer: a failed save
    // keeps whatever file had the name before.
    std::string why;
    const std::string png = encodePng(picture.width, picture.height, picture.pixels.data(), why);
    const bool saved =
        !png.empty() && writeFileSafely(name, png, &why, overwrite ? IfTargetExists::Replace : IfTargetExists::Fail);
    if (saved) {
        std::cout << "- Screenshot saved." << std::endl;
    } else {
        std::cerr << "Unable to save image" << std::endl;
        if (!why.empty()) std::cerr << why << std::endl;
    }
    return saved;
}

}  // namespace

void takeScreenshot() {
    const std::string name = nextScreenshotName();
    std::string why;
    if (saveScreenshot(name, false, &why))
        statusBoard.post(MessageKind::Info, "Screenshot saved to " + shownPath(name));
    else if (!why.empty()) statusBoard.post(MessageKind::Error, "Screenshot not saved: " + why);
    else statusBoard.post(MessageKind::Error, "Screenshot not saved: could not write " + shownPath(name));
}

bool saveScreenshot(const std::string& name, bool overwrite, std::string* why) {
    std::cout << "- Saving screenshot to '" << name << "' ..." << std::endl;
    const int scale = std::clamp(screenshotScale, 1, 8);
    const int samples = smoothLines != 0 ? OffscreenTarget::availableSamples() : 0;
    Picture picture;
    // The baseline picture is the window's own back buffer; larger or
    // smoothed ones are drawn off-screen.
    if (scale == 1 && samples == 0) {
        if (!readWindow(picture)) return false;
    } else {
        std::string reason;
        if (!readOffscreen(scale, samples, picture, reason)) {
            std::cerr << "Unable to draw the screenshot: " << reason << std::endl;
            if (why) *why = reason;
            return false;
        }
        warnOfShrunkArrows(scale);
    }
    if (screenshotPanel != 0 && scale == 1 && !addPanel(picture)) return false;
    // The window shows opaque pixels whatever alpha the blending left behind.
    for (size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 255;
    return savePng(picture, name, overwrite);
}
