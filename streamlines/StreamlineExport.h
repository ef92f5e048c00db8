#pragma once

#include "streamlines/Streamline.h"

#include <iosfwd>

// The lines of a placement as files for other programs, written in large
// blocks. Coordinates are written in the shortest form that reads back to
// the same float. Both writers return false when writing failed.

// CSV, one row per point: line,point,x,y,step,start_reason,end_reason.
bool writeCsv(const StreamlineList& lines, std::ostream& out);

// Legacy VTK polydata, as text or binary (big-endian numbers): one polyline
// per line with points, the step index as point data and the two line-end
// reasons as cell data. Lines without points have no cell (a polyline needs
// at least one point).
bool writeVtk(const StreamlineList& lines, std::ostream& out, bool binary = false);
