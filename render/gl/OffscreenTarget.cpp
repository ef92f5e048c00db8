#include "render/OffscreenTarget.h"

#include <GL/glew.h>

#include <algorithm>

namespace {
GLuint renderbuffer(GLenum format, int width, int height, int samples) {
    GLuint name = 0;
    glGenRenderbuffers(1, &name);
    glBindRenderbuffer(GL_RENDERBUFFER, name);
    if (samples > 0) glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    else glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return name;
}
}  // namespace

OffscreenTarget::~OffscreenTarget() { release(); }

bool OffscreenTarget::supported() { return GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object; }

int OffscreenTarget::availableSamples() {
    if (!supported()) return 0;
    GLint samples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &samples);
    return samples >= 2 ? std::min(samples, 4) : 0;
}

bool OffscreenTarget::allocate(int width, int height, int samples, std::string* why) {
    if (drawFramebuffer_ && width == width_ && height == height_ && samples == samples_) return true;
    release();
    auto fail = [&](const std::string& reason) {
        release();
        if (why) *why = reason;
        return false;
    };
    if (!supported()) return fail("the GL has no framebuffer objects");
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (width <= 0 || height <= 0 || width > largest || height > largest)
        return fail("the GL draws off-screen pictures of at most " + std::to_string(largest) + " pixels a side");
    while (glGetError() != GL_NO_ERROR) {
    }
    width_ = width;
    height_ = height;
    samples_ = samples;
    colour_ = renderbuffer(GL_RGBA8, width, height, samples);
    depth_ = renderbuffer(GL_DEPTH24_STENCIL8, width, height, samples);
    glGenFramebuffers(1, &drawFramebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete && samples > 0) {
        resolveColour_ = renderbuffer(GL_RGBA8, width, height, 0);
        glGenFramebuffers(1, &resolveFramebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveColour_);
        complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // Out of memory shows as an error of the storage calls.
    if (glGetError() != GL_NO_ERROR || !complete)
        return fail("the GL cannot allocate a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels");
    return true;
}

void OffscreenTarget::bind() const { glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_); }

void OffscreenTarget::bindForReading() const {
    // Samples resolve only into a buffer of the same place and size.
    if (resolveFramebuffer_) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, drawFramebuffer_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
        glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, resolveFramebuffer_ ? resolveFramebuffer_ : drawFramebuffer_);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

void OffscreenTarget::copyToWindow(int x, int y) const {
    bindForReading();
    glDrawBuffer(GL_BACK);
    glBlitFramebuffer(0, 0, width_, height_, x, y, x + width_, y + height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void OffscreenTarget::release() {
    if (drawFramebuffer_) glDeleteFramebuffers(1, &drawFramebuffer_);
    if (resolveFramebuffer_) glDeleteFramebuffers(1, &resolveFramebuffer_);
    for (unsigned* buffer : {&colour_, &depth_, &resolveColour_})
        if (*buffer) glDeleteRenderbuffers(1, buffer);
    drawFramebuffer_ = resolveFramebuffer_ = colour_ = depth_ = resolveColour_ = 0;
    width_ = height_ = samples_ = 0;
}
