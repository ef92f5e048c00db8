#pragma once

#include <cstdint>

// Four bytes red, green, blue, alpha. Floats in [0, 1] are scaled by 255,
// clamped and truncated; ints are clamped to 0..255.
class ColorRGBA {
public:
    ColorRGBA() = default;
    ColorRGBA(float r, float g, float b, float a);
    ColorRGBA(int r, int g, int b, int a);

    void setRed(float r);
    void setGreen(float g);
    void setBlue(float b);

    float red() const { return redByte / 255.0f; }
    float green() const { return greenByte / 255.0f; }
    float blue() const { return blueByte / 255.0f; }
    float alpha() const { return alphaByte / 255.0f; }

    static std::uint8_t fromFloat(float value);
    static std::uint8_t fromInt(int value);

    std::uint8_t redByte = 0;
    std::uint8_t greenByte = 0;
    std::uint8_t blueByte = 0;
    std::uint8_t alphaByte = 0;
};
