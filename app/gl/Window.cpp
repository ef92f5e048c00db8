#include "app/gl/Window.h"

#include "render/Camera.h"
#include "app/gl/Batch.h"
#include "app/gl/Globals.h"
#include "settings/LiveVariables.h"
#include "panel/gl/PanelGlut.h"
#include "app/gl/Scene.h"
#include "app/gl/TimeSteps.h"
#include "tf/gl/TfEditor.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <iostream>

namespace {
EditorArea editorArea() { return {viewportX, viewportY, windowWidth, windowHeight}; }
}  // namespace

void postRedisplay() {
    glutSetWindow(mainWindow);
    glutPostRedisplay();
}

namespace {
// Through std::cerr, where a batch run notices every error.
void reportGlError(GLenum code) {
    std::cerr << "OpenGL Error: " << reinterpret_cast<const char*>(gluErrorString(code)) << "\n";
}
}  // namespace

void checkGlError() {
    const GLenum code = glGetError();
    if (code != GL_NO_ERROR) reportGlError(code);
}

void drainGlErrors() {
    // Each flag is cleared when read; the bound keeps a lost context, which
    // may report its loss again and again, from holding the loop.
    for (int i = 0; i < 32; ++i) {
        const GLenum code = glGetError();
        if (code == GL_NO_ERROR) return;
        reportGlError(code);
    }
}

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    // A minimised window has no rows: nothing to draw, and the aspect and the
    // editor split would divide by zero.
    if (windowWidth <= 0 || windowHeight <= 0) return;
    const float aspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
    if (showTfEditor == 0) {
        glViewport(viewportX, viewportY, windowWidth, windowHeight);
        drawOverlay(windowWidth, windowHeight, 1.0);
        camera->applyProjection(aspect);
        drawScene();
    } else {
        const int fieldHeight = static_cast<int>(windowHeight * 0.8);
        if (fieldHeight <= 0) return;
        glViewport(viewportX, windowHeight - fieldHeight + 1, windowWidth, fieldHeight);
        drawOverlay(windowWidth, fieldHeight, (windowHeight / fieldHeight) * 1.05);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        camera->applyProjection(static_cast<float>(windowWidth) / static_cast<float>(fieldHeight));
        drawScene();
        if (sceneReady() && transferFunctions.chooser)
            drawTfEditor(editorArea(), *transferFunctions.chooser, *activeTransferFunction());
    }
}

void displayCallback() {
    panelBeginFrame();
    drawFrame();
    panelEndFrame();
    glutSwapBuffers();
    checkGlError();
    afterFrame();
}

void reshapeCallback(int width, int height) {
    panelReshape(width, height, viewportX, viewportY, windowWidth, windowHeight);
    glViewport(viewportX, viewportY, windowWidth, windowHeight);
    postRedisplay();
}

void mouseCallback(int button, int state, int x, int y) {
    if (panelMouse(button, state, x, y)) {
        postRedisplay();
        return;
    }
    lastMouseButton = button;
    lastMouseState = state;
    camera->mouse(button, state, x, y);
    if (showTfEditor == 1 && sceneReady() && transferFunctions.chooser)
        tfEditorMouse(button, state, x, y, editorArea(), *transferFunctions.chooser, *activeTransferFunction());
    postRedisplay();
}

void motionCallback(int x, int y) {
    if (panelMotion(x, y)) {
        postRedisplay();
        return;
    }
    camera->motion(x, y);
    if (showTfEditor == 1 && sceneReady() && transferFunctions.chooser)
        tfEditorMotion(lastMouseButton, lastMouseState, x, y, editorArea(), *transferFunctions.chooser,
                       *activeTransferFunction());
    postRedisplay();
}

void keyboardCallback(unsigned char key, int x, int y) { panelKeyboard(key, x, y); }
void specialCallback(int key, int x, int y) {
    if (panelSpecial(key, x, y)) return;  // a text field of the panel has the keyboard
    timeStepKey(key, (glutGetModifiers() & GLUT_ACTIVE_SHIFT) != 0);
}

void passiveMotionCallback(int x, int y) {
    if (panelPassiveMotion(x, y)) postRedisplay();
}
