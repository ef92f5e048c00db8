#pragma once

#include "app/StatusBoard.h"
#include "render/FieldFit.h"

#include <string>
#include <vector>

// The field view of the open dataset: the colour-mapped quad, streamlines in
// the chosen mode and the arrow plot, and the screen-space overlay with the
// data-file line and the legend bars.
void drawScene();
void drawOverlay(int width, int height, double lineFactor);
// The messages under the status line, over whatever the view shows, each
// line in its kind's colour on a dark band, wrapped to the view's width.
void drawStatusMessages(const std::vector<StatusMessage>& messages, int width, int height, double lineFactor);

// A line of text the overlay drew last: the status line or a message line,
// in pixels of the field view from its top left.
struct DrawnStatusLine {
    std::string text;
    bool dataFile = false;
    MessageKind kind = MessageKind::Info;
    int x = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
const std::vector<DrawnStatusLine>& drawnStatusLines();

// How far the legend reaches into a field view of `width` x `height`
// pixels with the overlay's line factor, for FieldFit.
LegendColumns legendColumns(int width, int height, double lineFactor);

// Sends the shader the uniforms that follow the live variables and the open
// dataset: background, arrow size and switches, velocity range, the colour
// of missing data.
void applyShaderUniforms();

// The arrow glyph image, below the folder loadArrowTexture is given.
constexpr const char* kArrowImageFile = "img/arrow.tga";
// The arrow glyph image (folder + kArrowImageFile) as the texture of its unit.
void loadArrowTexture(const std::string& folder = "");
void releaseArrowTexture();
// The vertex buffer of the streamlines goes (with the GL context).
void releaseStreamlineBuffers();
