#include "tf/ColorChooser.h"

#include <cmath>

namespace {

float distance(float x0, float y0, float x1, float y1) {
    float dx = x1 - x0;
    float dy = y1 - y0;
    return std::sqrt(dx * dx + dy * dy);
}

float area(const ColorChooser::Corner& u, const ColorChooser::Corner& v, const ColorChooser::Corner& w) {
    return std::fabs(u.x * v.y - u.y * v.x - v.y * w.x + v.x * w.y + u.y * w.x - u.x * w.y) * 0.5f;
}

}  // namespace

ColorChooser::ColorChooser(float size, float centerX, float centerY) : size(size), centerX(centerX), centerY(centerY) {
    updateGeometry();
}

void ColorChooser::updateGeometry() {
    const double rightAngle = 1.570796327;
    const double sixth = 0.5235987756666667;
    const double third = 2.0943951026666667;
    a = static_cast<float>((size / 2.0f) / std::sin(rightAngle) * std::sin(sixth));
    b = static_cast<float>(size / std::sin(third) * std::sin(sixth));
    redCorner = {centerX - size / 2.0f, centerY - a};
    greenCorner = {centerX + size / 2.0f, centerY - a};
    blueCorner = {centerX, centerY + b};
    dR0 = distance(centerX, centerY, redCorner.x, redCorner.y);
    dG0 = distance(centerX, centerY, greenCorner.x, greenCorner.y);
    dB0 = distance(centerX, centerY, blueCorner.x, blueCorner.y);
    h = a + b;
    barLeft = redCorner.x;
    barBottom = redCorner.y - 0.25f;
    barWidth = greenCorner.x - redCorner.x;
}

bool ColorChooser::inTriangle(float x, float y) const {
    Corner p{x, y};
    float sum = area(redCorner, greenCorner, p) + area(greenCorner, blueCorner, p) + area(blueCorner, redCorner, p);
    return std::fabs(sum - area(redCorner, greenCorner, blueCorner)) < epsilon;
}

void ColorChooser::pickFromTriangle(float x, float y) {
    const float dR = distance(x, y, redCorner.x, redCorner.y);
    const float dG = distance(x, y, greenCorner.x, greenCorner.y);
    const float dB = distance(x, y, blueCorner.x, blueCorner.y);
    const float s = size;
    float red, green, blue;

    // The farthest corner decides. Two corners tie only on a symmetry line
    // beyond the centre; the tie goes to the earlier corner in the order
    // red, green, blue, so every position inside gives a colour.
    if (dR >= dG && dR >= dB) {
        if (dB > dG) {
            red = 0.0f;
            green = 1.0f;
            blue = s / dB - 1.0f;
        } else {
            red = 0.0f;
            green = s / dG - 1.0f;
            blue = 1.0f;
        }
        if (dG + dB - s > epsilon) {
            red = 1.0f - dR / h;
            green -= 0.5f * dG / dG0;
            blue -= 0.5f * dB / dB0;
        }
    } else if (dG >= dB) {
        if (dR > dB) {
            red = s / dR - 1.0f;
            green = 0.0f;
            blue = 1.0f;
        } else {
            red = 1.0f;
            green = 0.0f;
            blue = s / dB - 1.0f;
        }
        if (dR + dB - s > epsilon) {
            red -= 0.5f * dR / dR0;
            green = 1.0f - dG / h;
            blue -= 0.5f * dB / dB0;
        }
    } else {
        if (dG > dR) {
            red = 1.0f;
            green = s / dG - 1.0f;
            blue = 0.0f;
        } else {
            red = s / dR - 1.0f;
            green = 1.0f;
            blue = 0.0f;
        }
        if (dR + dG - s > epsilon) {
            red -= 0.5f * dR / dR0;
            green -= 0.5f * dG / dG0;
            blue = 1.0f - dB / h;
        }
    }
    currentColor.setRed(red);
    currentColor.setGreen(green);
    currentColor.setBlue(blue);
}

bool ColorChooser::inBar(float x, float y) const {
    return barLeft <= x && x <= barLeft + barWidth && barBottom <= y && y <= barBottom + barHeight;
}

void ColorChooser::pickFromBar(float x) {
    float g = 1.0f - (x - barLeft) / barWidth;
    currentColor.setRed(g);
    currentColor.setGreen(g);
    currentColor.setBlue(g);
}
