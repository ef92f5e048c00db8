#pragma once

#include "data/FieldQuad.h"

class UniformTarget;

// The arrow plot: point-sprite arrows on a regular lattice over the field
// quad. Its counts and size live in the panel's variables and are read
// through pointers at every draw.
class ArrowPlot {
public:
    ArrowPlot(QuadSize quad, UniformTarget* shader, const int* countX, const int* countY, const float* size)
        : quad(quad), shader(shader), countX(countX), countY(countY), size(size) {}

    void draw() const;  // GL layer

    struct Arrow {
        float s, t;  // texture coordinate on unit 0
        float x, y;  // vertex
    };
    // The lattice of draw(): countX columns left to right, each bottom to top.
    template <class Emit>
    void forEachArrow(Emit emit) const;

    // An arrow size in pixels that fits the lattice of countX x countY arrows
    // over `quad`: 0.55 of the distance between neighbouring arrows at the
    // home view, where a view unit is `pixelsPerUnit` pixels (the start size
    // 40 on a square field in the start window).
    static float fittedSize(QuadSize quad, int countX, int countY, float pixelsPerUnit) {
        const float gapX = quad.width / static_cast<float>(countX > 1 ? countX - 1 : 1);
        const float gapY = quad.height / static_cast<float>(countY > 1 ? countY - 1 : 1);
        return 0.55f * (gapX < gapY ? gapX : gapY) * pixelsPerUnit;
    }

    QuadSize quad;
    UniformTarget* shader;

private:
    const int* countX;
    const int* countY;
    const float* size;
};

template <class Emit>
void ArrowPlot::forEachArrow(Emit emit) const {
    const float sx = quad.width;
    const float sy = quad.height;
    const int cx = *countX;
    const int cy = *countY;
    if (cx < 2 || cy < 2) return;  // the panel keeps both at 2 or more
    const float stepX = 2.0f * sx / (cx - 1);
    const float stepY = 2.0f * sy / (cy - 1);
    float x = -sx;
    for (int i = 0; i < cx; ++i, x += stepX) {
        float y = -sy;
        for (int j = 0; j < cy; ++j, y += stepY) {
            emit(Arrow{x / 2.0f / sx + 0.5f, y / 2.0f / sy + 0.5f, x / 2.0f, y / 2.0f});
        }
    }
}
