#pragma once

// Small analytic datasets for the streamline tests and benchmarks: a uniform
// rectilinear grid whose velocity comes from a function of the position.
// FlowData fills its grid only from files, so the field is written to a
// temporary grid/data file pair and loaded through FlowData::load, quietly.
// Header-only so that the benchmarks (which do not link the test support
// library) can use it too.

#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct Velocity {
    float x;
    float y;
};

using VelocityField = std::function<Velocity(double x, double y)>;

struct FlowBox {
    int nx;
    int ny;
    float x0;
    float x1;
    float y0;
    float y1;
};

struct AnalyticFlow {
    std::unique_ptr<FlowData> data;
    int xSlot = -1;
    int ySlot = -1;
    int magnitudeSlot = -1;

    AnalyticFlow() = default;
    AnalyticFlow(AnalyticFlow&&) = default;
    AnalyticFlow& operator=(AnalyticFlow&&) = default;
    // The channels report their deletion; tests have no use for the lines.
    ~AnalyticFlow() {
        if (!data) return;
        ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
        data.reset();
    }
};

namespace analytic {

inline float nodeCoordinate(float a, float b, int i, int n) {
    if (i == n - 1) return b;
    return static_cast<float>(static_cast<double>(a) + (static_cast<double>(b) - a) * i / (n - 1));
}

inline std::vector<float> nodeCoordinates(float a, float b, int n) {
    std::vector<float> values;
    for (int i = 0; i < n; ++i) values.push_back(nodeCoordinate(a, b, i, n));
    return values;
}

// Writes base.gri and base.00000.dat with no data channels; returns the grid file's path.
inline std::string writeDataset(const std::string& base, const FlowBox& box, const VelocityField& v) {
    return DatasetWriter(nodeCoordinates(box.x0, box.x1, box.nx), nodeCoordinates(box.y0, box.y1, box.ny))
        .velocity([&v](float x, float y) {
            const Velocity u = v(x, y);
            return std::array<float, 3>{u.x, u.y, 0.0f};
        })
        .write(base);
}

}  // namespace analytic

// Loads the field as the viewer's opener does: velocity in slots 0 to 2,
// then the node x and y channels and the magnitude channel.
inline AnalyticFlow makeAnalyticFlow(const FlowBox& box, const VelocityField& v) {
    const TempDir dir;  // the loaded dataset keeps no file open
    const std::string grid = analytic::writeDataset(dir.file("flow"), box, v);

    AnalyticFlow flow;
    flow.data = std::make_unique<FlowData>(nullptr);
    ConsoleCapture quiet(ConsoleCapture::stdoutOnly);
    if (!flow.data->load(grid, false)) throw std::runtime_error("cannot load the analytic dataset:\n" + quiet.out());
    flow.xSlot = flow.data->createCoordinateChannel(0);
    flow.ySlot = flow.data->createCoordinateChannel(1);
    flow.magnitudeSlot = flow.data->createMagnitudeChannel(0, 1, 2);
    return flow;
}

namespace analytic {

inline VelocityField uniform(float vx, float vy) {
    return [vx, vy](double, double) { return Velocity{vx, vy}; };
}

// Counter-clockwise rigid rotation about (cx, cy): exactly zero there.
inline VelocityField rotation(double cx, double cy) {
    return [cx, cy](double x, double y) { return Velocity{static_cast<float>(-(y - cy)), static_cast<float>(x - cx)}; };
}

// Stagnation point at (cx, cy): out along x, in along y.
inline VelocityField saddle(double cx, double cy) {
    return [cx, cy](double x, double y) { return Velocity{static_cast<float>(x - cx), static_cast<float>(-(y - cy))}; };
}

// The double gyre: one gyre in each half of [0, 2 s] x [0, s], peak speed
// pi * a.
inline VelocityField doubleGyre(double a, double s = 1.0) {
    return [a, s](double x, double y) {
        const double pi = 3.14159265358979323846;
        return Velocity{static_cast<float>(-pi * a * std::sin(pi * x / s) * std::cos(pi * y / s)),
                        static_cast<float>(pi * a * std::cos(pi * x / s) * std::sin(pi * y / s))};
    };
}

// Lamb-Oseen vortex about (cx, cy) with core radius rc and circulation g.
inline VelocityField vortex(double cx, double cy, double rc, double g) {
    return [cx, cy, rc, g](double x, double y) {
        const double dx = x - cx;
        const double dy = y - cy;
        const double r2 = dx * dx + dy * dy;
        if (r2 == 0.0) return Velocity{0.0f, 0.0f};
        const double pi = 3.14159265358979323846;
        const double s = g / (2.0 * pi * r2) * (1.0 - std::exp(-r2 / (rc * rc)));
        return Velocity{static_cast<float>(-dy * s), static_cast<float>(dx * s)};
    };
}

// A lid-driven cavity over [x0, x0 + w] x [y0, y0 + h], as quillmere-flowgen's
// "cavity": the stream function 8 s^2 (1 - s)^2 (t^4 - t^2) of the box's unit
// coordinates s, t; the lid (the top) moves along +x at up to speed 1, the
// other walls are at rest.
inline VelocityField cavity(double x0, double y0, double w, double h) {
    return [=](double x, double y) {
        const double s = (x - x0) / w;
        const double t = (y - y0) / h;
        const double f = s * s * (1.0 - s) * (1.0 - s);
        const double g = t * t * (t * t - 1.0);
        return Velocity{static_cast<float>(16.0 * f * t * (2.0 * t * t - 1.0)),
                        static_cast<float>(-16.0 * h / w * s * (1.0 - s) * (1.0 - 2.0 * s) * g)};
    };
}

}  // namespace analytic
