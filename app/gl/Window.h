#pragma once

// GLUT callbacks of the main window and the helpers every callback ends with.
void displayCallback();
void reshapeCallback(int width, int height);
void mouseCallback(int button, int state, int x, int y);
void motionCallback(int x, int y);
void keyboardCallback(unsigned char key, int x, int y);
void specialCallback(int key, int x, int y);
void passiveMotionCallback(int x, int y);

void postRedisplay();
void checkGlError();
// Reads and reports every GL error flag that is set.
void drainGlErrors();
// Draws one frame of the graphics area without swapping (screenshots redraw
// into the back buffer and read it).
void drawFrame();
