#pragma once

// What the values of the mode settings mean. The live variables stay ints
// (the panel's radio groups write them); code that acts on them reads them
// through these names.

// streamlineMode: how streamlines are placed and drawn.
enum class StreamlineMode {
    Evenly = 0,             // evenly spaced, drawn as lines
    Normal = 1,             // seeded along the domain, drawn as lines
    Tapering = 2,           // evenly spaced, drawn as bands narrowing near other lines
    GlyphMapping = 3,       // evenly spaced, drawn as arrow-head glyphs
    TextureGeneration = 4,  // evenly spaced, drawn with a grey-level texture
};

// integrationMethod: the streamline integration step.
enum class IntegrationMethod {
    Euler = 0,
    RungeKutta = 1,  // second order (midpoint)
};

// backgroundChannel: what colours the field. Data channel k is k.
enum BackgroundChannel : int {
    VelocityBackground = 0,
};

// colorRange: which values the colours of the field and arrows span.
enum ColorRangeChoice : int {
    StepColorRange = 0,    // the step shown, as opening that step alone gives
    SeriesColorRange = 1,  // all time steps of the dataset
};

inline StreamlineMode streamlineModeOf(int value) { return static_cast<StreamlineMode>(value); }
inline IntegrationMethod integrationMethodOf(int value) {
    return value == 0 ? IntegrationMethod::Euler : IntegrationMethod::RungeKutta;
}

// lineColor: the colour of streamlines drawn as lines, tapered bands or
// glyphs (the grey-level texture has its own).
enum class LineColor {
    White = 0,
    Black = 1,
    Chosen = 2,   // the streamline colour "Color from CC" sets
    BySpeed = 3,  // the local speed through the arrow plot's transfer function
};

inline LineColor lineColorOf(int value) { return static_cast<LineColor>(value); }
