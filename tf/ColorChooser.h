#pragma once

#include "data/ColorRGBA.h"

// The colour chooser of the editor: an RGB triangle, a brightness bar under
// it and a preview of the current colour. Positions are editor units.
class ColorChooser {
public:
    struct Corner {
        float x, y;
    };

    ColorChooser(float size, float centerX, float centerY);

    // Corners, centre distances, height and bar from size and centre. Run at
    // construction already, so a press before the first draw hits the right
    // places; draw() runs it again.
    void updateGeometry();

    bool inTriangle(float x, float y) const;
    // Colour of a triangle position: the farthest corner's component drops
    // out, the nearer two blend along the edge, and inside the triangle all
    // three are pulled toward the centre's mix. Alpha is kept.
    void pickFromTriangle(float x, float y);
    bool inBar(float x, float y) const;
    // Grey level from white at the bar's left end to black at its right end.
    void pickFromBar(float x);

    const ColorRGBA& current() const { return currentColor; }
    void setCurrent(const ColorRGBA& color) { currentColor = color; }

    void draw();  // GL layer

    float size;
    float centerX;
    float centerY;
    ColorRGBA currentColor{127, 127, 127, 255};

    // Derived geometry.
    float a = 0.0f;
    float b = 0.0f;
    Corner redCorner{0.0f, 0.0f};
    Corner greenCorner{0.0f, 0.0f};
    Corner blueCorner{0.0f, 0.0f};
    float dR0 = 0.0f;
    float dG0 = 0.0f;
    float dB0 = 0.0f;
    float h = 0.0f;
    float barLeft = 0.0f;
    float barBottom = 0.0f;
    float barWidth = 0.0f;
    static constexpr float barHeight = 0.15f;
    static constexpr float epsilon = 5e-7f;
};
