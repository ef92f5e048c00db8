#include "tf/EditorView.h"
#include "common/MouseCodes.h"

#include "tf/ColorChooser.h"
#include "tf/TransferFunction.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(EditorView, AWindow1024By700GivesA141RowEditorOf10Point17By1Point4Units) {
    const EditorView view = computeEditorView(1024, 700);
    EXPECT_EQ(view.editorHeight, 141);
    EXPECT_NEAR(view.viewWidth, 10.17f, 0.005f);
    EXPECT_FLOAT_EQ(view.viewHeight, 1.4f);
    EXPECT_FLOAT_EQ(static_cast<float>(view.right - view.left), view.viewWidth);
    EXPECT_FLOAT_EQ(static_cast<float>(view.bottom), -0.7f);
    EXPECT_FLOAT_EQ(static_cast<float>(view.top), 0.7f);
}

TEST(EditorView, ANarrowAreaKeepsTheWidthAt1Point4AndStretchesTheHeight) {
    const EditorView view = computeEditorView(70, 700);  // 70 columns over 141 rows
    EXPECT_FLOAT_EQ(view.viewWidth, 1.4f);
    EXPECT_NEAR(view.viewHeight, 1.4f * 141.0f / 70.0f, 1e-5f);
    EXPECT_FLOAT_EQ(static_cast<float>(view.left), -0.7f);
    EXPECT_NEAR(view.top - view.bottom, view.viewHeight, 1e-5);
}

struct PointerTest : ::testing::Test {
    EditorArea area{0, 0, 1024, 700};
    ColorChooser chooser{1.1f, 1.2f, 0.7f};
    TransferFunction tf{2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, nullptr, 0.065f, 0, false, nullptr, 0};

    void SetUp() override {
        const EditorView view = computeEditorView(area.windowWidth, area.windowHeight);
        tfEditorHeight = view.editorHeight;
        editorViewWidth = view.viewWidth;
        editorViewHeight = view.viewHeight;
    }
    void TearDown() override {
        tfEditorHeight = 0;
        editorViewWidth = 0.0f;
        editorViewHeight = 0.0f;
    }
    // Window pixel of an editor position (GLUT y grows downwards).
    int pixelX(float ex) const { return static_cast<int>(std::lround(ex / editorViewWidth * 1024.0f)); }
    int pixelY(float ey) const { return 700 - static_cast<int>(std::lround(ey / editorViewHeight * 141.0f)); }
    void click(int button, float ex, float ey) {
        routeEditorMouse(button, mouse::pressed, pixelX(ex), pixelY(ey), area, chooser, tf);
        routeEditorMouse(button, mouse::released, pixelX(ex), pixelY(ey), area, chooser, tf);
    }
};

TEST_F(PointerTest, WindowPixelsMapOntoEditorUnitsFromTheBottomLeft) {
    float tx = -1.0f, ty = -1.0f;
    ASSERT_TRUE(windowToEditor(0, 700, area, tx, ty));
    EXPECT_EQ(tx, 0.0f);
    EXPECT_EQ(ty, 0.0f);
    ASSERT_TRUE(windowToEditor(1024, 559, area, tx, ty));
    EXPECT_FLOAT_EQ(tx, editorViewWidth);
    EXPECT_FLOAT_EQ(ty, 1.4f);

    // The panel's columns are left of viewportX.
    EditorArea shifted{250, 0, 774, 700};
    ASSERT_TRUE(windowToEditor(250 + 387, 700, shifted, tx, ty));
    EXPECT_FLOAT_EQ(tx, editorViewWidth / 2.0f);
}

TEST_F(PointerTest, NothingIsMappedBeforeTheEditorHasBeenDrawnOrWithoutColumns) {
    float tx = 0.0f, ty = 0.0f;
    EditorArea empty{0, 0, 0, 700};
    EXPECT_FALSE(windowToEditor(10, 690, empty, tx, ty));
    tfEditorHeight = 0;
    EXPECT_FALSE(windowToEditor(10, 690, area, tx, ty));
    EXPECT_FALSE(routeEditorMouse(0, 1, 10, 690, area, chooser, tf));
    EXPECT_EQ(tf.points().count(), 2);
}

TEST_F(PointerTest, AClickOnTheStripAddsAPointInTheColourPickedBefore) {
    click(mouse::leftButton, chooser.redCorner.x + 0.01f, chooser.redCorner.y + 0.005f);
    EXPECT_GT(chooser.current().redByte, 240);
    EXPECT_LT(chooser.current().greenByte, 20);
    click(mouse::leftButton, 2.5f + 2.0f, 0.13f);
    ASSERT_EQ(tf.points().count(), 3);
    const TfPoint* added = tf.points().first()->next.get();
    EXPECT_NEAR(added->position, 2.0f, 0.01f);
    EXPECT_EQ(added->color.redByte, chooser.current().redByte);

    click(mouse::leftButton, chooser.barLeft + chooser.barWidth, chooser.barBottom + 0.07f);
    EXPECT_LE(chooser.current().redByte, 1);
    EXPECT_EQ(chooser.current().redByte, chooser.current().blueByte);

    // Outside the chooser and the strip: no colour change, no point.
    click(mouse::leftButton, 2.0f, 0.8f);
    EXPECT_LE(chooser.current().redByte, 1);
    EXPECT_EQ(tf.points().count(), 3);
}

TEST_F(PointerTest, MotionCarriesTheLastButtonAndStateSoADragMovesThePoint) {
    click(mouse::leftButton, 2.5f + 2.0f, 0.13f);
    const float start = tf.points().first()->next->position;
    const int left = mouse::leftButton;
    routeEditorMouse(left, mouse::pressed, pixelX(2.5f + start), pixelY(0.13f), area, chooser, tf);
    routeEditorMotion(left, mouse::pressed, pixelX(2.5f + 3.0f), pixelY(0.5f), area, chooser, tf);
    EXPECT_NEAR(tf.points().first()->next->position, 3.0f, 0.01f);
    routeEditorMouse(left, mouse::released, pixelX(2.5f + 3.0f), pixelY(0.5f), area, chooser, tf);
    EXPECT_FALSE(tf.dragging);
    EXPECT_EQ(tf.points().count(), 3);
}

}  // namespace
