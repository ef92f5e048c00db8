// Timing harness, not a test: the steps of opening a 1024 x 1024 dataset
// that need an OpenGL context or the streamline library (texture upload,
// placement), and the frame time of each streamline drawing mode with about
// a thousand lines, under whatever OpenGL the display offers (llvmpipe
// under Xvfb). Disabled by default; run it with
//   tests/render_frametime_test --gtest_also_run_disabled_tests
// It prints its figures and checks only that there was something to time.

#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "render/ShaderProgram.h"
#include "streamlines/StreamlineGeometry.h"
#include "streamlines/StreamlineSet.h"
#include "support/GlWindow.h"
#include "support/TempDir.h"
#include "support/Xvfb.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const int kWidth = 784;  // the viewer's graphics area
const int kHeight = 700;

class Quiet {
public:
    Quiet() : saved_(std::cout.rdbuf(sink_.rdbuf())) {}
    ~Quiet() { std::cout.rdbuf(saved_); }

private:
    std::ostringstream sink_;
    std::streambuf* saved_;
};

double millisecondsOf(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A double gyre on [0, 2] x [0, 1] with two data channels.
std::string writeGyre(const std::string& base, int nx, int ny) {
    const float pi = 3.14159265f;
    return DatasetWriter(DatasetWriter::evenlySpaced(0, 2, nx), DatasetWriter::evenlySpaced(0, 1, ny))
        .dataChannels(2)
        .velocity([pi](float x, float y) {
            return std::array<float, 3>{-pi * std::sin(pi * x) * std::cos(pi * y),
                                        pi * std::cos(pi * x) * std::sin(pi * y), 0.0f};
        })
        .data([pi](int channel, float x, float y) {
            return channel == 1 ? std::sin(pi * x) * std::sin(pi * y) : x * y;
        })
        .write(base);
}

class FrameTime : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openGlWindow("frame time", kWidth, kHeight));
        ASSERT_EQ(chdir(QM_BINARY_DIR), 0);
        Quiet quiet;
        shader = new ShaderProgram;
        shader->load();
        // The viewer's fixed state: blending, depth test, smoothing.
        glEnable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_POLYGON_SMOOTH);
    }

    static void TearDownTestSuite() { delete shader; }

    static ShaderProgram* shader;
    TempDir dir;
};

ShaderProgram* FrameTime::shader = nullptr;

TEST_F(FrameTime, DISABLED_OpeningA1024x1024DatasetStepByStep) {
    const std::string grid = writeGyre(dir.file("open"), 1024, 1024);
    Quiet quiet;
    auto data = std::make_unique<FlowData>(shader);
    int magnitude = -1;
    const double load = millisecondsOf([&] { ASSERT_TRUE(data->load(grid, false)); });
    data->setTextureResolution(538);
    int xSlot = -1, ySlot = -1;
    const double derived = millisecondsOf([&] {
        xSlot = data->createCoordinateChannel(0);
        ySlot = data->createCoordinateChannel(1);
        magnitude = data->createMagnitudeChannel(0, 1, 2);
    });
    const double velocity = millisecondsOf([&] {
        data->createVelocityTexture(magnitude);
        glFinish();
    });
    const double channels = millisecondsOf([&] {
        data->createDataTexture1();
        data->createDataTexture2();
        glFinish();
    });
    std::unique_ptr<StreamlineSet> set;
    const double placement = millisecondsOf([&] {
        set = std::make_unique<StreamlineSet>(data.get(), xSlot, ySlot, 0.005f, 0.4f, 0.2f);
        set->computeEvenlySpaced();
    });
    std::cerr << "open 1024 x 1024, two channels (ms): load " << load << ", derived channels " << derived
              << ", velocity texture " << velocity << ", data textures " << channels << ", placement " << placement
              << " (" << set->streamlines().size() << " lines)\n";
    EXPECT_GT(set->streamlines().size(), 0u);
    set.reset();
    data.reset();
}

TEST_F(FrameTime, DISABLED_EachDrawingModeWithAboutAThousandLines) {
    const std::string grid = writeGyre(dir.file("gyre"), 257, 129);
    Quiet quiet;
    auto data = std::make_unique<FlowData>(shader);
    ASSERT_TRUE(data->load(grid, false));
    const int xSlot = data->createCoordinateChannel(0);
    const int ySlot = data->createCoordinateChannel(1);
    auto set = std::make_unique<StreamlineSet>(data.get(), xSlot, ySlot, 0.001f, 0.005f, 0.0025f);
    const double placement = millisecondsOf([&] { set->computeEvenlySpaced(); });
    size_t points = 0;
    for (const auto& line : set->streamlines()) points += line->points.size();

    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = static_cast<double>(kWidth) / kHeight;
    glOrtho(-0.7 * aspect, 0.7 * aspect, -0.7, 0.7, 0, 15);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const int frames = 10;
    auto perFrame = [&](const std::function<void()>& draw) {
        draw();  // warm-up: builds the geometry caches and the tapering distances
        glFinish();
        return millisecondsOf([&] {
                   for (int f = 0; f < frames; ++f) {
                       glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                       draw();
                       glFinish();
                   }
               }) /
               frames;
    };
    const double lines = perFrame([&] { set->drawLines(); });
    // Where the time of a line frame goes: the geometry the core builds, and
    // the smoothing of the rasteriser.
    const StreamlineView view(set->domainBox(), data->quadSize());
    const double geometry = millisecondsOf([&] {
        for (int f = 0; f < frames; ++f) EXPECT_FALSE(buildLineStrips(*set, view).empty());
    }) / frames;
    glDisable(GL_LINE_SMOOTH);
    const double unsmoothed = perFrame([&] { set->drawLines(); });
    glEnable(GL_LINE_SMOOTH);
    const double tapered = perFrame([&] { set->drawTapered(0.01f, 0.002f); });
    const double glyphs = perFrame([&] { set->drawGlyphs(); });
    const double textured = perFrame([&] { set->drawTextured(); });
    std::cerr << set->streamlines().size() << " lines, " << points << " points, placed in " << placement
              << " ms; ms per frame (" << kWidth << " x " << kHeight << "): lines " << lines << ", tapered "
              << tapered << " (" << tapered / lines << " x lines), glyphs " << glyphs << ", textured " << textured
              << "; of a line frame: geometry " << geometry << ", without line smoothing " << unsmoothed << "\n";
    EXPECT_GT(set->streamlines().size(), 500u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    set.reset();
    data.reset();
}

}  // namespace
