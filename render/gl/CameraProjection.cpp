#include "render/Camera.h"

#include <GL/gl.h>

void Camera::applyProjection(float aspect) const {
    const OrthoBox box = projectionBox(aspect);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(box.left, box.right, box.bottom, box.top, box.nearPlane, box.farPlane);
}
