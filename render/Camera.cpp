#include "render/Camera.h"
#include "common/MouseCodes.h"

void Camera::reset() { *this = Camera(); }

void Camera::mouse(int button, int state, int x, int y) {
    if (button == mouse::leftButton && state == mouse::released) leftDown = false;
    if (button == mouse::rightButton && state == mouse::released) rightDown = false;
    if (button == mouse::leftButton && state == mouse::pressed) {
        leftDown = true;
        pressX = x;
        pressY = y;
    }
    if (button == mouse::rightButton && state == mouse::pressed) rightDown = true;
}

void Camera::motion(int x, int y) {
    if (leftDown && rightDown) {
        translationX += (x - pressX) / 10000.0;
        translationY += (y - pressY) / 10000.0;
    } else if (leftDown) {
        zoom += (y - pressY) / 10000.0;
    }
}

Camera::OrthoBox Camera::projectionBox(float aspect, float fit) const {
    const float base = baseHalfHeight * fit;
    const float h = static_cast<float>(static_cast<double>(zoom) + static_cast<double>(base));
    // A view narrower than tall once ignored the pan, which made panning
    // (and zooming about the pointer) do nothing there.
    if (aspect < 1.0f)
        return {-h - translationX, h - translationX, translationY - h / aspect, translationY + h / aspect, 0.0, 15.0};
    return {-h * aspect - translationX, h * aspect - translationX, translationY - h, translationY + h, 0.0, 15.0};
}
