#pragma once

#include "render/Navigation.h"

// GLUT callbacks of the main window and the helpers every callback ends with.
void displayCallback();
void reshapeCallback(int width, int height);
void mouseCallback(int button, int state, int x, int y);
void motionCallback(int x, int y);
void keyboardCallback(unsigned char key, int x, int y);
void specialCallback(int key, int x, int y);
void passiveMotionCallback(int x, int y);
void entryCallback(int state);

void postRedisplay();
void checkGlError();
// Reads and reports every GL error flag that is set.
void drainGlErrors();
// Draws one frame of the graphics area without swapping (screenshots redraw
// into the back buffer and read it, without the messages).
void drawFrame(bool withMessages = true);

// The field view as the last display laid it out: the graphics area, or its
// top part with the editor shown, with the base view widened for the legend.
FieldView currentFieldView();
// Zoom and pan of the camera by wheel, drags and keys.
Navigation& navigation();
