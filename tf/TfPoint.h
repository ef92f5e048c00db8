#pragma once

#include "data/ColorRGBA.h"

#include <memory>

// One control point of a transfer function: a position along the strip
// (0 .. 4.0), the side of its square marker (half of it is the pick
// tolerance) and its colour. Points are chained; the list owns the chain.
class TfPoint {
public:
    TfPoint() = default;
    TfPoint(float position, float markerWidth, const ColorRGBA& color)
        : position(position), markerWidth(markerWidth), color(color) {}
    // A copy is a detached point: same values, no successor.
    TfPoint(const TfPoint& other) : position(other.position), markerWidth(other.markerWidth), color(other.color) {}
    TfPoint& operator=(const TfPoint& other) {
        position = other.position;
        markerWidth = other.markerWidth;
        color = other.color;
        return *this;
    }
    TfPoint(TfPoint&&) = default;
    TfPoint& operator=(TfPoint&&) = default;

    // Strictly inside the marker interval around the position.
    bool isHitAt(float x) const { return position - markerWidth / 2.0f < x && x < position + markerWidth / 2.0f; }

    float position = 0.0f;
    float markerWidth = 0.0f;
    ColorRGBA color;
    std::unique_ptr<TfPoint> next;
};
