#pragma once

#include <string>

// A picture drawn off-screen through a framebuffer object: colour and
// depth-stencil of a given size, multisampled when asked, resolved into a
// single-sampled colour buffer to read or to copy into the window (GL layer).
class OffscreenTarget {
public:
    OffscreenTarget() = default;
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // Samples a multisampled target can have here: up to 4, 0 when the GL
    // offers no multisampled framebuffer objects.
    static int availableSamples();
    // Whether the GL has framebuffer objects at all.
    static bool supported();

    // Makes the buffers `width` x `height` with `samples` samples (0: one),
    // keeping them when they are so already. False, with the reason and
    // nothing allocated, when the GL cannot.
    bool allocate(int width, int height, int samples, std::string* why = nullptr);
    // Later drawing goes into the picture.
    void bind() const;
    // Resolves the samples and makes the picture the read buffer of
    // glReadPixels (the drawing target is the window's again).
    void bindForReading() const;
    // Resolves the picture into the window's back buffer with its lower left
    // at (x, y), and draws into the window again.
    void copyToWindow(int x, int y) const;
    void release();

    int width() const { return width_; }
    int height() const { return height_; }
    int samples() const { return samples_; }

private:
    unsigned drawFramebuffer_ = 0, colour_ = 0, depth_ = 0;
    unsigned resolveFramebuffer_ = 0, resolveColour_ = 0;  // multisampled only
    int width_ = 0, height_ = 0, samples_ = 0;
};
