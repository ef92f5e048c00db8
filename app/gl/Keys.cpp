#include "app/gl/Keys.h"

#include "app/gl/Globals.h"
#include "app/gl/Screenshot.h"
#include "app/gl/Window.h"
#include "render/Camera.h"

#include <GL/freeglut.h>

#include <cstdlib>

namespace {
HorizontalArrowHandler horizontalArrowHandler = nullptr;
constexpr unsigned char kEscape = 27;
}  // namespace

void setHorizontalArrowHandler(HorizontalArrowHandler handler) { horizontalArrowHandler = handler; }

void panView(int dx, int dy) {
    const FieldView view = currentFieldView();
    // The picture moves the other way than the view.
    navigation().panPixels(-dx * Navigation::keyPanShare * view.width, dy * Navigation::keyPanShare * view.height,
                           view);
}

void viewerKey(unsigned char key) {
    switch (key) {
    case '+':
    case '=': navigation().zoomCentre(1.0 / Navigation::keyZoomStep, currentFieldView()); break;
    case '-': navigation().zoomCentre(Navigation::keyZoomStep, currentFieldView()); break;
    case 'r': camera->reset(); break;
    case 's': takeScreenshot(); break;
    case 'q':
    case kEscape: std::exit(0);  // the exit clean-up runs, as when the window is closed
    default: return;
    }
    postRedisplay();
}

void viewerSpecialKey(int key, bool shift) {
    switch (key) {
    case GLUT_KEY_HOME: camera->reset(); break;
    case GLUT_KEY_UP: panView(0, 1); break;
    case GLUT_KEY_DOWN: panView(0, -1); break;
    case GLUT_KEY_LEFT:
    case GLUT_KEY_RIGHT: {
        const int direction = key == GLUT_KEY_LEFT ? -1 : 1;
        if (shift || !horizontalArrowHandler || !horizontalArrowHandler(direction)) panView(direction, 0);
        break;
    }
    default: return;
    }
    postRedisplay();
}
