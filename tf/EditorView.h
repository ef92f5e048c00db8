#pragma once

class ColorChooser;
class TransferFunction;

// The editor's orthographic view: origin at the lower-left corner of its
// region, the shorter side 1.4 units long.
struct EditorView {
    int editorHeight;                 // rows of the editor region
    double left, right, bottom, top;  // the orthographic box, centred
    float viewWidth, viewHeight;      // its full extents
};

// The view for a graphics area of windowWidth x windowHeight pixels; the
// editor takes the bottom fifth of the rows.
EditorView computeEditorView(int windowWidth, int windowHeight);

// Extents of the editor as last drawn, read back to convert pointer positions.
extern int tfEditorHeight;
extern float editorViewWidth;
extern float editorViewHeight;

// The graphics area right of the control panel, in window pixels.
struct EditorArea {
    int viewportX;
    int viewportY;
    int windowWidth;
    int windowHeight;
};

// GLUT window position (y downwards) to editor units, using the extents of
// the last drawn editor. False when there is no editor area to map onto (not
// drawn yet, or no rows or columns).
bool windowToEditor(int x, int y, const EditorArea& area, float& tx, float& ty);

// A press or release in the window: the chooser picks first, then the
// transfer function handles it. False when the position could not be mapped.
bool routeEditorMouse(int button, int state, int x, int y, const EditorArea& area, ColorChooser& chooser,
                      TransferFunction& active);
// A motion event carries the button and state of the last press or release;
// the transfer function handles it first, then the chooser picks.
bool routeEditorMotion(int lastButton, int lastState, int x, int y, const EditorArea& area, ColorChooser& chooser,
                       TransferFunction& active);
