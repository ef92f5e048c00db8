#include "app/gl/Legend.h"

#include "app/gl/Globals.h"
#include "app/gl/OverlayText.h"
#include "data/FlowData.h"
#include "settings/LiveVariables.h"
#include "tf/TransferFunction.h"

#include <GL/gl.h>

#include <algorithm>

namespace {
constexpr int kTickLength = 4;
constexpr int kLabelGap = 3;
// The bars' depth in the overlay: in front of the scene drawn after them.
constexpr float kDepth = 0.9f;

LegendText legendOf(const std::string& quantity, int slot) {
    LegendText text;
    const Channel* channel = flowData ? flowData->channel(slot) : nullptr;
    if (channel) text.ticks = legendTicks(channel->minValue(), channel->maxValue());
    const std::string note = exponentNote(text.ticks.exponent);
    text.title = note.empty() ? quantity : quantity + " " + note;
    return text;
}

void quad(float x0, float y0, float x1, float y1) {
    glVertex3f(x0, y0, kDepth);
    glVertex3f(x1, y0, kDepth);
    glVertex3f(x1, y1, kDepth);
    glVertex3f(x0, y1, kDepth);
}

// Ticks out of the bar's edge at `edge`, towards `direction` (+1 right, -1
// left), and the labels beyond them.
void drawTicks(const LegendText& text, float edge, int direction, float bottom, float top) {
    const float tip = edge + direction * kTickLength;
    glBegin(GL_QUADS);
    for (const Tick& tick : text.ticks.ticks) {
        const float y = bottom + static_cast<float>(tick.fraction) * (top - bottom);
        glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
        quad(std::min(edge, tip + direction), y - 1.5f, std::max(edge, tip + direction), y + 1.5f);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        quad(std::min(edge, tip), y - 0.5f, std::max(edge, tip), y + 0.5f);
    }
    glEnd();
    for (const Tick& tick : text.ticks.ticks) {
        const int y = static_cast<int>(bottom + tick.fraction * (top - bottom)) - overlayAscent / 2 + 1;
        const int start = static_cast<int>(tip) + direction * kLabelGap;
        drawHaloText(direction > 0 ? start : start - overlayTextWidth(tick.label), y, tick.label);
    }
}
}  // namespace

LegendText backgroundLegendText() {
    const TransferFunction* tf = transferFunctions.forBackground(backgroundChannel);
    if (!tf) tf = transferFunctions[0];
    if (!tf) return {};
    if (backgroundChannel <= 0 || tf == transferFunctions[0]) return legendOf("Speed", tf->channelSlot);
    const std::vector<std::string>& names = flowData->channelNames();
    const std::size_t k = static_cast<std::size_t>(backgroundChannel);
    const bool named = k <= names.size() && !names[k - 1].empty();
    return legendOf(named ? names[k - 1] : "Channel " + std::to_string(k), tf->channelSlot);
}

LegendText arrowLegendText() { return legendOf("Speed", magnitudeSlot); }

int legendTextReach(const LegendText& text) {
    int widest = 0;
    for (const Tick& tick : text.ticks.ticks) widest = std::max(widest, overlayTextWidth(tick.label));
    return kTickLength + kLabelGap + widest;
}

int legendTitleWidth(const LegendText& text) { return overlayTextWidth(text.title); }

void drawLegendText(int width, float bottom, float top, bool arrowLegend) {
    const int x0 = width / 100;
    const LegendText background = backgroundLegendText();
    drawHaloText(x0, static_cast<int>(top + 5) + legendTitleRaise, background.title);
    drawTicks(background, static_cast<float>(x0 + 20), 1, bottom, top);
    if (arrowLegend) {
        const LegendText arrows = arrowLegendText();
        const float right = static_cast<float>(0.99 * width);
        drawHaloText(static_cast<int>(right) - legendTitleWidth(arrows), static_cast<int>(top + 5) + legendTitleRaise,
                     arrows.title);
        drawTicks(arrows, right - 20.0f, -1, bottom, top);
    }
}
