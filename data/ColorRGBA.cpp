#include "data/ColorRGBA.h"

std::uint8_t ColorRGBA::fromFloat(float value) {
    float scaled = value * 255.0f;
    if (!(scaled > 0.0f)) return 0;  // also maps NaN to 0
    if (scaled > 255.0f) return 255;
    return static_cast<std::uint8_t>(scaled);
}

std::uint8_t ColorRGBA::fromInt(int value) {
    if (value < 0) return 0;
    if (value > 255) return 255;
    return static_cast<std::uint8_t>(value);
}

ColorRGBA::ColorRGBA(float r, float g, float b, float a)
    : redByte(fromFloat(r)), greenByte(fromFloat(g)), blueByte(fromFloat(b)), alphaByte(fromFloat(a)) {}

ColorRGBA::ColorRGBA(int r, int g, int b, int a)
    : redByte(fromInt(r)), greenByte(fromInt(g)), blueByte(fromInt(b)), alphaByte(fromInt(a)) {}

void ColorRGBA::setRed(float r) { redByte = fromFloat(r); }
void ColorRGBA::setGreen(float g) { greenByte = fromFloat(g); }
void ColorRGBA::setBlue(float b) { blueByte = fromFloat(b); }
