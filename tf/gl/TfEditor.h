#pragma once

#include "tf/EditorView.h"

class ColorChooser;
class TransferFunction;

// GL layer.
// Draws the editor into the bottom rows of the graphics area: background,
// colour chooser, the active transfer function (histogram, points, colour
// bar) and the labels. Stores the view's extents for the pointer conversion.
// With a scale N the area's origin is in device pixels and its size in window
// pixels, drawn N times as large (an off-screen picture).
void drawTfEditor(const EditorArea& area, ColorChooser& chooser, TransferFunction& active, int scale = 1);

// Window-pixel mouse and motion events for the editor: converted to editor
// units, handed to the chooser and the active transfer function, whose
// texture is then uploaded.
void tfEditorMouse(int button, int state, int x, int y, const EditorArea& area, ColorChooser& chooser,
                   TransferFunction& active);
void tfEditorMotion(int lastButton, int lastState, int x, int y, const EditorArea& area, ColorChooser& chooser,
                    TransferFunction& active);
