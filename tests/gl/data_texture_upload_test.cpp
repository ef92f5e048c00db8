// The data textures as OpenGL holds them after an upload: read back with
// glGetTexImage and compared with the texel buffers the core computes, with
// their units, sizes, parameters and console lines.

#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "data/TextureBuffers.h"
#include "support/GlWindow.h"
#include "support/RecordingUniforms.h"
#include "support/TempDir.h"
#include "support/Xvfb.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

GLint boundOn(int unit) {
    glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint levelParameter(GLuint texture, int level, GLenum parameter) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    return value;
}

GLint parameter(GLuint texture, GLenum name) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

// Level 0 of a texture, `components` floats per texel, rows from texel row 0.
std::vector<float> readBack(GLuint texture, GLenum format, int components) {
    const int w = levelParameter(texture, 0, GL_TEXTURE_WIDTH);
    const int h = levelParameter(texture, 0, GL_TEXTURE_HEIGHT);
    std::vector<float> texels(static_cast<size_t>(w) * h * components, -1.0f);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_FLOAT, texels.data());
    return texels;
}

// The rows 0..size.height-1 and columns 0..size.width-1 of a texture read
// back with `stride` texels per row.
std::vector<float> dataArea(const std::vector<float>& texels, int stride, TextureSize size, int components) {
    std::vector<float> area;
    for (int r = 0; r < size.height; ++r) {
        const auto row = texels.begin() + static_cast<long>(r) * stride * components;
        area.insert(area.end(), row, row + static_cast<long>(size.width) * components);
    }
    return area;
}

class DataTextureUpload : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(openGlWindow("textures", 64, 64)); }

    void SetUp() override {
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    void TearDown() override {
        if (flow) {
            testing::internal::CaptureStdout();
            flow.reset();
            testing::internal::GetCapturedStdout();
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // nx x ny nodes on [0, 3] x [0, 1]; velocity x grows with y and
    // velocity y with x, so the texture's orientation shows; two data
    // channels. Loaded quietly, with the opener's derived channels.
    void load(int nx, int ny) {
        const std::string grid =
            DatasetWriter(DatasetWriter::evenlySpaced(0, 3, nx), DatasetWriter::evenlySpaced(0, 1, ny))
                .dataChannels(2)
                .velocity([](float x, float y) {
                    return std::array<float, 3>{y, x * x, 0.5f};
                })
                .data([](int channel, float x, float y) { return channel == 1 ? x + y : x * y; })
                .write(dir.file("flow"));
        flow = std::make_unique<FlowData>(&uniforms);
        testing::internal::CaptureStdout();
        ASSERT_TRUE(flow->load(grid, false));
        flow->createCoordinateChannel(0);
        flow->createCoordinateChannel(1);
        magnitudeSlot = flow->createMagnitudeChannel(0, 1, 2);
        testing::internal::GetCapturedStdout();
        uniforms.calls.clear();
    }

    TempDir dir;
    RecordingUniforms uniforms;
    std::unique_ptr<FlowData> flow;
    int magnitudeSlot = -1;
};

TEST_F(DataTextureUpload, VelocityTextureHoldsTheCoreTexelsOnUnit0) {
    load(7, 4);
    flow->setTextureResolution(40);  // 40 / 7 = 5 texels per node: 35 x 20
    const TextureSize size = flow->textureDataSize();
    ASSERT_EQ(size, (TextureSize{35, 20}));

    testing::internal::CaptureStdout();
    flow->createVelocityTexture(magnitudeSlot);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Debuging: texture velocity: 35 x 20\ntexture velocity erzeugt and uploaded\n");
    EXPECT_EQ(uniforms.calls, (std::vector<std::string>{"use", "texture tex_velocity 0", "unuse"}));

    const GLuint texture = flow->velocityTexture();
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(boundOn(0), static_cast<GLint>(texture));
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_WIDTH), 35);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_HEIGHT), 20);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA32F_ARB);
    EXPECT_EQ(levelParameter(texture, 1, GL_TEXTURE_WIDTH), 0) << "one mipmap level only";
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    GLint envMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    EXPECT_EQ(envMode, GL_REPLACE);

    const std::vector<float> texels = readBack(texture, GL_RGBA, 4);
    const std::vector<float> expected =
        velocityTexels(flow->channel(0), flow->channel(1), flow->channel(2), flow->channel(magnitudeSlot), size);
    EXPECT_EQ(texels, expected);
    // Texel row 0 is the top of the grid (largest y, so velocity x = 1), the
    // last row its bottom; column 0 its left (velocity y = 0).
    EXPECT_FLOAT_EQ(texels[0], 1.0f);
    EXPECT_FLOAT_EQ(texels[(19 * 35) * 4], 0.0f);
    EXPECT_FLOAT_EQ(texels[1], 0.0f);
    EXPECT_FLOAT_EQ(texels[34 * 4 + 1], 1.0f);

    // Building it again replaces the texture.
    testing::internal::CaptureStdout();
    flow->createVelocityTexture(magnitudeSlot);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_TRUE(glIsTexture(flow->velocityTexture()));
}

TEST_F(DataTextureUpload, DataTexturesGoToUnit2AndTheSecondStaysBound) {
    load(6, 5);
    flow->setTextureResolution(30);  // 5 texels per node: 30 x 25
    const TextureSize size = flow->textureDataSize();
    testing::internal::CaptureStdout();
    flow->createVelocityTexture(magnitudeSlot);
    testing::internal::GetCapturedStdout();
    uniforms.calls.clear();

    testing::internal::CaptureStdout();
    flow->createDataTexture1();
    flow->createDataTexture2();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Debuging: texture data one channel 3 created\nDebuging: texture data two channel 4 created\n");
    EXPECT_TRUE(uniforms.calls.empty()) << "building sets no uniform";
    const GLuint one = flow->dataTexture1();
    const GLuint two = flow->dataTexture2();
    ASSERT_NE(one, 0u);
    ASSERT_NE(two, 0u);
    EXPECT_EQ(boundOn(2), static_cast<GLint>(two));
    EXPECT_EQ(boundOn(0), static_cast<GLint>(flow->velocityTexture()));
    EXPECT_EQ(boundOn(1), 0);

    glActiveTexture(GL_TEXTURE2);
    EXPECT_EQ(levelParameter(one, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_LUMINANCE32F_ARB);
    EXPECT_EQ(readBack(one, GL_LUMINANCE, 1), luminanceTexels(flow->channel(3), size));
    EXPECT_EQ(readBack(two, GL_LUMINANCE, 1), luminanceTexels(flow->channel(4), size));
    EXPECT_EQ(parameter(two, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(two, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);

    testing::internal::CaptureStdout();
    flow->bindDataTexture1();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Debuging: upload channel 3\n");
    EXPECT_EQ(boundOn(2), static_cast<GLint>(one));
    testing::internal::CaptureStdout();
    flow->bindDataTexture2();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Debuging: upload channel 4\n");
    EXPECT_EQ(boundOn(2), static_cast<GLint>(two));
    EXPECT_EQ(uniforms.calls,
              (std::vector<std::string>{"use", "texture tex_data 2", "unuse", "use", "texture tex_data 2", "unuse"}));

    // The dataset deletes its textures with itself.
    testing::internal::CaptureStdout();
    flow.reset();
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(glIsTexture(one));
    EXPECT_FALSE(glIsTexture(two));
}

TEST_F(DataTextureUpload, WithoutNonPowerOfTwoTexturesTheDataFillsAPowerOfTwoTextureFromItsOrigin) {
    // A 100 x 50 grid at the opener's resolution: 500 x 250 texels of data.
    load(100, 50);
    flow->setTextureResolution(538);
    const TextureSize size = flow->textureDataSize();
    ASSERT_EQ(size, (TextureSize{500, 250}));

    const GLboolean supported = __GLEW_ARB_texture_non_power_of_two;
    __GLEW_ARB_texture_non_power_of_two = GL_FALSE;
    testing::internal::CaptureStdout();
    flow->createVelocityTexture(magnitudeSlot);
    flow->createDataTexture1();
    const std::string out = testing::internal::GetCapturedStdout();
    __GLEW_ARB_texture_non_power_of_two = supported;

    EXPECT_EQ(out,
              "Debuging: texture velocity: 512 x 256\ntexture velocity erzeugt and uploaded\n"
              "Debuging: texture data one channel 3 created\n");
    const GLuint velocity = flow->velocityTexture();
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(levelParameter(velocity, 0, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(levelParameter(velocity, 0, GL_TEXTURE_HEIGHT), 256);
    EXPECT_EQ(dataArea(readBack(velocity, GL_RGBA, 4), 512, size, 4),
              velocityTexels(flow->channel(0), flow->channel(1), flow->channel(2), flow->channel(magnitudeSlot), size));
    const GLuint data = flow->dataTexture1();
    glActiveTexture(GL_TEXTURE2);
    EXPECT_EQ(levelParameter(data, 0, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(levelParameter(data, 0, GL_TEXTURE_HEIGHT), 256);
    EXPECT_EQ(dataArea(readBack(data, GL_LUMINANCE, 1), 512, size, 1), luminanceTexels(flow->channel(3), size));
}

}  // namespace
