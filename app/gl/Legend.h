#pragma once

#include "render/Ticks.h"

#include <string>

// The legend bars with "Legend with values": each bar's quantity above it,
// tick marks and the values of legendTicks beside it (the background's on
// its right, the arrows' on their left), in white with a dark rim.

struct LegendText {
    std::string title;  // the quantity, with the labels' power of ten
    TickSet ticks;
};
// The background's quantity ("Speed", the dataset's name of a data
// channel, else "Channel k") over its transfer function's colour range.
LegendText backgroundLegendText();
// The arrows' speed over the magnitude's colour range.
LegendText arrowLegendText();

// How much higher than the baseline legend's "Bg" the title stands, clear
// of the top value.
constexpr int legendTitleRaise = 7;

// Pixels the text reaches beyond the bar's side: tick, gap and widest label.
int legendTextReach(const LegendText& text);
// Pixels the title takes.
int legendTitleWidth(const LegendText& text);

// Draws the text around the bars of a view `width` pixels wide whose bars
// span the rows `bottom` to `top`.
void drawLegendText(int width, float bottom, float top, bool arrowLegend);
