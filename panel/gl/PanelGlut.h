#pragma once

// The control panel on screen: the panel built by buildControlPanel, drawn
// with Dear ImGui (GLUT platform, OpenGL 2 renderer) docked on the left of
// the main window. Everything runs on the GLUT thread with the main
// window's context current.
//
// A frame of the main window:
//   panelBeginFrame();   // input of this frame, panel layout
//   ...draw the scene...
//   panelEndFrame();     // panel drawn over it, then the control callbacks
//   glutSwapBuffers();
// Control callbacks run at the end of panelEndFrame, after the panel has
// been drawn and outside the ImGui frame, so a callback may redraw the
// window or rebuild the scene.

// Creates the ImGui context and backends; needs a current GL context and
// GLEW. The frame and event functions call it on first use.
void panelInit();
void panelShutdown();

void panelBeginFrame();
void panelEndFrame();
// Draws the panel of the last frame again into the current frame buffer (a
// screenshot with the panel); false when no frame of it is at hand.
bool panelRedraw();

// Work of the program that changes the picture by itself when it ends (a
// streamline placement): no frame counts as settled while it lasts.
void setPanelBusyCheck(bool (*busy)());

// Window resized: the graphics area left free by the panel (GL viewport
// coordinates, negative sizes clamped to 0). A window narrower than twice
// the panel leaves the panel a strip (PanelDock) and the rest to the area.
void panelReshape(int width, int height, int& viewportX, int& viewportY, int& areaWidth, int& areaHeight);

// GLUT input. Every event goes to the panel's queue (one change per frame,
// redisplays posted until it is empty); the result tells whether the event
// belongs to the panel, in which case the camera and the editor must not
// see it. A press belongs to the panel when it lands on it; motion and the
// release follow the press. A move without buttons asks for a frame only
// over the panel, and once more as it leaves it or while a tooltip shows.
bool panelMouse(int button, int state, int x, int y);
bool panelMotion(int x, int y);
bool panelPassiveMotion(int x, int y);
// The pointer left the window: an opened collapsed panel folds.
void panelPointerLeft();
// Keys go to the panel only (the graphics area takes no keys); the result
// tells whether a panel text field had the keyboard.
bool panelKeyboard(unsigned char key, int x, int y);
bool panelSpecial(int key, int x, int y);

// Where a control, or entry `index` of the file browser, was drawn in the
// last frame, in window pixels from the top left; false when it was not
// drawn (for example inside a collapsed section).
bool panelControlRect(const class PanelControl* control, int& x, int& y, int& w, int& h);
bool panelFileEntryRect(int index, int& x, int& y, int& w, int& h);
