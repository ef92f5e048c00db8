#include "panel/gl/PanelGlut.h"

#include "panel/ControlPanel.h"
#include "panel/PanelDock.h"
#include "panel/PanelInputQueue.h"
#include "panel/PanelMouseRouter.h"
#include "panel/gl/PanelGlState.h"
#include "panel/gl/PanelMap.h"
#include "panel/gl/PanelWidgets.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <imgui.h>
#include <backends/imgui_impl_glut.h>
#include <backends/imgui_impl_opengl2.h>

#include <algorithm>
#include <cmath>

namespace {

bool initialized = false;
PanelInputQueue inputQueue;
PanelMouseRouter mouseRouter(PanelWindow::defaultWidth);
PanelDock dock(PanelWindow::defaultWidth);
PanelFrameResult lastFrame;      // actions waiting for the frame's end, and where things were drawn
bool frameOpen = false;          // between panelBeginFrame and panelEndFrame
bool inputApplied = false;       // the open frame took a button, wheel or key from the queue
bool pointerOverPanel = false;   // at the last move without buttons
bool (*programBusy)() = nullptr;
bool layoutChanged = false;      // the open frame's content differs in height from the one before
unsigned long buttonEvents = 0;  // mouse button and wheel events handed to ImGui so far

int panelWidth() { return controlPanel ? controlPanel->width() : PanelWindow::defaultWidth; }

// The panel's place for this window width; the router follows what is shown.
void updateDock() {
    dock.setPanelWidth(panelWidth());
    dock.setWindowWidth(glutGet(GLUT_WINDOW_WIDTH));
    mouseRouter.setPanelWidth(dock.shownWidth());
}

// A control in use keeps the opened panel open.
bool panelBusy() { return lastFrame.busy || mouseRouter.holdsButtons(); }

const char* dockState() {
    if (!dock.collapsed()) return "docked";
    return dock.expanded() ? "open" : "strip";
}

// The collapsed panel opened or folded: the router follows, a frame shows it.
void dockChanged(bool changed) {
    if (!changed) return;
    mouseRouter.setPanelWidth(dock.shownWidth());
    glutPostRedisplay();
}

void followPointer(int x) {
    updateDock();
    dockChanged(dock.pointerAt(x, panelBusy()));
}

int keyModifiers() {
    int mods = glutGetModifiers();
    return ((mods & GLUT_ACTIVE_SHIFT) ? 1 : 0) | ((mods & GLUT_ACTIVE_CTRL) ? 2 : 0) |
           ((mods & GLUT_ACTIVE_ALT) ? 4 : 0);
}

void applyModifiers(ImGuiIO& io, int modifiers) {
    io.KeyShift = (modifiers & 1) != 0;
    io.KeyCtrl = (modifiers & 2) != 0;
    io.KeyAlt = (modifiers & 4) != 0;
}

// Key state as the GLUT backend keeps it: letters under both cases, and
// GLUT's Ctrl+A..Ctrl+Z codes 1..26 under their letters.
void applyKey(ImGuiIO& io, const PanelInputEvent& event) {
    applyModifiers(io, event.modifiers);
    if (event.special) {
        int index = event.key + 256;
        if (index >= 0 && index < IM_ARRAYSIZE(io.KeysDown)) {
            io.KeysDown[index] = event.down;
        }
        return;
    }
    int c = event.key & 0xFF;
    if (event.down && c >= 32) {
        io.AddInputCharacter(static_cast<unsigned>(c));
    }
    if (c >= 'a' && c <= 'z') {
        io.KeysDown[c] = io.KeysDown[c - 'a' + 'A'] = event.down;
    } else if (c >= 'A' && c <= 'Z') {
        io.KeysDown[c] = io.KeysDown[c - 'A' + 'a'] = event.down;
    } else if (io.KeyCtrl && c >= 1 && c <= 26) {
        io.KeysDown[c] = io.KeysDown[c - 1 + 'a'] = io.KeysDown[c - 1 + 'A'] = event.down;
    } else {
        io.KeysDown[c] = event.down;
    }
}

// Hands one frame's share of the queued input to ImGui; true when it was
// more than a pointer move, which shows in the frame that takes it.
bool applyQueuedInput() {
    std::vector<PanelInputEvent> events = inputQueue.takeFrame();
    ImGuiIO& io = ImGui::GetIO();
    for (const PanelInputEvent& event : events) {
        switch (event.type) {
        case PanelInputEvent::Type::Move:
            io.MousePos = ImVec2(static_cast<float>(event.x), static_cast<float>(event.y));
            break;
        case PanelInputEvent::Type::Button:
            ++buttonEvents;
            io.MousePos = ImVec2(static_cast<float>(event.x), static_cast<float>(event.y));
            applyModifiers(io, event.modifiers);
            io.MouseDown[event.button] = event.down;
            break;
        case PanelInputEvent::Type::Wheel:
            ++buttonEvents;
            io.MousePos = ImVec2(static_cast<float>(event.x), static_cast<float>(event.y));
            io.MouseWheel += static_cast<float>(event.wheel);
            break;
        case PanelInputEvent::Type::Key: applyKey(io, event); break;
        }
    }
    return std::any_of(events.begin(), events.end(),
                       [](const PanelInputEvent& e) { return e.type != PanelInputEvent::Type::Move; });
}

bool runActions() {
    std::vector<std::function<void()>> actions;
    actions.swap(lastFrame.actions);
    for (auto& action : actions) {
        action();
    }
    return !actions.empty();
}

bool rectOf(const PanelRect& rect, int& x, int& y, int& w, int& h) {
    x = static_cast<int>(std::lround(rect.x));
    y = static_cast<int>(std::lround(rect.y));
    w = static_cast<int>(std::lround(rect.w));
    h = static_cast<int>(std::lround(rect.h));
    return true;
}

}  // namespace

void panelInit() {
    if (initialized) {
        return;
    }
    initialized = true;
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    // The file browser moves the current directory around: keep ImGui from
    // writing its settings and log files there.
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    ImGui::StyleColorsDark();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 0.0f;
    // Compact spacing: the panel is narrow and nests up to two levels.
    style.WindowPadding = ImVec2(6.0f, 6.0f);
    style.ItemSpacing = ImVec2(6.0f, 4.0f);
    style.IndentSpacing = 10.0f;
    style.ScrollbarSize = 10.0f;
    // The folded panel's strip is narrower than ImGui's usual smallest window.
    style.WindowMinSize = ImVec2(8.0f, 8.0f);
    style.Colors[ImGuiCol_WindowBg].w = 1.0f;
    ImGui_ImplGLUT_Init();
    ImGui_ImplOpenGL2_Init();
    io.DisplaySize =
        ImVec2(static_cast<float>(glutGet(GLUT_WINDOW_WIDTH)), static_cast<float>(glutGet(GLUT_WINDOW_HEIGHT)));
}

void panelShutdown() {
    if (!initialized) {
        return;
    }
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplGLUT_Shutdown();
    ImGui::DestroyContext();
    initialized = false;
    frameOpen = false;
    lastFrame = PanelFrameResult();
}

void panelBeginFrame() {
    panelInit();
    runActions();  // left over when the last frame was not finished
    updateDock();
    inputApplied = applyQueuedInput();

    ImGuiIO& io = ImGui::GetIO();
    io.DisplaySize =
        ImVec2(static_cast<float>(glutGet(GLUT_WINDOW_WIDTH)), static_cast<float>(glutGet(GLUT_WINDOW_HEIGHT)));
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplGLUT_NewFrame();  // also starts the ImGui frame
    PanelFrameResult frame;
    if (controlPanel) {
        const bool strip = dock.collapsed() && !dock.expanded();
        drawPanelWindow(*controlPanel, static_cast<float>(dock.shownWidth()), io.DisplaySize.y, strip, frame);
    }
    ImGui::Render();
    // A tooltip that appears or changes is sized in the frame after.
    layoutChanged = frame.contentHeight != lastFrame.contentHeight || frame.needsFrame ||
                    frame.tooltip != lastFrame.tooltip || !(frame.tooltipRect == lastFrame.tooltipRect);
    lastFrame = std::move(frame);
    frameOpen = true;
}

void panelEndFrame() {
    if (!initialized || !frameOpen) {
        return;
    }
    {
        PanelGlState state(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    }
    frameOpen = false;
    if (controlPanel) {
        // As drawn, before the actions change the model. Settled: this frame
        // asks for no further one (no input, no action, the same layout).
        bool settled = inputQueue.empty() && !inputApplied && lastFrame.actions.empty() && !layoutChanged &&
                       !(programBusy && programBusy());
        writePanelMap(*controlPanel, lastFrame, settled, buttonEvents, dockState(), dock.shownWidth(),
                      glutGet(GLUT_WINDOW_HEIGHT));
    }
    bool acted = runActions();

    // Keep frames coming while input waits, and once more after input, a
    // change or a new layout so that the panel shows its result.
    if (!inputQueue.empty() || inputApplied || acted || layoutChanged) {
        glutPostRedisplay();
    }
}

bool panelRedraw() {
    ImDrawData* data = initialized ? ImGui::GetDrawData() : nullptr;
    if (!data) return false;
    PanelGlState state(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    ImGui_ImplOpenGL2_RenderDrawData(data);
    return true;
}

void setPanelBusyCheck(bool (*busy)()) { programBusy = busy; }

void panelReshape(int width, int height, int& viewportX, int& viewportY, int& areaWidth, int& areaHeight) {
    if (initialized) {
        ImGui::GetIO().DisplaySize = ImVec2(static_cast<float>(width), static_cast<float>(height));
    }
    dock.setPanelWidth(panelWidth());
    dock.setWindowWidth(width);
    mouseRouter.setPanelWidth(dock.shownWidth());
    ViewportArea area = PanelWindow::areaBesidePanel(dock.reservedWidth(), width, height);
    viewportX = area.x;
    viewportY = area.y;
    areaWidth = area.w;
    areaHeight = area.h;
}

bool panelMouse(int button, int state, int x, int y) {
    if (button >= 0 && button <= 2) {
        inputQueue.pushButton(button, state == GLUT_DOWN, x, y, keyModifiers());
    } else if ((button == 3 || button == 4) && state == GLUT_DOWN) {
        inputQueue.pushWheel(button == 3 ? 1 : -1, x, y);
    }
    glutPostRedisplay();
    updateDock();
    if (state == GLUT_DOWN) dockChanged(dock.pressAt(x));
    return mouseRouter.mouse(button, state, x);
}

bool panelMotion(int x, int y) {
    inputQueue.pushMove(x, y);
    glutPostRedisplay();
    followPointer(x);
    return mouseRouter.motion(x);
}

bool panelPassiveMotion(int x, int y) {
    inputQueue.pushMove(x, y);
    followPointer(x);
    // Nothing but the panel answers a pointer without buttons.
    const bool over = x < dock.shownWidth();
    if (over || pointerOverPanel || !lastFrame.tooltip.empty()) glutPostRedisplay();
    pointerOverPanel = over;
    return mouseRouter.motion(x);
}

void panelPointerLeft() {
    updateDock();
    dockChanged(dock.pointerGone(panelBusy()));
}

bool panelKeyboard(unsigned char key, int, int) {
    inputQueue.pushKeyStroke(key, false, keyModifiers());
    glutPostRedisplay();
    return initialized && ImGui::GetIO().WantCaptureKeyboard;
}

bool panelSpecial(int key, int, int) {
    inputQueue.pushKeyStroke(key, true, keyModifiers());
    glutPostRedisplay();
    return initialized && ImGui::GetIO().WantCaptureKeyboard;
}

bool panelControlRect(const PanelControl* control, int& x, int& y, int& w, int& h) {
    auto it = lastFrame.rects.find(control);
    if (it == lastFrame.rects.end()) {
        return false;
    }
    return rectOf(it->second, x, y, w, h);
}

bool panelFileEntryRect(int index, int& x, int& y, int& w, int& h) {
    if (index < 0 || static_cast<std::size_t>(index) >= lastFrame.fileEntryRects.size()) {
        return false;
    }
    return rectOf(lastFrame.fileEntryRects[static_cast<std::size_t>(index)], x, y, w, h);
}
