#pragma once

#include "tf/TfPoint.h"

#include <memory>
#include <vector>

// The control points of one transfer function, ordered by position. The
// editing rules keep an end point at 0 and at 4.0 and at least one full
// marker width between an interior point and each neighbour's position.
class TfPointList {
public:
    // Position of the last point; end points are recoloured, never moved.
    static constexpr float endPosition = 4.0f;

    explicit TfPointList(float newPointWidth) : newPointWidth(newPointWidth) {}
    ~TfPointList() { clear(); }
    TfPointList(const TfPointList&) = delete;
    TfPointList& operator=(const TfPointList&) = delete;

    TfPoint* first() { return head.get(); }
    const TfPoint* first() const { return head.get(); }
    int count() const;

    // Inserts a point at x between its neighbours, or recolours an end point
    // when x falls on the inner half of its marker.
    void addPoint(float x, float r, float g, float b);
    // Removes the first interior point hit at x; end points stay.
    void removePointAt(float x);
    bool isPointAt(float x) const;
    // Selects the first point hit at x and computes the limits of its drag.
    void selectPointAt(float x);
    // Moves the selected interior point toward x, kept within its limits.
    void moveSelected(float x);
    // Sets red, green and blue of the first point hit at x; alpha stays.
    void setColorAt(float x, float r, float g, float b);
    void clear();
    // Chains the given points, in the given order, as the new list.
    void setPoints(std::vector<TfPoint> points);

    TfPoint* selected = nullptr;
    float lowerLimit = 0.0f;
    float upperLimit = 0.0f;
    bool selectedIsFirst = false;
    bool selectedIsLast = false;
    float newPointWidth;

private:
    TfPoint* findHit(float x) const;
    std::unique_ptr<TfPoint> makePoint(float position, float r, float g, float b) const;
    // Releases a point taken out of the chain, forgetting it if it was selected.
    void release(std::unique_ptr<TfPoint> point);

    std::unique_ptr<TfPoint> head;
};
