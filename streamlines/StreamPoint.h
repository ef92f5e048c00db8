#pragma once

// One point of a streamline: world position, the number of the line it was
// produced for and its step index (which drives the texture grey level).
// Points are owned by their StreamlineSet; lines and distance-field cells
// only refer to them.
class StreamPoint {
public:
    StreamPoint(float x, float y, int number, int index) : x_(x), y_(y), number_(number), index_(index) {}

    float x() const { return x_; }
    float y() const { return y_; }
    int number() const { return number_; }
    int index() const { return index_; }

    void setX(float x) { x_ = x; }
    void setY(float y) { y_ = y; }
    void setNumber(int number) { number_ = number; }
    void setIndex(int index) { index_ = index; }

private:
    float x_;
    float y_;
    int number_;
    int index_;
};
