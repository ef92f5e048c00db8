#pragma once

class UniformTarget;

// The arrow plot: point-sprite arrows on a regular lattice over the field
// quad. Its settings live in the panel's variables and are read through
// pointers at every draw.
class ArrowPlot {
public:
    ArrowPlot(int width, int height, UniformTarget* shader, int* countX, int* countY, float* size,
              int* enabled, int* sizeModification, int* applyTf)
        : width(width), height(height), shader(shader), countX(countX), countY(countY), size(size),
          enabled(enabled), sizeModification(sizeModification), applyTf(applyTf) {}

    void draw() const;  // GL layer

    struct Arrow {
        float s, t;  // texture coordinate on unit 0
        float x, y;  // vertex
    };
    // Full side lengths sx, sy of the field quad for the stored width and height.
    void quadSize(float& sx, float& sy) const;
    // The lattice of draw(): countX columns left to right, each bottom to top.
    template <class Emit>
    void forEachArrow(Emit emit) const;

    void setCountX(int v) { *countX = v; }
    void setCountY(int v) { *countY = v; }
    void setSize(float v) { *size = v; }
    void setEnabled(int v) { *enabled = v; }
    void setSizeModification(int v) { *sizeModification = v; }
    void setApplyTf(int v) { *applyTf = v; }
    int* getCountX() const { return countX; }
    int* getCountY() const { return countY; }
    float* getSize() const { return size; }
    int* getEnabled() const { return enabled; }
    int* getSizeModification() const { return sizeModification; }
    int* getApplyTf() const { return applyTf; }

    int width;
    int height;
    UniformTarget* shader;

private:
    int* countX;
    int* countY;
    float* size;
    int* enabled;
    int* sizeModification;
    int* applyTf;
};

inline void ArrowPlot::quadSize(float& sx, float& sy) const {
    const float ratio = static_cast<float>(height) / static_cast<float>(width);
    if (width < height) {
        sy = 1.3f;
        sx = 1.3f / ratio;
    } else {
        sx = 1.3f;
        sy = ratio * 1.3f;
    }
}

template <class Emit>
void ArrowPlot::forEachArrow(Emit emit) const {
    float sx, sy;
    quadSize(sx, sy);
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
