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
// Where a frame of the graphics area goes: the device pixel its lower left
// corner lands on, and the device pixels per window pixel (an off-screen
// picture N times the window's size has scale N).
struct FrameTarget {
    int x = 0;
    int y = 0;
    int scale = 1;
};
// The graphics area of the window.
FrameTarget windowTarget();
// Draws one frame of the graphics area without swapping (screenshots redraw
// into the back buffer or an off-screen picture and read it, without the
// messages).
void drawFrame(bool withMessages = true, const FrameTarget& target = windowTarget());

// Releases the off-screen frame of "Smooth lines" (at exit, while the GL
// context still exists).
void releaseSmoothFrame();

// The field view as the last display laid it out: the graphics area, or its
// top part with the editor shown, with the base view widened for the legend.
FieldView currentFieldView();
// Zoom and pan of the camera by wheel, drags and keys.
Navigation& navigation();
