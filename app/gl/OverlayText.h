#pragma once

#include <string>

// Text of the field view's overlay, in the 12-point Helvetica bitmap font
// (scaled with the picture, render/FieldView.h), positions in window pixels
// of a view whose origin is its lower left.
int overlayTextWidth(const std::string& text);
// Rows of a line of this font above its baseline.
constexpr int overlayAscent = 10;

// White text with a dark rim one pixel wide, legible over any colour,
// starting at (x, y) on its baseline; `z` is the depth of its raster position.
void drawHaloText(int x, int y, const std::string& text, int z = 1);
