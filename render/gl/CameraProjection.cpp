#include "render/Camera.h"

#include <GL/gl.h>

void Camera::applyProjection(float aspect, float fit) const {
    const OrthoBox box = projectionBox(aspect, fit);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(box.left, box.right, box.bottom, box.top, box.nearPlane, box.farPlane);
}
