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

    // The half-height of the view at zoom 0, in view units.
    static constexpr float baseHalfHeight = 0.7f;

    // The orthographic box of the field view for a graphics-area aspect ratio.
    // `fit` widens the base view (FieldFit.h): 1 keeps it at baseHalfHeight.
    // The pan applies whatever the aspect.
    OrthoBox projectionBox(float aspect, float fit = 1.0f) const;
    // Loads projectionBox into the GL projection matrix (GL layer).
    void applyProjection(float aspect, float fit = 1.0f) const;

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
