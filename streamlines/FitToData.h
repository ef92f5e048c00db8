#pragma once

#include "streamlines/DomainBox.h"

#include <string>

class StreamlineSet;

// Streamline settings that fit the size of a dataset's box instead of a box
// about one unit across: evenly spaced lines about 32 to a side of a square
// box (24 across the shorter side of an elongated one), traced with unit
// speed in steps of a fortieth of their separation, a first seed sought away
// from a resting box centre, and tapered bands and glyphs in proportion. The
// same box gives the same settings in the viewer ("Fit to data") and in
// quillmere-trace --fit.
struct FittedSettings {
    float dsep = 0.0f;
    float dtest = 0.0f;
    float dt = 0.0f;  // a step length: unit speed on
    float lineWidthMax = 0.0f;
    float lineWidthMin = 0.0f;
    float glyphSpacing = 0.0f;
};

// The settings for `box`; all 0 for a box without area.
FittedSettings fitToBox(const DomainBox& box);

// "Fit to data (box W x H): dsep ..., dtest ..., dt ... with unit speed, line
// widths ... and ..., glyph spacing ..." without an end of line.
std::string describeFit(const DomainBox& box, const FittedSettings& fit);

// Gives the set unit speed and the fitted distances
// and step, in the order that sizes the point caches for the new dsep.
// Places nothing.
void applyFit(StreamlineSet& set, const FittedSettings& fit);
