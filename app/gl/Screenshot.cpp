#include "app/gl/Screenshot.h"

#include "app/ScreenshotName.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/Window.h"
#include "common/SafeFileWrite.h"

#include <GL/glew.h>
#include <IL/il.h>

#include <iostream>
#include <vector>

void takeScreenshot() {
    const std::string name = nextScreenshotName();
    if (saveScreenshot(name, false)) statusBoard.post(MessageKind::Info, "Screenshot saved to " + shownPath(name));
    else statusBoard.post(MessageKind::Error, "Screenshot not saved: could not write " + shownPath(name));
}

bool saveScreenshot(const std::string& name, bool overwrite) {
    std::cout << "- Saving screenshot to '" << name << "' ..." << std::endl;
    std::vector<unsigned char> pixels(static_cast<size_t>(windowWidth) * windowHeight * 4);

    // The front buffer of an off-screen or composited window may read back
    // empty: draw the frame again into the back buffer and read that. The
    // messages are for the window, not for the picture.
    drawFrame(false);
    // Errors the drawing left behind are reported here, so that the read below
    // is judged by its own error only.
    drainGlErrors();
    glPushAttrib(GL_PIXEL_MODE_BIT);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(viewportX, viewportY, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const GLenum readError = glGetError();
    glPopAttrib();
    if (readError != GL_NO_ERROR) {
        std::cerr << "Unable to read frame buffer " << gluErrorString(readError) << std::endl;
        return false;
    }
    // The window shows opaque pixels whatever alpha the blending left behind.
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;

    bool saved = false;
    ILuint image = 0;
    while (ilGetError() != IL_NO_ERROR) {
    }  // errors of earlier DevIL calls are not this save's
    ilGenImages(1, &image);
    if (ilGetError() != IL_NO_ERROR) {
        std::cerr << "Unable to create image" << std::endl;
    } else {
        ilBindImage(image);
        if (ilGetError() != IL_NO_ERROR) {
            std::cerr << "Unable to bind image" << std::endl;
        } else if (!ilTexImage(windowWidth, windowHeight, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, pixels.data()) ||
                   ilGetError() != IL_NO_ERROR) {
            std::cerr << "Unable to store image" << std::endl;
        } else {
            // Encoded in memory and written through the safe writer: a failed
            // save keeps whatever file had the name before.
            std::string png(ilSaveL(IL_PNG, nullptr, 0), '\0');
            std::string why;
            saved = !png.empty() && ilSaveL(IL_PNG, png.data(), static_cast<ILuint>(png.size())) == png.size() &&
                    ilGetError() == IL_NO_ERROR &&
                    writeFileSafely(name, png, &why, overwrite ? IfTargetExists::Replace : IfTargetExists::Fail);
            if (saved) {
                std::cout << "- Screenshot saved." << std::endl;
            } else {
                std::cerr << "Unable to save image" << std::endl;
                if (!why.empty()) std::cerr << why << std::endl;
            }
        }
        ilBindImage(0);
        ilDeleteImages(1, &image);
    }
    return saved;
}
