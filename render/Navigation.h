#pragma once

#include "render/Camera.h"

// The field view on the screen: its place in the window in pixels from the
// top left (as mouse events give them), its size, and how far the base view
// is widened (FieldFit.h).
struct FieldView {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    float fit = 1.0f;

    bool contains(int px, int py) const {
        return px >= x && px < x + width && py >= y && py < y + height && width > 0 && height > 0;
    }
    // As the display computes it for the projection.
    float aspect() const { return static_cast<float>(width) / static_cast<float>(height); }
};

// Zoom and pan as viewers usually offer them, on top of the camera's own
// drags. Zooming keeps the view point under the pointer where it is, pans
// move the picture with the pointer, and the view's half-height stays
// between baseHalfHeight / 256 and baseHalfHeight * 64, so the view never
// degenerates or turns over.
class Navigation {
public:
    // A left drag across the view's height zooms out (down) or in (up) by this factor.
    static constexpr double dragZoomPerView = 4.0;
    static constexpr double wheelZoomStep = 1.2;  // per notch
    static constexpr double keyZoomStep = 1.25;   // per "+" or "-"
    static constexpr double keyPanShare = 0.1;    // of the view's width or height per arrow key
    static constexpr double minScale = 1.0 / 256.0;
    static constexpr double maxScale = 64.0;

    explicit Navigation(Camera& camera) : camera_(camera) {}

    // Mouse buttons and states as GLUT reports them (0 left, 1 middle,
    // 2 right; 0 pressed, 1 released). Every event reaches Camera::mouse.
    // With `scaledZoom`, a left drag zooms about where it starts (the view's
    // middle when it starts outside the view) by dragZoomPerView per view
    // height; without it, Camera::motion zooms as it always did. A right or
    // middle drag that starts in the view pans; left and right held together
    // pan through Camera::motion.
    void mouse(int button, int state, int x, int y, const FieldView& view, bool scaledZoom);
    void motion(int x, int y, const FieldView& view);

    // Zooms by `factor` (above 1 out, below 1 in) keeping the view point
    // under window pixel (px, py) in place.
    void zoomAt(double factor, int px, int py, const FieldView& view);
    // The same about the middle of the view.
    void zoomCentre(double factor, const FieldView& view);
    // Moves the picture by (dx, dy) pixels, y downwards.
    void panPixels(double dx, double dy, const FieldView& view);

    // The view point (in view units) at the middle of window pixel (px, py).
    void viewPoint(int px, int py, const FieldView& view, double& vx, double& vy) const;

private:
    enum class Drag { None, Zoom, Pan };

    void zoomAtShare(double factor, double u, double v, const FieldView& view);
    void beginZoom(int x, int y, const FieldView& view);

    Camera& camera_;
    Drag drag_ = Drag::None;
    int lastX_ = 0;
    int lastY_ = 0;
    // Where a zoom drag started: the camera then, the pointer row and the
    // anchor as shares of the view. Every motion zooms from there, so the
    // result depends on the pointer's place only, not on how many motion
    // events arrived.
    float startZoom_ = 0.0f;
    float startTranslationX_ = 0.0f;
    float startTranslationY_ = 0.0f;
    int startY_ = 0;
    double anchorU_ = 0.5;
    double anchorV_ = 0.5;
};
