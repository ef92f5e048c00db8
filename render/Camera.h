#pragma once

// The field view's camera: pan and zoom driven by mouse drags.
class Camera {
public:
    struct OrthoBox {
        double left, right, bottom, top, nearPlane, farPlane;
    };

    // What an options file may set. Beyond these the view box becomes
    // narrower than float rounding (a translation of 1e8 collapses it and GL
    // refuses the projection on every frame), or at zoom -0.7 it has no
    // height; the mouse is not bounded.
    static constexpr float maxTranslation = 100.0f;
    static constexpr float minZoom = -0.69f;  // half-height 0.01, 70 times magnified
    static constexpr float maxZoom = 100.0f;

    void reset();
    void mouse(int button, int state, int x, int y);
    void motion(int x, int y);

    // The orthographic box of the field view for a graphics-area aspect ratio.
    OrthoBox projectionBox(float aspect) const;
    // Loads projectionBox into the GL projection matrix (GL layer).
    void applyProjection(float aspect) const;

    float getTranslationX() const { return translationX; }
    float getTranslationY() const { return translationY; }
    float getZoom() const { return zoom; }
    void setTranslationX(float v) { translationX = v; }
    void setTranslationY(float v) { translationY = v; }
    void setZoom(float v) { zoom = v; }

    float translationX = 0.0f;
    float translationY = 0.0f;
    float zoom = 0.0f;
    int pressX = 0;
    int pressY = 0;
    bool leftDown = false;
    bool rightDown = false;
};
