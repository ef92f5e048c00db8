#include "tf/gl/TfEditor.h"

#include "render/FieldView.h"
#include "tf/ColorChooser.h"
#include "tf/TransferFunction.h"
#include "tf/TransferFunctionSet.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

void drawTfEditor(const EditorArea& area, ColorChooser& chooser, TransferFunction& active, int scale) {
    // A graphics area without columns has no view to draw into.
    if (area.windowWidth <= 0) return;
    const EditorView view = computeEditorView(area.windowWidth, area.windowHeight);
    tfEditorHeight = view.editorHeight;
    editorViewWidth = view.viewWidth;
    editorViewHeight = view.viewHeight;
    glViewport(area.viewportX, area.viewportY, area.windowWidth * scale, tfEditorHeight * scale);
    glLineWidth(static_cast<float>(scale));

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(view.left, view.right, view.bottom, view.top, -1.0, 15.0);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float w = editorViewWidth;
    const float h = editorViewHeight;
    glColor4f(0.8f, 0.8f, 0.8f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(-w / 2.0f, -h / 2.0f, -2.0f);
    glVertex3f(w / 2.0f, -h / 2.0f, -2.0f);
    glVertex3f(w / 2.0f, h / 2.0f, -2.0f);
    glVertex3f(-w / 2.0f, h / 2.0f, -2.0f);
    glEnd();

    glTranslatef(-w / 2.0f, -h / 2.0f, 0.0f);
    glColor4f(0.498f, 0.498f, 0.498f, 1.0f);
    glBegin(GL_LINES);
    glVertex3f(0.0f, h, -2.0f);
    glVertex3f(w, h, -2.0f);
    glVertex3f(0.0f, 0.001f, -2.0f);
    glVertex3f(w, 0.001f, -2.0f);
    glEnd();

    chooser.draw();
    active.draw();

    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glRasterPos3f(0.5f, 1.25f, -1.0f);
    drawBitmapText(GLUT_BITMAP_HELVETICA_10, "color chooser");
    // In a small editor the label would run into the transfer function's
    // strip (x 2.5): it is then shortened.
    const char* preview = "color preview";
    const int pixels = glutBitmapLength(GLUT_BITMAP_HELVETICA_10, reinterpret_cast<const unsigned char*>(preview));
    if (1.7f + pixels * w / static_cast<float>(area.windowWidth) > 2.5f) preview = "preview";
    glRasterPos3f(1.7f, 0.8f, -1.0f);
    drawBitmapText(GLUT_BITMAP_HELVETICA_10, preview);
    glRasterPos3f(2.5f, 1.25f, -1.0f);
    drawBitmapText(GLUT_BITMAP_HELVETICA_10, transferFunctionTitle(active));
    glLineWidth(1.0f);
}

void tfEditorMouse(int button, int state, int x, int y, const EditorArea& area, ColorChooser& chooser,
                   TransferFunction& active) {
    if (routeEditorMouse(button, state, x, y, area, chooser, active)) active.upload();
}

void tfEditorMotion(int lastButton, int lastState, int x, int y, const EditorArea& area, ColorChooser& chooser,
                    TransferFunction& active) {
    if (routeEditorMotion(lastButton, lastState, x, y, area, chooser, active)) active.upload();
}
