#include "render/Navigation.h"
#include "common/MouseCodes.h"

#include <algorithm>
#include <cmath>

namespace {
bool usable(const FieldView& view) { return view.width > 0 && view.height > 0; }

// The view's half-width and half-height per unit of half-height, as
// Camera::projectionBox lays them out.
void axisFactors(const FieldView& view, double& ax, double& ay) {
    const float aspect = view.aspect();
    ax = aspect < 1.0f ? 1.0 : aspect;
    ay = aspect < 1.0f ? 1.0 / aspect : 1.0;
}

float baseOf(const FieldView& view) { return Camera::baseHalfHeight * view.fit; }

// The half-height Camera::projectionBox uses.
double halfHeight(const Camera& camera, float base) {
    return static_cast<float>(static_cast<double>(camera.zoom) + static_cast<double>(base));
}

bool panButton(int button) { return button == mouse::rightButton || button == mouse::middleButton; }
}  // namespace

void Navigation::mouse(int button, int state, int x, int y, const FieldView& view, bool scaledZoom) {
    camera_.mouse(button, state, x, y);
    if (camera_.leftDown && camera_.rightDown) {
        drag_ = Drag::None;  // the camera's own pan
        return;
    }
    if (state == mouse::pressed) {
        if (button == mouse::leftButton && scaledZoom) {
            beginZoom(x, y, view);
        } else if (panButton(button) && !camera_.leftDown && view.contains(x, y)) {
            drag_ = Drag::Pan;
            lastX_ = x;
            lastY_ = y;
        }
    } else if (state == mouse::released) {
        if ((button == mouse::leftButton && drag_ == Drag::Zoom) || (panButton(button) && drag_ == Drag::Pan))
            drag_ = Drag::None;
        // Right let go while left is held: the zoom drag goes on from here.
        if (button == mouse::rightButton && camera_.leftDown && scaledZoom) beginZoom(x, y, view);
    }
}

void Navigation::motion(int x, int y, const FieldView& view) {
    switch (drag_) {
    case Drag::Zoom:
        if (!usable(view)) return;
        camera_.zoom = startZoom_;
        camera_.translationX = startTranslationX_;
        camera_.translationY = startTranslationY_;
        zoomAtShare(std::pow(dragZoomPerView, static_cast<double>(y - startY_) / view.height), anchorU_, anchorV_,
                    view);
        return;
    case Drag::Pan:
        panPixels(x - lastX_, y - lastY_, view);
        lastX_ = x;
        lastY_ = y;
        return;
    case Drag::None: camera_.motion(x, y); return;
    }
}

void Navigation::beginZoom(int x, int y, const FieldView& view) {
    drag_ = Drag::Zoom;
    startZoom_ = camera_.zoom;
    startTranslationX_ = camera_.translationX;
    startTranslationY_ = camera_.translationY;
    startY_ = y;
    anchorU_ = 0.5;
    anchorV_ = 0.5;
    if (view.contains(x, y)) {
        anchorU_ = (x + 0.5 - view.x) / view.width;
        anchorV_ = (y + 0.5 - view.y) / view.height;
    }
}

void Navigation::zoomAt(double factor, int px, int py, const FieldView& view) {
    if (!usable(view)) return;
    zoomAtShare(factor, (px + 0.5 - view.x) / view.width, (py + 0.5 - view.y) / view.height, view);
}

void Navigation::zoomCentre(double factor, const FieldView& view) { zoomAtShare(factor, 0.5, 0.5, view); }

// (u, v): the anchor as shares of the view from its top left. A view point
// at share u lies at -translationX + halfWidth * (2u - 1), one at share v at
// translationY + halfHeight * (1 - 2v); the translations take up the change
// of the half-sizes so that the anchor's point stays.
void Navigation::zoomAtShare(double factor, double u, double v, const FieldView& view) {
    if (!usable(view) || !(factor > 0.0) || !std::isfinite(factor)) return;
    const float base = baseOf(view);
    const double low = base * minScale;
    const double high = base * maxScale;
    const double now = halfHeight(camera_, base);
    // A view that is already degenerate or turned over (an options file may
    // hold any zoom) starts again from the nearest sound one.
    const double from = std::isfinite(now) ? std::clamp(now, low, high) : static_cast<double>(base);
    const double to = std::clamp(from * factor, low, high);
    double ax = 1.0;
    double ay = 1.0;
    axisFactors(view, ax, ay);
    camera_.translationX = static_cast<float>(camera_.translationX + (to - from) * ax * (2.0 * u - 1.0));
    camera_.translationY = static_cast<float>(camera_.translationY - (to - from) * ay * (1.0 - 2.0 * v));
    camera_.zoom = static_cast<float>(to - base);
}

void Navigation::panPixels(double dx, double dy, const FieldView& view) {
    if (!usable(view)) return;
    const double h = halfHeight(camera_, baseOf(view));
    double ax = 1.0;
    double ay = 1.0;
    axisFactors(view, ax, ay);
    camera_.translationX = static_cast<float>(camera_.translationX + 2.0 * h * ax * dx / view.width);
    camera_.translationY = static_cast<float>(camera_.translationY + 2.0 * h * ay * dy / view.height);
}

void Navigation::viewPoint(int px, int py, const FieldView& view, double& vx, double& vy) const {
    const Camera::OrthoBox box = camera_.projectionBox(view.aspect(), view.fit);
    const double u = (px + 0.5 - view.x) / view.width;
    const double v = (py + 0.5 - view.y) / view.height;
    vx = box.left + u * (box.right - box.left);
    vy = box.top - v * (box.top - box.bottom);
}
