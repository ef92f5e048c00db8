#include "tf/TransferFunction.h"
#include "common/MouseCodes.h"

#include "support/GlWindow.h"
#include "support/RecordingUniforms.h"
#include "support/Xvfb.h"
#include "tf/ColorChooser.h"
#include "tf/ColorMaps.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace {

class TfTextureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(openGlWindow("tf", 256, 256)); }

    void SetUp() override {
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    // The texture bound to GL_TEXTURE_1D on `unit`, read back.
    static std::vector<std::uint8_t> readBack(int unit) {
        glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit));
        std::vector<std::uint8_t> bytes(colorTableBytes, 0);
        glGetTexImage(GL_TEXTURE_1D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
        return bytes;
    }
    static std::vector<std::uint8_t> table(const TransferFunction& tf) {
        return std::vector<std::uint8_t>(tf.colorTable.begin(), tf.colorTable.end());
    }
    static GLint boundOn(int unit) {
        glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit));
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_1D, &name);
        return name;
    }

    RecordingUniforms uniforms;
    ColorChooser chooser{1.1f, 1.2f, 0.7f};
};

TEST_F(TfTextureTest, UploadCreatesTheTextureOnUnit3AndPointsTheSamplerAtIt) {
    TransferFunction tf(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, &uniforms, 0.065f, 0, false, nullptr, 0);
    EXPECT_EQ(tf.textureName, 0u);
    testing::internal::CaptureStdout();
    tf.upload();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "DEBUG: tf texture uploaded\n");
    ASSERT_NE(tf.textureName, 0u);
    EXPECT_EQ(boundOn(3), static_cast<GLint>(tf.textureName));
    EXPECT_EQ(uniforms.calls, (std::vector<std::string>{"use", "texture tex_transfer 3", "unuse"}));
    EXPECT_EQ(readBack(3), table(tf));
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 4096);
    GLint wrap = 0, minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, &wrap);
    glGetTexParameteriv(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    tf.releaseTexture();
}

TEST_F(TfTextureTest, EditsAreRebuiltUnderTheSameNameBeforeTheNextUpload) {
    TransferFunction tf(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, &uniforms, 0.065f, 1, false, nullptr, 0);
    testing::internal::CaptureStdout();
    tf.upload();
    const unsigned name = tf.textureName;
    chooser.setCurrent(ColorRGBA(255, 0, 0, 255));
    tf.handleMouse(mouse::leftButton, mouse::pressed, 4.5f, 0.13f);
    tf.handleMouse(mouse::leftButton, mouse::released, 4.5f, 0.13f);
    tf.upload();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(tf.textureName, name);
    const std::vector<std::uint8_t> bytes = readBack(3);
    EXPECT_EQ(bytes, table(tf));
    EXPECT_EQ((std::array<int, 4>{bytes[8192], bytes[8193], bytes[8194], bytes[8195]}),
              (std::array<int, 4>{255, 0, 0, 255}));
    tf.releaseTexture();
}

TEST_F(TfTextureTest, TheArrowPlotTransferFunctionUsesUnit5AndItsOwnSampler) {
    TransferFunction background(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, &uniforms, 0.065f, 0, false, nullptr, 0);
    TransferFunction arrow(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, &uniforms, 0.065f, 3, true, nullptr, 0);
    chooser.setCurrent(ColorRGBA(0, 0, 255, 255));
    arrow.points().addPoint(0.0f, 0.0f, 0.0f, 1.0f);  // a blue-to-white table, unlike the grey one
    arrow.buildColorTable();
    testing::internal::CaptureStdout();
    background.upload();
    uniforms.calls.clear();
    arrow.upload();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "DEBUG: tf texture uploaded\nDEBUG: arrow tf texture uploaded\n");
    EXPECT_EQ(uniforms.calls, (std::vector<std::string>{"use", "texture tex_tfarrow 5", "unuse"}));
    EXPECT_EQ(boundOn(5), static_cast<GLint>(arrow.textureName));
    EXPECT_EQ(boundOn(3), static_cast<GLint>(background.textureName));
    EXPECT_EQ(readBack(5), table(arrow));
    EXPECT_EQ(readBack(3), table(background));
    background.releaseTexture();
    arrow.releaseTexture();
}

TEST_F(TfTextureTest, AGlErrorAfterTheRebuildIsReportedOnStandardError) {
    TransferFunction tf(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, &uniforms, 0.065f, 0, false, nullptr, 0);
    glEnable(0x7FFF);  // leaves GL_INVALID_ENUM pending
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    tf.upload();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error while creating the transfer function texture: invalid enumerant\n");
    EXPECT_EQ(readBack(3), table(tf));  // the texture itself is intact
    tf.releaseTexture();
}

TEST_F(TfTextureTest, ColourBarShowsTheTableFromLeftToRightAndArrowBarRestoresTheShader) {
    TransferFunction tf(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, &uniforms, 0.065f, 0, false, nullptr, 0);
    tf.points().addPoint(4.0f, 1.0f, 0.0f, 0.0f);  // black to red
    tf.buildColorTable();

    glViewport(0, 0, 256, 256);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The bar spans x 2.5 .. 6.5 and y 0.25 .. 0.55.
    glOrtho(2.5, 6.5, 0.25, 0.55, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    tf.drawColorBar();
    std::array<std::uint8_t, 4> left{}, right{}, middle{};
    glReadBuffer(GL_BACK);
    glReadPixels(1, 128, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, left.data());
    glReadPixels(254, 128, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, right.data());
    glReadPixels(128, 128, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, middle.data());
    EXPECT_LE(left[0], 3);
    EXPECT_GE(right[0], 252);
    EXPECT_NEAR(middle[0], 128, 3);
    EXPECT_EQ(middle[2], 0);  // the blue background is covered
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(uniforms.calls.empty());  // fixed-function texturing for the background functions

    TransferFunction arrow(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, &uniforms, 0.065f, 3, true, nullptr, 0);
    arrow.drawColorBar();
    EXPECT_EQ(uniforms.calls, (std::vector<std::string>{"use", "int renderArrowTF 1", "int renderArrowTF 0", "unuse"}));
    tf.releaseTexture();
    arrow.releaseTexture();
}

// Published colours at evenly spaced places of each map, read back from the
// texture of a transfer function given the map: every component within 2 of
// 255. Viridis and magma are checked at their 16 published places and at 9
// more between the stops they were given; cividis at its 10 and 5 published
// places; cool-warm at every fourth entry of Moreland's 33; cubehelix at 16
// places of Green's formula with its published defaults.
TEST_F(TfTextureTest, ColourMapsFollowTheirPublishedTables) {
    const std::vector<std::pair<const char*, const char*>> published = {
        {"viridis", "440154 481A6C 472F7D 414487 39568C 31688E 2A788E 23888E 1F988B 22A884 35B779 54C568 7AD151 "
                    "A5DB36 D2E21B FDE725"},
        {"viridis", "440154 472D7B 3B528B 2C728E 21908C 27AD81 5DC863 AADC32 FDE725"},
        {"magma", "000004 0B0924 20114B 3B0F70 57157E 721F81 8C2981 A8327D C43C75 DE4968 F1605D FA7F5E FE9F6D "
                  "FEBF84 FDDEA0 FCFDBF"},
        {"magma", "000004 1C1044 4F127B 812581 B5367A E55064 FB8761 FEC287 FCFDBF"},
        {"cividis", "00204D 00336F 39486B 575C6D 707173 8A8779 A69D75 C4B56C E4CF5B FFEA46"},
        {"cividis", "00204D 414D6B 7C7B78 BCAF6F FFEA46"},
        {"cool-warm", "3B4CC0 6282EA 8DB0FE B8D0F9 DDDDDD F5C4AD F49A7B DE604D B40426"},
        {"cubehelix", "000000 160C1F 1A213E 163D4E 175A49 2B6F39 54792F 877A3A B5795E D07E93 D490C6 CAABE8 "
                      "C1CAF3 C8E4F0 E0F5F0 FFFFFF"},
        {"grey", "000000 FFFFFF"},
    };
    for (const auto& [name, hex] : published) {
        TransferFunction tf(2.5f, 0.1f, 4.0f, 0.12f, 320, &chooser, &uniforms, 0.065f, 0, false, nullptr, 0);
        applyColorMap(tf, *findColorMap(name));
        testing::internal::CaptureStdout();
        tf.upload();
        testing::internal::GetCapturedStdout();
        const std::vector<std::uint8_t> texture = readBack(3);
        std::istringstream colours(hex);
        std::vector<unsigned> expected;
        for (unsigned c; colours >> std::hex >> c;) expected.push_back(c);
        for (std::size_t k = 0; k < expected.size(); ++k) {
            const std::size_t texel = (k * (colorTableTexels - 1) + (expected.size() - 1) / 2) / (expected.size() - 1);
            for (int component = 0; component < 3; ++component) {
                const int want = static_cast<int>((expected[k] >> (16 - 8 * component)) & 0xFF);
                EXPECT_NEAR(texture[4 * texel + component], want, 2)
                    << name << " at " << k << "/" << expected.size() - 1 << ", component " << component;
            }
        }
        tf.releaseTexture();
    }
}

}  // namespace
