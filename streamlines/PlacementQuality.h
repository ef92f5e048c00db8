#pragma once

#include "streamlines/DomainBox.h"
#include "streamlines/Streamline.h"
#include "streamlines/TerminationReason.h"

#include <array>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class StreamlineSet;

// Figures that judge a placement: how many lines, how long, how many are
// fragments, how much of the domain they cover, and why they ended.
struct PlacementQuality {
    int lines = 0;
    double dsep = 0.0;
    double totalLength = 0.0;  // world units
    double meanLength = 0.0;
    int shortLines = 0;  // shorter than 2 dsep (lines of 0 or 1 point included)
    double shortShare = 0.0;
    double coverage = 0.0;  // share of the moving flow within dsep of some line
    // Both ends of every line, indexed by TerminationReason.
    std::array<int, terminationReasonCount> ends{};
    // Why a placement placed no line (StreamlineSet::emptyReason).
    std::string emptyReason;
};

// Sum of the segment lengths (double).
double polylineLength(const Streamline& line);

// The coverage raster: pixels of about dsep / 8 over the box, at most
// maxCoveragePixelsPerAxis a side (a tiny dsep gets coarser pixels).
struct CoverageRaster {
    int nx = 0;
    int ny = 0;
};
constexpr int maxCoveragePixelsPerAxis = 4096;
CoverageRaster coverageRaster(const DomainBox& box, float dsep);

// The share of raster pixels whose centre lies within dsep of a segment of
// a line (a one-point line counts as its point), among the pixels `counts`
// accepts (all when it is empty): where the flow stands still or has no
// data, no line can pass, so those pixels are left out. The distances are
// exact point-to-segment distances in double; segments are bucketed in
// cells at least dsep wide, so each pixel looks at 3 x 3 cells. 0 for a box
// without area, a dsep that is not a positive number or no pixel counted.
// A large raster is measured in two halves side by side: `counts` may be
// called from two threads at once.
using PixelFilter = std::function<bool(double x, double y)>;
double coverage(const StreamlineList& lines, const DomainBox& box, float dsep, const PixelFilter& counts = {});

PlacementQuality measurePlacement(const StreamlineList& lines, const DomainBox& box, float dsep,
                                  const PixelFilter& counts = {});
// The coverage of a set counts the pixels where its velocity is finite and
// not zero.
PlacementQuality measurePlacement(const StreamlineSet& set);

// The figures, one per line, after a "Placement quality:" heading; for a
// placement without lines, why.
void printPlacementQuality(std::ostream& out, const PlacementQuality& quality);
