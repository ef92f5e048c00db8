#include "tf/gl/TfEditor.h"

#include "support/GlWindow.h"
#include "support/RecordingUniforms.h"
#include "support/Xvfb.h"
#include "tf/TransferFunctionSet.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace {

using Pixel = std::array<int, 3>;

// The editor drawn into a 1024 x 700 window with the start-up depth state.
class TfEditorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(openGlWindow("tf editor", 1024, 700)); }

    void draw() {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        drawTfEditor(area, *set.chooser, *set[0]);
    }
    // Colour at an editor position.
    Pixel at(float ex, float ey) const {
        const int x = static_cast<int>(ex / editorViewWidth * 1024.0f);
        const int y = static_cast<int>(ey / editorViewHeight * static_cast<float>(tfEditorHeight));
        std::array<std::uint8_t, 4> p{};
        glReadBuffer(GL_BACK);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return {p[0], p[1], p[2]};
    }
    static void expectNear(const Pixel& actual, const Pixel& expected, int tolerance, const char* what) {
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << what << " component " << i;
    }

    EditorArea area{0, 0, 1024, 700};
    RecordingUniforms uniforms;
    TransferFunctionSet set = createTransferFunctions(nullptr, 0, 5, &uniforms);
};

TEST_F(TfEditorTest, DrawsStripBarHistogramBoxAndChooserWhereTheirUnitsSay) {
    draw();
    EXPECT_EQ(tfEditorHeight, 141);
    EXPECT_NEAR(editorViewWidth, 10.17f, 0.005f);
    EXPECT_FLOAT_EQ(editorViewHeight, 1.4f);

    expectNear(at(9.0f, 0.7f), {204, 204, 204}, 1, "background");
    expectNear(at(4.5f, 0.13f), {255, 255, 255}, 0, "point strip");
    expectNear(at(2.51f, 0.4f), {0, 0, 0}, 3, "colour bar, left");
    expectNear(at(6.49f, 0.4f), {255, 255, 255}, 3, "colour bar, right");
    expectNear(at(4.5f, 0.4f), {127, 127, 127}, 3, "colour bar, middle");
    expectNear(at(4.5f, 0.9f), {102, 102, 102}, 1, "histogram box without bars");
    expectNear(at(1.8f, 1.05f), {127, 127, 127}, 1, "colour preview");
    expectNear(at(0.7f, 0.2f), {243, 243, 243}, 3, "brightness bar, 0.05 from its white end");
    const Pixel nearRed = at(0.72f, 0.44f);
    EXPECT_GT(nearRed[0], 200);
    EXPECT_LT(nearRed[1], 60);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TfEditorTest, PointerEventsInWindowPixelsEditTheActiveFunctionAndUploadIt) {
    draw();
    const int y = 700 - static_cast<int>(std::lround(0.13f / editorViewHeight * 141.0f));
    const int redX = static_cast<int>(std::lround(set.chooser->redCorner.x / editorViewWidth * 1024.0f)) + 2;
    const int redY = 700 - static_cast<int>(std::lround(set.chooser->redCorner.y / editorViewHeight * 141.0f)) - 1;
    const int stripX = static_cast<int>(std::lround((2.5f + 2.0f) / editorViewWidth * 1024.0f));
    testing::internal::CaptureStdout();
    tfEditorMouse(0, 0, redX, redY, area, *set.chooser, *set[0]);
    tfEditorMouse(0, 1, redX, redY, area, *set.chooser, *set[0]);
    tfEditorMouse(0, 0, stripX, y, area, *set.chooser, *set[0]);
    tfEditorMouse(0, 1, stripX, y, area, *set.chooser, *set[0]);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "DEBUG: tf texture uploaded\nDEBUG: tf texture uploaded\n"
              "DEBUG: tf texture uploaded\nDEBUG: tf texture uploaded\n");
    ASSERT_EQ(set[0]->points().count(), 3);

    draw();
    const Pixel marker = at(2.5f + set[0]->points().first()->next->position, 0.13f);
    EXPECT_GT(marker[0], 200);
    EXPECT_LT(marker[1], 60);
    const Pixel bar = at(2.5f + 2.0f, 0.4f);
    EXPECT_GT(bar[0], 200);
    EXPECT_LT(bar[1], 60);
}

// Dark label pixels of the editor in a band of editor units, for an area
// `width` pixels wide drawn at the window's lower left.
int labelInk(int width, float x0, float x1, float y0, float y1) {
    const int px0 = static_cast<int>(x0 / editorViewWidth * width);
    const int px1 = static_cast<int>(x1 / editorViewWidth * width);
    const int py0 = static_cast<int>(y0 / editorViewHeight * tfEditorHeight);
    const int py1 = static_cast<int>(y1 / editorViewHeight * tfEditorHeight);
    int ink = 0;
    for (int y = py0; y < py1; ++y)
        for (int x = px0; x < px1; ++x) {
            std::array<std::uint8_t, 4> p{};
            glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
            if (p[0] < 60 && p[1] < 60 && p[2] < 60) ++ink;
        }
    return ink;
}

TEST_F(TfEditorTest, ThePreviewLabelStopsShortOfTheTransferFunction) {
    // The usual editor: "color preview" in full, ending about 2.3 units in.
    draw();
    glReadBuffer(GL_BACK);
    EXPECT_GT(labelInk(1024, 2.1f, 2.3f, 0.72f, 0.9f), 5);
    // A 400 x 400 area leaves the editor 81 rows: at 58 pixels a unit the
    // full label would reach 2.77; "preview" ends before the strip at 2.5.
    area = EditorArea{0, 0, 400, 400};
    draw();
    ASSERT_EQ(tfEditorHeight, 81);
    EXPECT_GT(labelInk(400, 1.7f, 2.3f, 0.72f, 0.9f), 20);
    EXPECT_EQ(labelInk(400, 2.35f, 2.49f, 0.72f, 0.9f), 0);
}

}  // namespace
