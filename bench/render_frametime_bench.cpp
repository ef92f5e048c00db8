// The steps of opening a 1024 x 1024 dataset that need an OpenGL context or
// the streamline library (texture upload, placement), and the frame time of
// each streamline drawing mode with about a thousand lines, drawn into the
// window and multisampled off-screen, under whatever
// OpenGL the display offers: llvmpipe in the private Xvfb that the test
// support starts. Not part of ctest; run build/bench/render_frametime_bench.

#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "data/TextureUnits.h"
#include "render/OffscreenTarget.h"
#include "render/ShaderProgram.h"
#include "streamlines/StreamlineGeometry.h"
#include "streamlines/StreamlineSet.h"
#include "streamlines/gl/StreamlineBuffers.h"
#include "support/ConsoleCapture.h"
#include "support/GlWindow.h"
#include "support/TempDir.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const int kWidth = 784;  // the viewer's graphics area
const int kHeight = 700;

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
        .data(
            [pi](int channel, float x, float y) { return channel == 1 ? std::sin(pi * x) * std::sin(pi * y) : x * y; })
        .write(base);
}

// The window, the viewer's shader program and fixed state (blending, depth
// test, smoothing), and the datasets' folder, made on first use.
struct Scene {
    TempDir dir;
    std::unique_ptr<ShaderProgram> shader;
    std::unique_ptr<FlowData> gyre;  // 257 x 129, for the drawing modes
    std::unique_ptr<StreamlineSet> lines;
    double placement = 0.0;
    bool fieldTextures = false;
};

std::unique_ptr<Scene> scene;

Scene* openScene() {
    if (scene) return scene.get();
    if (!openGlWindow("frame time", kWidth, kHeight)) return nullptr;
    if (chdir(QM_BINARY_DIR) != 0) return nullptr;  // the shaders are read by relative path
    scene = std::make_unique<Scene>();
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    scene->shader = std::make_unique<ShaderProgram>();
    scene->shader->load();
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);
    return scene.get();
}

// The placed lines for the drawing modes, and the projection they are drawn with.
StreamlineSet* placedLines(Scene& s) {
    if (s.lines) return s.lines.get();
    const std::string grid = writeGyre(s.dir.file("gyre"), 257, 129);
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    s.gyre = std::make_unique<FlowData>(s.shader.get());
    if (!s.gyre->load(grid, false)) return nullptr;
    const int xSlot = s.gyre->createCoordinateChannel(0);
    const int ySlot = s.gyre->createCoordinateChannel(1);
    s.lines = std::make_unique<StreamlineSet>(s.gyre.get(), xSlot, ySlot, 0.001f, 0.005f, 0.0025f);
    s.placement = millisecondsOf([&] { s.lines->computeEvenlySpaced(); });

    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = static_cast<double>(kWidth) / kHeight;
    glOrtho(-0.7 * aspect, 0.7 * aspect, -0.7, 0.7, 0, 15);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return s.lines.get();
}

// The field quad's textures and uniforms, as the opener leaves them.
bool fieldReady(Scene& s) {
    if (s.fieldTextures) return true;
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    s.gyre->setTextureResolution(538);
    const int magnitude = s.gyre->createMagnitudeChannel(0, 1, 2);
    s.gyre->createVelocityTexture(magnitude);
    // Samplers of different kinds may not share a unit: the transfer
    // functions' tables, which this scene does not make, get theirs.
    s.shader->use();
    s.shader->setTexture("tex_transfer", textureUnit::backgroundTf);
    s.shader->setTexture("tex_tfarrow", textureUnit::arrowTf);
    s.shader->setTexture("tex_arrow", textureUnit::arrowImage);
    s.shader->unuse();
    s.fieldTextures = true;
    return glGetError() == GL_NO_ERROR;
}

void BM_OpeningA1024x1024DatasetStepByStep(benchmark::State& state) {
    Scene* s = openScene();
    if (!s) return state.SkipWithError("no GL window");
    const std::string grid = writeGyre(s->dir.file("open"), 1024, 1024);
    for (auto _ : state) {
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        auto data = std::make_unique<FlowData>(s->shader.get());
        bool loaded = false;
        const double load = millisecondsOf([&] { loaded = data->load(grid, false); });
        if (!loaded) return state.SkipWithError("load failed");
        data->setTextureResolution(538);
        int xSlot = -1, ySlot = -1, magnitude = -1;
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
        StreamlineSet set(data.get(), xSlot, ySlot, 0.005f, 0.4f, 0.2f);
        const double placement = millisecondsOf([&] { set.computeEvenlySpaced(); });
        if (set.streamlines().empty()) return state.SkipWithError("no line placed");
        state.counters["load_ms"] = load;
        state.counters["derived_ms"] = derived;
        state.counters["velocity_tex_ms"] = velocity;
        state.counters["data_tex_ms"] = channels;
        state.counters["placement_ms"] = placement;
        state.counters["lines"] = static_cast<double>(set.streamlines().size());
    }
}
BENCHMARK(BM_OpeningA1024x1024DatasetStepByStep)->Iterations(1)->Unit(benchmark::kMillisecond);

// One frame of a drawing mode from its vertex buffer: clear, draw, wait for
// the rasteriser; with `field` the field quad under the lines, as the viewer
// draws. With `samples` the frame is drawn multisampled off-screen and copied
// into the window, as the viewer's "Smooth lines" does.
void BM_Frame(benchmark::State& state, StreamlineMode mode, bool smooth, bool field, int samples, bool thinned = true) {
    Scene* s = openScene();
    StreamlineSet* set = s ? placedLines(*s) : nullptr;
    if (!set) return state.SkipWithError("no GL window or no dataset");
    if (field && !fieldReady(*s)) return state.SkipWithError("no field textures");
    OffscreenTarget target;
    if (samples > 0 && !target.allocate(kWidth, kHeight, samples)) return state.SkipWithError("no multisampling");
    if (!smooth) glDisable(GL_LINE_SMOOTH);
    StreamlineBuffers buffers;
    StreamlineLook look;
    look.mode = mode;
    look.lineWidthMax = 0.01f;
    look.lineWidthMin = 0.002f;
    look.tolerance = thinned ? pixelTolerance() : 0.0f;
    const double build = millisecondsOf([&] {
        buffers.draw(*set, look);  // builds the geometry (and the tapering distances) once
        glFinish();
    });
    for (auto _ : state) {
        if (samples > 0) target.bind();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (field) s->gyre->drawFieldQuad();
        buffers.draw(*set, look);
        if (samples > 0) target.copyToWindow(0, 0);
        glFinish();
    }
    glEnable(GL_LINE_SMOOTH);
    if (glGetError() != GL_NO_ERROR) state.SkipWithError("GL error");
    if (buffers.builds() != 1) state.SkipWithError("the geometry was built again");
    std::size_t points = 0;
    std::size_t drawn = 0;
    const StreamlineView view(set->domainBox(), s->gyre->quadSize());
    for (const auto& line : set->streamlines()) {
        points += line->points.size();
        drawn += drawnPoints(*line, view, look.tolerance).size();  // as lines mode draws them
    }
    state.counters["line_vertices"] = static_cast<double>(drawn);
    state.counters["lines"] = static_cast<double>(set->streamlines().size());
    state.counters["points"] = static_cast<double>(points);
    state.counters["placement_ms"] = s->placement;
    state.counters["first_frame_ms"] = build;
    buffers.release();
}
BENCHMARK_CAPTURE(BM_Frame, lines, StreamlineMode::Evenly, true, false, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, tapered, StreamlineMode::Tapering, true, false, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, glyphs, StreamlineMode::GlyphMapping, true, false, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, textured, StreamlineMode::TextureGeneration, true, false, 0)->Unit(benchmark::kMillisecond);
// Where the time of a line frame goes: the rasteriser's smoothing, and the
// field under the lines.
BENCHMARK_CAPTURE(BM_Frame, lines_unsmoothed, StreamlineMode::Evenly, false, false, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, lines_over_field, StreamlineMode::Evenly, true, true, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, tapered_over_field, StreamlineMode::Tapering, true, true, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, textured_over_field, StreamlineMode::TextureGeneration, true, true, 0)
    ->Unit(benchmark::kMillisecond);
// Every point drawn, none left out within a fraction of a pixel.
BENCHMARK_CAPTURE(BM_Frame, lines_every_point, StreamlineMode::Evenly, true, false, 0, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, tapered_every_point, StreamlineMode::Tapering, true, false, 0, false)
    ->Unit(benchmark::kMillisecond);
// The same frames multisampled (4 samples) off-screen and copied in.
BENCHMARK_CAPTURE(BM_Frame, lines_multisampled, StreamlineMode::Evenly, true, false, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, tapered_multisampled, StreamlineMode::Tapering, true, false, 4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, glyphs_multisampled, StreamlineMode::GlyphMapping, true, false, 4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, textured_multisampled, StreamlineMode::TextureGeneration, true, false, 4)
    ->Unit(benchmark::kMillisecond);

void BM_LineGeometry(benchmark::State& state) {
    Scene* s = openScene();
    StreamlineSet* set = s ? placedLines(*s) : nullptr;
    if (!set) return state.SkipWithError("no GL window or no dataset");
    const StreamlineView view(set->domainBox(), s->gyre->quadSize());
    for (auto _ : state) benchmark::DoNotOptimize(buildLineStrips(*set, view));
}
BENCHMARK(BM_LineGeometry)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The lines and the dataset go before the window; the channels report their deletion.
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    if (scene) {
        scene->lines.reset();
        scene->gyre.reset();
    }
    scene.reset();
    return 0;
}
