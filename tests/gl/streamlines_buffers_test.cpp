// Streamlines drawn from a vertex buffer: the same pixels as the geometry
// sent vertex by vertex, built once per placement and look, however many
// frames draw it.

#include "streamlines/gl/StreamlineBuffers.h"

#include "streamlines/StreamlineSet.h"
#include "support/AnalyticFlow.h"
#include "support/ConsoleCapture.h"
#include "support/GlWindow.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr int kSide = 200;

std::vector<unsigned char> frame(const std::function<void()>& draw) {
    glClearColor(0.0f, 0.0f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    std::vector<unsigned char> pixels(kSide * kSide * 3);
    glReadPixels(0, 0, kSide, kSide, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int litPixels(const std::vector<unsigned char>& pixels) {
    int lit = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 3) lit += pixels[i] > 128;
    return lit;
}

// The blocks as the scene once sent them, vertex by vertex in the style's colour.
void drawImmediately(GLenum primitive, const std::vector<VertexBlock>& blocks, const LineStyle& style) {
    for (const VertexBlock& block : blocks) {
        glBegin(primitive);
        for (const ViewVertex& v : block) {
            const std::array<float, 3> c = style.colorAt(v.value);
            glColor3f(c[0], c[1], c[2]);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
}

TEST(StreamlineBuffers, DrawTheImmediatePixelsAndBuildOncePerPlacementAndLook) {
    ASSERT_TRUE(openGlWindow("buffers", kSide, kSide));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.7, 0.7, -0.7, 0.7, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    AnalyticFlow flow = makeAnalyticFlow(FlowBox{33, 33, 0.0f, 1.0f, 0.0f, 1.0f}, analytic::rotation(0.5, 0.5));
    StreamlineSet set(flow.data.get(), flow.xSlot, flow.ySlot, 0.005f, 0.08f, 0.04f);
    ConsoleCapture quiet;
    set.computeEvenlySpaced();
    ASSERT_GT(set.streamlines().size(), 3u);
    const StreamlineView view(set.domainBox(), flow.data->quadSize());

    StreamlineBuffers buffers;
    StreamlineLook look;
    const std::vector<unsigned char> lines = frame([&] { buffers.draw(set, look); });
    EXPECT_GT(litPixels(lines), 300);
    EXPECT_EQ(lines, frame([&] { drawImmediately(GL_LINE_STRIP, buildLineStrips(set, view), look.style); }));

    look.mode = StreamlineMode::Tapering;
    const std::vector<unsigned char> bands = frame([&] { buffers.draw(set, look); });
    const std::vector<VertexBlock> quads =
        buildTaperedQuads(set, view, set.nearestOtherDistances(), look.lineWidthMax, look.lineWidthMin, nullptr);
    EXPECT_EQ(bands, frame([&] { drawImmediately(GL_QUADS, quads, look.style); }));
    EXPECT_GT(litPixels(bands), litPixels(lines));

    // Further frames of the same lines and look reuse the buffer; a new
    // placement or another look build it again.
    EXPECT_EQ(buffers.builds(), 2);
    for (int i = 0; i < 3; ++i) buffers.draw(set, look);
    EXPECT_EQ(buffers.builds(), 2);
    set.computeEvenlySpaced();
    buffers.draw(set, look);
    EXPECT_EQ(buffers.builds(), 3);
    look.lineWidthMax = 0.05f;
    buffers.draw(set, look);
    EXPECT_EQ(buffers.builds(), 4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
