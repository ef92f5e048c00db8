#include "tf/ColorChooser.h"

#include <GL/gl.h>

void ColorChooser::draw() {
    updateGeometry();
    glMatrixMode(GL_MODELVIEW);

    glPushMatrix();
    glShadeModel(GL_SMOOTH);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(redCorner.x, redCorner.y, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(greenCorner.x, greenCorner.y, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(blueCorner.x, blueCorner.y, 0.0f);
    glEnd();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(1.5f * centerX, 1.5f * centerY, 0.0f);
    glColor3f(currentColor.red(), currentColor.green(), currentColor.blue());
    glBegin(GL_QUADS);
    glVertex3f(-0.125f, -0.125f, 0.0f);
    glVertex3f(0.125f, -0.125f, 0.0f);
    glVertex3f(0.125f, 0.125f, 0.0f);
    glVertex3f(-0.125f, 0.125f, 0.0f);
    glEnd();
    glPopMatrix();

    glPushMatrix();
    glBegin(GL_QUADS);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex3f(barLeft, barBottom, 0.0f);
    glVertex3f(barLeft, barBottom + barHeight, 0.0f);
    glColor3f(0.0f, 0.0f, 0.0f);
    glVertex3f(barLeft + barWidth, barBottom + barHeight, 0.0f);
    glVertex3f(barLeft + barWidth, barBottom, 0.0f);
    glEnd();
    glPopMatrix();
}
