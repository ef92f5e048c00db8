// Saving a screenshot in a GL window of its own (no dataset): errors that
// drawing left in GL's error flags are reported but do not fail the save,
// and the file is written through the safe writer.

#include "app/gl/Globals.h"
#include "app/gl/Screenshot.h"
#include "render/Camera.h"
#include "support/GlWindow.h"
#include "support/TempDir.h"
#include "support/Viewer.h"

#include <GL/glew.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

class ScreenshotSave : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openGlWindow("screenshot", 300, 200));
        ilInit();
        ilEnable(IL_ORIGIN_SET);
        ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
        camera = std::make_unique<Camera>();
        viewportX = 0;
        viewportY = 0;
        windowWidth = 300;
        windowHeight = 200;
    }
};

TEST_F(ScreenshotSave, ErrorsLeftByDrawingAreReportedAndTheFrameIsStillSaved) {
    const TempDir dir;
    const std::string name = dir.file("shot.png");
    glEnable(0x7fff);  // not a capability: GL_INVALID_ENUM stays in the flag

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool saved = saveScreenshot(name, true);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(saved) << err;
    EXPECT_EQ(out, "- Saving screenshot to '" + name + "' ...\n- Screenshot saved.\n");
    EXPECT_EQ(err, "OpenGL Error: invalid enumerant\n");
    const Image image = loadPng(name);
    EXPECT_EQ(image.width, 300);
    EXPECT_EQ(image.height, 200);
}

TEST_F(ScreenshotSave, ANumberedNameIsNeverWrittenOverAndTheReasonIsGiven) {
    const TempDir dir;
    const std::string name = dir.file("Quillmere0000.png");
    std::ofstream(name) << "kept";

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool saved = saveScreenshot(name, false);
    testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_FALSE(saved);
    EXPECT_EQ(err, "Unable to save image\ncannot write '" + name + "': it exists\n");
    EXPECT_EQ(readFile(name), "kept");
}

}  // namespace
