// The panel on screen: real clicks and keys from xdotool reach the model
// through GLUT, the event queue and ImGui.
#include "panel/ControlPanel.h"
#include "settings/LiveVariables.h"
#include "panel/gl/PanelGlut.h"
#include "support/TempDir.h"
#include "support/Viewer.h"
#include "support/GlWindow.h"
#include "support/Xvfb.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<int> reported;
void record(int id) { reported.push_back(id); }

// The graphics area is cleared red so the panel's strip can be told apart.
void drawWindow() {
    panelBeginFrame();
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    panelEndFrame();
}

void display() {
    drawWindow();
    glutSwapBuffers();
}

void reshape(int width, int height) {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    panelReshape(width, height, x, y, w, h);
}

void mouse(int button, int state, int x, int y) { panelMouse(button, state, x, y); }
void motion(int x, int y) { panelMotion(x, y); }
void keyboard(unsigned char key, int x, int y) { panelKeyboard(key, x, y); }
void special(int key, int x, int y) { panelSpecial(key, x, y); }

class PanelImGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openGlWindow("panel", 1024, 700));
        glutDisplayFunc(display);
        glutReshapeFunc(reshape);
        glutMouseFunc(mouse);
        glutMotionFunc(motion);
        glutKeyboardFunc(keyboard);
        glutSpecialFunc(special);
    }

    void SetUp() override {
        resetLiveVariables();
        reported.clear();
        buildControlPanel(record);
        settle();
    }
    void TearDown() override {
        controlPanel.reset();
        resetLiveVariables();
    }

    // Runs the GLUT loop until `done` holds or the time is up.
    static bool pumpUntil(const std::function<bool()>& done, double seconds = 5.0) {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            glutMainLoopEvent();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return done();
    }
    // Lets every queued event and posted redisplay run out.
    static void settle() {
        glutPostRedisplay();
        pumpUntil([] { return false; }, 0.4);
    }

    static void clickAt(int x, int y) {
        xdotool("mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    }
    static bool click(const PanelControl* control) {
        int x, y, w, h;
        if (!panelControlRect(control, x, y, w, h)) return false;
        clickAt(x + w / 2, y + h / 2);
        return true;
    }

    PanelControls& c = panelControls;
};

TEST_F(PanelImGuiTest, AClickOnAButtonCallsBackExactlyOnce) {
    ASSERT_TRUE(click(c.screenshotButton));
    EXPECT_TRUE(pumpUntil([] { return !reported.empty(); }));
    settle();
    EXPECT_EQ(reported, std::vector<int>{6});
}

TEST_F(PanelImGuiTest, DisabledControlsAndSectionsIgnoreClicks) {
    ASSERT_TRUE(click(c.resetCameraButton));
    settle();
    ASSERT_TRUE(click(c.arrowPlotRollout));
    settle();
    ASSERT_TRUE(click(c.optionsPanel->children()[0].get()));  // "Arrow plot"
    settle();
    EXPECT_TRUE(reported.empty());
    EXPECT_FALSE(c.arrowPlotRollout->isOpen());
    EXPECT_EQ(showArrowPlot, 0);
}

TEST_F(PanelImGuiTest, TypedAndSteppedValuesAreClampedAndReported) {
    enableDatasetControls();
    showArrowPlotSection(true);
    settle();
    ASSERT_TRUE(click(c.arrowCountXSpinner));
    settle();
    xdotool("key ctrl+a");
    xdotool("type 0");
    xdotool("key Return");
    EXPECT_TRUE(pumpUntil([] { return !reported.empty(); }));
    settle();
    EXPECT_EQ(arrowCountX, 2);
    EXPECT_EQ(reported, std::vector<int>{7});

    int x, y, w, h;
    ASSERT_TRUE(panelControlRect(c.arrowCountXSpinner, x, y, w, h));
    clickAt(x + w - h / 2, y + h / 2);  // the "+" button at the right end
    EXPECT_TRUE(pumpUntil([] { return reported.size() == 2; }));
    settle();
    EXPECT_EQ(arrowCountX, 3);
}

TEST_F(PanelImGuiTest, TypedValuesCountWhenTheFieldIsLeftAndStepButtonsDrag) {
    enableDatasetControls();
    showArrowPlotSection(true);
    settle();
    ASSERT_TRUE(click(c.arrowCountYSpinner));
    settle();
    xdotool("type 150");
    settle();
    EXPECT_EQ(arrowCountY, 10) << "nothing counts while typing";
    clickAt(600, 300);  // leave the field by a click in the graphics area
    EXPECT_TRUE(pumpUntil([] { return arrowCountY == 150; }));
    settle();
    EXPECT_EQ(reported, std::vector<int>{8});

    int x, y, w, h;
    ASSERT_TRUE(panelControlRect(c.arrowCountYSpinner, x, y, w, h));
    const std::string plusX = std::to_string(x + w - h / 2);
    // Press, drag and release arrive together, between two frames.
    xdotool("mousemove --sync " + plusX + " " + std::to_string(y + h / 2) + " mousedown 1 mousemove --sync " + plusX +
            " " + std::to_string(y + h / 2 - 40) + " mouseup 1");
    settle();
    EXPECT_EQ(arrowCountY, 160) << "40 pixels up, 4 pixels a step";
}

TEST_F(PanelImGuiTest, SectionsFollowTheModelAndClicksOnHeaders) {
    int x, y, w, h;
    EXPECT_TRUE(panelControlRect(c.fileBrowser, x, y, w, h));
    closeFileBrowser();
    settle();
    EXPECT_FALSE(panelControlRect(c.fileBrowser, x, y, w, h)) << "a programmatic close collapses the section";

    enableDatasetControls();
    settle();
    EXPECT_TRUE(panelControlRect(c.showTfCheckbox, x, y, w, h));
    ASSERT_TRUE(click(c.backgroundRollout));
    EXPECT_TRUE(pumpUntil([this] { return !c.backgroundRollout->isOpen(); }));
    settle();
    EXPECT_FALSE(panelControlRect(c.showTfCheckbox, x, y, w, h));
}

TEST_F(PanelImGuiTest, PickingAFileInTheBrowserReportsItsName) {
    fs::path saved = fs::current_path();
    TempDir temp;
    fs::path dir = temp.path();
    std::ofstream(dir / "flow.gri") << "x";
    fs::current_path(dir);
    buildControlPanel(record);
    settle();

    int x, y, w, h;
    ASSERT_TRUE(panelFileEntryRect(1, x, y, w, h));
    clickAt(x + w / 2, y + h / 2);
    bool picked = pumpUntil([] { return !reported.empty(); });
    settle();
    fs::current_path(saved);
    ASSERT_TRUE(picked);
    EXPECT_EQ(reported, std::vector<int>{3});
    EXPECT_EQ(c.fileBrowser->get_file(), "flow.gri");
}

TEST_F(PanelImGuiTest, PanelCoversTheLeftStripAndKeepsTheScenesGlState) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_1D, texture);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_POLYGON_SMOOTH);
    const int panel = controlPanel->width();
    glViewport(panel, 0, 1024 - panel, 700);

    drawWindow();

    auto pixel = [](int x, int y) {
        std::array<unsigned char, 4> p{};
        glReadBuffer(GL_BACK);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return p;
    };
    EXPECT_NE(pixel(5, 350)[0], 255) << "panel background";
    EXPECT_NE(pixel(panel - 2, 5)[0], 255);
    EXPECT_EQ(pixel(panel, 350)[0], 255) << "graphics area";
    EXPECT_EQ(pixel(1000, 690)[0], 255);

    GLint bound = 0;
    GLint active = 0;
    GLint viewport[4] = {};
    glActiveTexture(GL_TEXTURE3);
    glGetIntegerv(GL_TEXTURE_BINDING_1D, &bound);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    EXPECT_EQ(active, GL_TEXTURE0);
    EXPECT_TRUE(glIsEnabled(GL_POLYGON_SMOOTH));
    EXPECT_EQ(viewport[0], panel);
    EXPECT_EQ(viewport[2], 1024 - panel);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDisable(GL_POLYGON_SMOOTH);
    glDeleteTextures(1, &texture);
}

}  // namespace
