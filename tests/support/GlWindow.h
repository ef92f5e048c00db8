#pragma once

// A GLUT window with a current GL context and GLEW initialised, inside the
// shared Xvfb, for the GL tests. Header-only: only GL test programs link GL.

#include "support/Xvfb.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

inline bool openGlWindow(const char* title, int width, int height) {
    if (!Xvfb::shared().ok()) return false;
    int argc = 1;
    char name[] = "gltest";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_ALPHA | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(width, height);
    glutCreateWindow(title);
    return glewInit() == GLEW_OK;
}
