#include "tf/EditorView.h"

#include "tf/ColorChooser.h"
#include "tf/TransferFunction.h"

#include <cmath>
#include <cstdlib>

int tfEditorHeight = 0;
float editorViewWidth = 0.0f;
float editorViewHeight = 0.0f;

EditorView computeEditorView(int windowWidth, int windowHeight) {
    const float half = 0.7f;
    EditorView view{};
    view.editorHeight = static_cast<int>(windowHeight * 0.2 + 1.0);
    const float f = static_cast<float>(windowWidth) / static_cast<float>(view.editorHeight);
    if (f >= 1.0f) {
        view.left = -half * f;
        view.right = half * f;
        view.bottom = -half;
        view.top = half;
        view.viewWidth = f * 2.0f * half;
        view.viewHeight = half * 2.0f;
    } else {
        view.left = -half;
        view.right = half;
        view.bottom = -half / f;
        view.top = half / f;
        view.viewWidth = half * 2.0f;
        view.viewHeight = (2.0f / f) * half;
    }
    return view;
}

bool windowToEditor(int x, int y, const EditorArea& area, float& tx, float& ty) {
    if (area.windowWidth <= 0 || tfEditorHeight <= 0) return false;
    if (!(editorViewWidth > 0.0f) || !std::isfinite(editorViewWidth)) return false;
    if (!(editorViewHeight > 0.0f) || !std::isfinite(editorViewHeight)) return false;
    tx = static_cast<float>(x - area.viewportX) / static_cast<float>(area.windowWidth) * editorViewWidth;
    ty = static_cast<float>(std::abs(y - area.windowHeight)) / static_cast<float>(tfEditorHeight) * editorViewHeight;
    return true;
}

namespace {

void pickColor(ColorChooser& chooser, float tx, float ty) {
    if (chooser.inTriangle(tx, ty)) {
        chooser.pickFromTriangle(tx, ty);
    } else if (chooser.inBar(tx, ty)) {
        chooser.pickFromBar(tx);
    }
}

}  // namespace

bool routeEditorMouse(int button, int state, int x, int y, const EditorArea& area, ColorChooser& chooser,
                      TransferFunction& active) {
    float tx, ty;
    if (!windowToEditor(x, y, area, tx, ty)) return false;
    pickColor(chooser, tx, ty);
    active.handleMouse(button, state, tx, ty);
    return true;
}

bool routeEditorMotion(int lastButton, int lastState, int x, int y, const EditorArea& area, ColorChooser& chooser,
                       TransferFunction& active) {
    float tx, ty;
    if (!windowToEditor(x, y, area, tx, ty)) return false;
    active.handleMouse(lastButton, lastState, tx, ty);
    pickColor(chooser, tx, ty);
    return true;
}
