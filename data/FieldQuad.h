#pragma once

// The field view draws the dataset on a quad centred on the origin whose
// longer side is 1.3 view units. The field, the arrow lattice and the
// streamlines all take their proportions from here.
struct QuadSize {
    float width = 0.0f;
    float height = 0.0f;

    bool isValid() const { return width > 0.0f && height > 0.0f; }
};

// Full side lengths for a field `across` wide and `up` high (any unit); an
// empty or non-finite extent gives an invalid size.
inline QuadSize fieldQuadSize(float across, float up) {
    if (!(across > 0.0f) || !(up > 0.0f) || !(across < 3.4e38f) || !(up < 3.4e38f)) return {};
    const float ratio = up / across;
    if (across >= up) return {1.3f, 1.3f * ratio};
    return {1.3f / ratio, 1.3f};
}
