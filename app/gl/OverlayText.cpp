#include "app/gl/OverlayText.h"

#include "render/FieldView.h"

#include <GL/freeglut.h>

namespace {
void* const kFont = GLUT_BITMAP_HELVETICA_12;
}  // namespace

int overlayTextWidth(const std::string& text) {
    return glutBitmapLength(kFont, reinterpret_cast<const unsigned char*>(text.c_str()));
}

void drawHaloText(int x, int y, const std::string& text, int z) {
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (dx == 0 && dy == 0) continue;
            glRasterPos3i(x + dx, y + dy, z);
            drawBitmapText(kFont, text);
        }
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glRasterPos3i(x, y, z);
    drawBitmapText(kFont, text);
}
