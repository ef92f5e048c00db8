#pragma once

#include <cmath>

// Three floats x, y, z: positions and velocities throughout the program.
// All arithmetic stays in float.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vec3() = default;
    Vec3(float xv, float yv, float zv) : x(xv), y(yv), z(zv) {}

    float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    Vec3& operator+=(const Vec3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    Vec3& operator-=(const Vec3& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    Vec3& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    // One float reciprocal, then three products (not three divisions).
    Vec3& operator/=(float s) {
        const float inv = 1.0f / s;
        return *this *= inv;
    }

    Vec3 operator+(const Vec3& o) const { return Vec3(x + o.x, y + o.y, z + o.z); }
    Vec3 operator-(const Vec3& o) const { return Vec3(x - o.x, y - o.y, z - o.z); }
    Vec3 operator*(float s) const { return Vec3(x * s, y * s, z * s); }

    void negate() {
        x *= -1.0f;
        y *= -1.0f;
        z *= -1.0f;
    }

    float lengthSquared() const { return x * x + y * y + z * z; }
    float length() const { return std::sqrt(lengthSquared()); }

    // The zero vector has no direction: it stays zero instead of turning
    // into NaNs that would poison every position computed from it.
    void normalize() {
        const float len = length();
        if (len != 0.0f) *this /= len;
    }

    float distanceSquared(const Vec3& o) const { return (*this - o).lengthSquared(); }
};

static_assert(sizeof(Vec3) == 3 * sizeof(float), "node records are read straight into Vec3 arrays");
