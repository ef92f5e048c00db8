#include "settings/Settings.h"

#include "settings/ControlIds.h"
#include "settings/LiveVariables.h"
#include "settings/SystemMemory.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr bool limited = true;
constexpr bool unlimited = false;
// Upper limit of lengths that have one: any box size, as long as it is a float.
constexpr double maxLength = 3.0e38;

Setting intSetting(const char* name, int* v, int start, double low, double high, int id, FileEntry file,
                   const char* meaning) {
    return {name, v, nullptr, static_cast<double>(start), limited, low, high, id, file, meaning};
}

Setting floatSetting(const char* name, float* v, float start, bool hasLimits, double low, double high, int id,
                     FileEntry file, const char* meaning) {
    return {name, nullptr, v, static_cast<double>(start), hasLimits, low, high, id, file, meaning};
}
}  // namespace

const std::vector<Setting>& settings() {
    using F = FileForm;
    static const std::vector<Setting> table = {
        intSetting("showArrowPlot", &showArrowPlot, 0, 0, 1, controlId::showArrowPlot,
                   {"arrowplot/enable_arrowplot", F::Flag, 10}, "draw the arrow plot over the field (0 or 1)"),
        intSetting("showStreamlines", &showStreamlines, 0, 0, 1, controlId::showStreamlines,
                   {"streamlines/enable_streamlines", F::Int, 20}, "draw streamlines (0 or 1)"),
        intSetting("backgroundChannel", &backgroundChannel, 0, 0, 10, controlId::backgroundChannel,
                   {"background/index", F::Int, 1},
                   "what colours the field: 0 velocity magnitude, k data channel k (1 to 10)"),
        intSetting("showTfEditor", &showTfEditor, 0, 0, 1, controlId::showTfEditor, {},
                   "show the transfer-function editor under the field (0 or 1)"),
        floatSetting("noDataRed", &noDataRed, 1.0f, limited, 0.0, 1.0, controlId::noDataRed,
                     {"drawing/no_data_red", F::Float, 40, true}, "red of the colour of nodes without data (0 to 1)"),
        floatSetting("noDataGreen", &noDataGreen, 0.0f, limited, 0.0, 1.0, controlId::noDataGreen,
                     {"drawing/no_data_green", F::Float, 41, true},
                     "green of the colour of nodes without data (0 to 1)"),
        floatSetting("noDataBlue", &noDataBlue, 0.6f, limited, 0.0, 1.0, controlId::noDataBlue,
                     {"drawing/no_data_blue", F::Float, 42, true}, "blue of the colour of nodes without data (0 to 1)"),
        intSetting("timestep", &timestep, 0, 0, 999999, controlId::timestep, {},
                   "time step shown, from 0; held to the dataset's last step"),
        intSetting("playing", &playing, 0, 0, 1, controlId::playing, {},
                   "play the time steps one after another (0 or 1)"),
        floatSetting("frameRate", &frameRate, 10.0f, limited, 0.5, 60.0, controlId::frameRate, {},
                     "time steps shown per second while playing"),
        intSetting("loopPlayback", &loopPlayback, 0, 0, 1, controlId::loopPlayback, {},
                   "after the last time step, play on from step 0 (0 or 1)"),
        intSetting("colorRange", &colorRange, 0, 0, 1, controlId::colorRange, {},
                   "colour ranges: 0 those of the step shown, 1 those of all time steps (computed once)"),
        intSetting("arrowCountX", &arrowCountX, 10, 2, 200, controlId::arrowCountX, {"arrowplot/count_x", F::Int, 13},
                   "arrows across the field along x"),
        intSetting("arrowCountY", &arrowCountY, 10, 2, 200, controlId::arrowCountY, {"arrowplot/count_y", F::Int, 14},
                   "arrows across the field along y"),
        intSetting("arrowSizeEnabled", &arrowSizeEnabled, 1, 0, 1, controlId::arrowSizeEnabled,
                   {"arrowplot/enable_sizemodification", F::Flag, 11}, "scale each arrow by the local speed (0 or 1)"),
        intSetting("applyArrowTf", &applyArrowTf, 0, 0, 1, controlId::applyArrowTf,
                   {"arrowplot/apply_arrowtf", F::Flag, 12},
                   "colour the arrows through their own transfer function (0 or 1)"),
        floatSetting("arrowSize", &arrowSize, 40.0f, limited, 0.1, 200.0, controlId::arrowSize,
                     {"arrowplot/pointsize", F::WholeFloat, 15}, "size of the largest arrow, in pixels"),
        intSetting("streamlineMode", &streamlineMode, 0, 0, 4, controlId::streamlineMode,
                   {"streamlines/modus_index", F::Int, 22},
                   "0 evenly spaced lines, 1 seeded lines, 2 tapered bands, 3 glyphs, 4 grey-level texture"),
        intSetting("seedPoints", &seedPoints, 5, 0, 100, controlId::seedPoints, {"streamlines/seedpoints", F::Int, 23},
                   "seed points of the seeded lines"),
        floatSetting("lineWidthMax", &lineWidthMax, 0.1f, limited, 0.0, maxLength, controlId::lineWidthMax,
                     {"drawing/line_width_max", F::Float, 43, true, true}, "widest tapered band, in data units"),
        floatSetting("lineWidthMin", &lineWidthMin, 0.04f, limited, 0.0, maxLength, controlId::lineWidthMin,
                     {"drawing/line_width_min", F::Float, 44, true, true}, "narrowest tapered band, in data units"),
        floatSetting("glyphSpacing", &glyphSpacing, 0.3f, limited, 0.0, maxLength, controlId::glyphSpacing,
                     {"drawing/glyph_spacing", F::Float, 45, true},
                     "distance between glyphs along a line, in data units (0 draws none)"),
        intSetting("textureFunction", &textureFunction, 0, 0, 1, controlId::textureFunction, {},
                   "grey-level profile along the lines: 0 sine wave (f1), 1 ramp (f2)"),
        intSetting("texturePeriod", &texturePeriod, 160, 1, 10000, controlId::texturePeriod, {},
                   "period of the grey-level texture, in integration steps"),
        intSetting("integrationMethod", &integrationMethod, 0, 0, 1, controlId::integrationMethod,
                   {"streamlines/integration_index", F::Int, 21}, "0 Euler steps, 1 second-order Runge-Kutta"),
        intSetting("unitSpeed", &unitSpeed, 0, 0, 1, controlId::unitSpeed, {"streamlines/unit_speed", F::Int, 27, true},
                   "1: step along the velocity's direction, so dt is a step length in data units"),
        floatSetting("stepSize", &stepSize, 0.005f, unlimited, 0, 0, controlId::stepSize,
                     {"streamlines/dt", F::Float, 26},
                     "integration step dt (a time; a length in data units with unit speed)"),
        floatSetting("dsep", &dsep, 0.4f, unlimited, 0, 0, controlId::dsep, {"streamlines/dsep", F::Float, 24},
                     "separation of evenly spaced lines, in data units"),
        floatSetting("dtest", &dtest, 0.2f, unlimited, 0, 0, controlId::dtest, {"streamlines/dtest", F::Float, 25},
                     "distance at which a line stops near another, in data units"),
        // Not in the options file: it belongs to the machine, not to the picture.
        intSetting("memoryBudget", &memoryBudget, defaultMemoryBudgetMegabytes(), 16, 16777216, controlId::memoryBudget,
                   {}, "memory an evenly spaced placement may use, in MiB (start: a quarter of physical memory)"),
        intSetting("lineColor", &lineColor, 0, 0, 3, controlId::lineColor, {"drawing/line_color", F::Int, 46, true},
                   "colour of lines, bands and glyphs: 0 white, 1 black, 2 the chosen colour, 3 by speed"),
        intSetting("lineOutline", &lineOutline, 0, 0, 1, controlId::lineOutline,
                   {"drawing/line_outline", F::Int, 47, true},
                   "a thin dark outline around lines, bands and glyphs (0 or 1)"),
        intSetting("legendValues", &legendValues, 0, 0, 1, controlId::legendValues,
                   {"figure/legend_values", F::Int, 60, true},
                   "the legend bars name their quantity and show its range and three values between (0 or 1)"),
        intSetting("showAxes", &showAxes, 0, 0, 1, controlId::showAxes, {"figure/show_axes", F::Int, 61, true},
                   "a frame around the field with ticks and labels in data coordinates (0 or 1)"),
        intSetting("statusLine", &statusLine, 1, 0, 1, controlId::statusLine, {"figure/status_line", F::Int, 62, true},
                   "the \"Datafile:\" line at the top of the field view, also in screenshots (0 or 1)"),
        intSetting("smoothLines", &smoothLines, 0, 0, 1, controlId::smoothLines,
                   {"figure/smooth_lines", F::Int, 63, true},
                   "smooth edges of lines, bands, glyphs and the field where the GL offers multisampling (0 or 1)"),
        floatSetting("lineWidth", &lineWidth, 1.0f, limited, 0.5, 20.0, controlId::lineWidth,
                     {"figure/line_width", F::Float, 64, true},
                     "width of streamlines drawn as lines (and as the grey-level texture), in pixels"),
        intSetting("screenshotScale", &screenshotScale, 1, 1, 8, controlId::screenshotScale,
                   {"figure/screenshot_scale", F::Int, 65, true},
                   "screenshots at this many times the window's size: text, lines and arrows grow along, only sharper"),
        intSetting("screenshotPanel", &screenshotPanel, 0, 0, 1, controlId::screenshotPanel,
                   {"figure/screenshot_panel", F::Int, 66, true},
                   "window-sized screenshots show the control panel beside the picture (0 or 1)"),
        intSetting("showAllFiles", &showAllFiles, 0, 0, 1, controlId::showAllFiles, {},
                   "the file browser lists every file (1) or only grid, data and options files (0)"),
        intSetting("scaledZoomDrag", &scaledZoomDrag, 1, 0, 1, controlId::scaledZoomDrag, {},
                   "1: a left drag zooms about where it starts, 4 times per view height; "
                   "0: by the drag's length at every mouse move"),
    };
    return table;
}

const Setting* findSetting(const std::string& name) {
    for (const Setting& s : settings()) {
        if (name == s.name) return &s;
    }
    return nullptr;
}

double Setting::value() const { return intValue ? static_cast<double>(*intValue) : static_cast<double>(*floatValue); }

double Setting::clamped(double v) const { return limited ? std::fmin(std::fmax(v, low), high) : v; }

void Setting::set(double v) const {
    v = clamped(v);
    if (intValue) *intValue = static_cast<int>(std::lround(v));
    else *floatValue = static_cast<float>(v);
}
