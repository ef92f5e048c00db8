#include "app/gl/Axes.h"

#include "app/gl/Globals.h"
#include "app/gl/OverlayText.h"
#include "data/FlowData.h"
#include "render/Ticks.h"
#include "settings/LiveVariables.h"
#include "streamlines/StreamlineSet.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kTickLength = 5;
constexpr int kGap = 3;
// Closest ticks may come, in pixels: labels along x are wider than high.
constexpr double kSpacingX = 60.0;
constexpr double kSpacingY = 50.0;

// A white rectangle of whole pixels with a dark rim one pixel wide.
void rimmedRect(int x0, int y0, int x1, int y1) {
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glRecti(x0 - 1, y0 - 1, x1 + 1, y1 + 1);
}
void whiteRect(int x0, int y0, int x1, int y1) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glRecti(x0, y0, x1, y1);
}

int widestLabel(const TickSet& ticks) {
    int widest = 0;
    for (const Tick& t : ticks.ticks) widest = std::max(widest, overlayTextWidth(t.label));
    return widest;
}
}  // namespace

AxisMargins axisMargins(int height) {
    if (showAxes == 0 || !sceneReady()) return {};
    const DomainBox box = streamlineSet->domainBox();
    const TickSet y = axisTicks(box.ymin, box.ymax, 0.9 * height, kSpacingY);
    return {2 + kTickLength + kGap + widestLabel(y) + 4, 2 + kTickLength + kGap + overlayAscent + 6};
}

void drawAxes(int width, int height, const Camera::OrthoBox& view, const LegendColumns& legend) {
    if (showAxes == 0 || !sceneReady()) return;
    const QuadSize quad = flowData->quadSize();
    const DomainBox box = streamlineSet->domainBox();
    if (!quad.isValid() || !(view.right > view.left) || !(view.top > view.bottom)) return;
    // The quad's edges in pixels, then the frame: as much of them as the view shows.
    const double left = (-quad.width / 2.0 - view.left) / (view.right - view.left) * width;
    const double right = (quad.width / 2.0 - view.left) / (view.right - view.left) * width;
    const double bottom = (-quad.height / 2.0 - view.bottom) / (view.top - view.bottom) * height;
    const double top = (quad.height / 2.0 - view.bottom) / (view.top - view.bottom) * height;
    // The frame's edges: the data at an edge the view shows is the box's own
    // (the reset view leaves it on the margin but for rounding).
    auto clampAbove = [](double edge, double limit) { return edge > limit - 0.5 ? edge : limit; };
    const double fl = clampAbove(left, legend.leftWidth + legend.axisLeft);
    const double fr = -clampAbove(-right, -(width - 2.0 - std::max(legend.rightWidth, 2)));
    const double fb = clampAbove(bottom, legend.axisBottom);
    const double ft = -clampAbove(-top, -(height - 3.0));
    const int x0 = static_cast<int>(std::lround(fl)), x1 = static_cast<int>(std::lround(fr));
    const int y0 = static_cast<int>(std::lround(fb)), y1 = static_cast<int>(std::lround(ft));
    if (x1 - x0 < 10 || y1 - y0 < 10) return;
    auto dataX = [&](double px) { return box.xmin + (px - left) / (right - left) * (box.xmax - box.xmin); };
    auto dataY = [&](double py) { return box.ymin + (py - bottom) / (top - bottom) * (box.ymax - box.ymin); };
    const TickSet xs = axisTicks(dataX(fl), dataX(fr), fr - fl, kSpacingX);
    const TickSet ys = axisTicks(dataY(fb), dataY(ft), ft - fb, kSpacingY);
    auto column = [&](const Tick& t) { return static_cast<int>(std::lround(fl + t.fraction * (fr - fl))); };
    auto row = [&](const Tick& t) { return static_cast<int>(std::lround(fb + t.fraction * (ft - fb))); };

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // The frame lies a pixel outside the field, so that its dark rim leaves
    // the field's edge alone; the field covers columns x0 to x1 - 1.
    const int frame[4][4] = {{x0 - 2, y0 - 2, x0 - 1, y1 + 2},
                             {x1 + 1, y0 - 2, x1 + 2, y1 + 2},
                             {x0 - 2, y0 - 2, x1 + 2, y0 - 1},
                             {x0 - 2, y1 + 1, x1 + 2, y1 + 2}};
    for (int pass = 0; pass < 2; ++pass) {
        auto rect = pass == 0 ? rimmedRect : whiteRect;
        for (const auto& r : frame) rect(r[0], r[1], r[2], r[3]);
        for (const Tick& t : xs.ticks) rect(column(t), y0 - 2 - kTickLength, column(t) + 1, y0 - 2);
        for (const Tick& t : ys.ticks) rect(x0 - 2 - kTickLength, row(t), x0 - 2, row(t) + 1);
    }
    const int labelRow = y0 - 2 - kTickLength - kGap - overlayAscent + 1;
    for (const Tick& t : xs.ticks) drawHaloText(column(t) - overlayTextWidth(t.label) / 2, labelRow, t.label, 0);
    const int labelEnd = x0 - 2 - kTickLength - kGap;
    for (const Tick& t : ys.ticks)
        drawHaloText(labelEnd - overlayTextWidth(t.label), row(t) - overlayAscent / 2 + 1, t.label, 0);
    const std::string xNote = exponentNote(xs.exponent), yNote = exponentNote(ys.exponent);
    if (!xNote.empty()) drawHaloText(x1 - overlayTextWidth(xNote), labelRow - overlayAscent - 6, xNote, 0);
    if (!yNote.empty()) drawHaloText(x0, y1 + 6, yNote, 0);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}
