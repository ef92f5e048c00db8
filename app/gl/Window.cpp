#include "app/gl/Window.h"

#include "render/Camera.h"
#include "app/gl/Axes.h"
#include "app/gl/Batch.h"
#include "app/gl/Globals.h"
#include "app/gl/Keys.h"
#include "app/gl/Messages.h"
#include "data/FlowData.h"
#include "render/FieldFit.h"
#include "settings/LiveVariables.h"
#include "panel/gl/PanelGlut.h"
#include "app/gl/Scene.h"
#include "app/gl/TimeSteps.h"
#include "tf/gl/TfEditor.h"
#include "render/FieldView.h"
#include "render/OffscreenTarget.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <iostream>

namespace {
EditorArea editorArea() { return {viewportX, viewportY, windowWidth, windowHeight}; }

// GLUT reports the wheel as buttons 3 (away from the user) and 4.
constexpr int kWheelUp = 3;
constexpr int kWheelDown = 4;

int fieldHeight() { return static_cast<int>(windowHeight * 0.8); }

// What the overlay's status line is moved down by (display steps).
double lineFactor() { return showTfEditor == 0 || fieldHeight() <= 0 ? 1.0 : (windowHeight / fieldHeight()) * 1.05; }
}  // namespace

FieldView currentFieldView() {
    FieldView view;
    view.x = viewportX;
    view.width = windowWidth;
    // With the editor the field's GL viewport starts one row above the
    // window's top row.
    view.y = showTfEditor == 0 ? 0 : -1;
    view.height = showTfEditor == 0 ? windowHeight : fieldHeight();
    if (sceneReady() && view.width > 0 && view.height > 0) {
        const QuadSize quad = flowData->quadSize();
        view.fit = legendFit(view.width, view.height, quad.width, quad.height,
                             legendColumns(view.width, view.height, lineFactor()));
    }
    return view;
}

Navigation& navigation() {
    static Navigation instance(*camera);
    return instance;
}

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

FrameTarget windowTarget() { return {viewportX, viewportY, 1}; }

void drawFrame(bool withMessages, const FrameTarget& target) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    // A minimised window has no rows: nothing to draw, and the aspect and the
    // editor split would divide by zero.
    if (windowWidth <= 0 || windowHeight <= 0) return;
    const int n = target.scale;
    setPixelScale(n);
    const FieldView view = currentFieldView();
    const float aspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
    if (showTfEditor == 0) {
        glViewport(target.x, target.y, windowWidth * n, windowHeight * n);
        drawOverlay(windowWidth, windowHeight, 1.0);
        camera->applyProjection(aspect, view.fit);
        drawScene();
        drawAxes(windowWidth, windowHeight, camera->projectionBox(aspect, view.fit),
                 legendColumns(windowWidth, windowHeight, 1.0));
        if (withMessages) drawStatusMessages(statusBoard.messages(), windowWidth, windowHeight, 1.0);
    } else {
        const int fieldRows = fieldHeight();
        if (fieldRows > 0) {
            const int fieldY = target.y + (windowHeight - fieldRows + 1) * n;
            const float fieldAspect = static_cast<float>(windowWidth) / static_cast<float>(fieldRows);
            glViewport(target.x, fieldY, windowWidth * n, fieldRows * n);
            drawOverlay(windowWidth, fieldRows, lineFactor());
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            camera->applyProjection(fieldAspect, view.fit);
            drawScene();
            drawAxes(windowWidth, fieldRows, camera->projectionBox(fieldAspect, view.fit),
                     legendColumns(windowWidth, fieldRows, lineFactor()));
            if (sceneReady() && transferFunctions.chooser)
                drawTfEditor({target.x, target.y, windowWidth, windowHeight}, *transferFunctions.chooser,
                             *activeTransferFunction(), n);
            if (withMessages) {
                glViewport(target.x, fieldY, windowWidth * n, fieldRows * n);
                drawStatusMessages(statusBoard.messages(), windowWidth, fieldRows, lineFactor());
            }
        }
    }
    setPixelScale(1);
}

namespace {
// With "Smooth lines" the window's frame is drawn multisampled off-screen
// and copied in, the same way a screenshot draws it.
OffscreenTarget smoothFrame;

bool drawSmoothFrame() {
    const int samples = smoothLines != 0 ? OffscreenTarget::availableSamples() : 0;
    if (samples == 0 || windowWidth <= 0 || windowHeight <= 0 ||
        !smoothFrame.allocate(windowWidth, windowHeight, samples)) {
        smoothFrame.release();
        return false;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    smoothFrame.bind();
    drawFrame(true, {0, 0, 1});
    smoothFrame.copyToWindow(viewportX, viewportY);
    return true;
}
}  // namespace

void releaseSmoothFrame() { smoothFrame.release(); }

void displayCallback() {
    panelBeginFrame();
    if (!drawSmoothFrame()) drawFrame();
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
    // A press is the user's next action: the last one's messages go.
    if (state == GLUT_DOWN) statusBoard.clear();
    if (panelMouse(button, state, x, y)) {
        postRedisplay();
        return;
    }
    const FieldView view = currentFieldView();
    if ((button == kWheelUp || button == kWheelDown) && state == GLUT_DOWN && view.contains(x, y)) {
        const double step = Navigation::wheelZoomStep;
        navigation().zoomAt(button == kWheelUp ? 1.0 / step : step, x, y, view);
    }
    lastMouseButton = button;
    lastMouseState = state;
    navigation().mouse(button, state, x, y, view, scaledZoomDrag != 0);
    if (showTfEditor == 1 && sceneReady() && transferFunctions.chooser)
        tfEditorMouse(button, state, x, y, editorArea(), *transferFunctions.chooser, *activeTransferFunction());
    postRedisplay();
}

void motionCallback(int x, int y) {
    if (panelMotion(x, y)) {
        postRedisplay();
        return;
    }
    navigation().motion(x, y, currentFieldView());
    if (showTfEditor == 1 && sceneReady() && transferFunctions.chooser)
        tfEditorMotion(lastMouseButton, lastMouseState, x, y, editorArea(), *transferFunctions.chooser,
                       *activeTransferFunction());
    postRedisplay();
}

// Keys belong to a panel text field that has the keyboard, else to the view.
void keyboardCallback(unsigned char key, int x, int y) {
    statusBoard.clear();
    if (!panelKeyboard(key, x, y)) viewerKey(key);
}

void specialCallback(int key, int x, int y) {
    statusBoard.clear();
    const bool shift = (glutGetModifiers() & GLUT_ACTIVE_SHIFT) != 0;
    if (!panelSpecial(key, x, y)) viewerSpecialKey(key, shift);
}

void passiveMotionCallback(int x, int y) {
    if (panelPassiveMotion(x, y)) postRedisplay();
}

void entryCallback(int state) {
    if (state == GLUT_LEFT) panelPointerLeft();
}
