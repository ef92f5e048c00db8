#include "streamlines/StreamlineExport.h"

#include <string>

bool writeCsv(const StreamlineList& lines, std::FILE* f) {
    std::fprintf(f, "line,point,x,y,step,start_reason,end_reason\n");
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const auto& points = lines[l]->points;
        const char* start = terminationReasonName(lines[l]->startReason);
        const char* end = terminationReasonName(lines[l]->endReason);
        for (std::size_t k = 0; k < points.size(); ++k)
            std::fprintf(f, "%zu,%zu,%.9g,%.9g,%d,%s,%s\n", l, k, static_cast<double>(points[k]->x()),
                         static_cast<double>(points[k]->y()), points[k]->index(), start, end);
    }
    return !std::ferror(f);
}

namespace {

// The codes of the two cell fields, for the title line: the legacy format
// has no other place for a comment.
std::string reasonLookup() {
    std::string text = "start_reason and end_reason:";
    for (int r = 0; r < terminationReasonCount; ++r) {
        text += (r == 0 ? " " : ", ") + std::to_string(r) + " ";
        text += terminationReasonName(static_cast<TerminationReason>(r));
    }
    return text;
}

}  // namespace

bool writeVtk(const StreamlineList& lines, std::FILE* f) {
    std::size_t pointCount = 0;
    std::size_t lineCount = 0;
    for (const auto& line : lines) {
        pointCount += line->points.size();
        if (!line->points.empty()) ++lineCount;
    }
    std::fprintf(f, "# vtk DataFile Version 3.0\nquillmere-trace streamlines; %s\nASCII\nDATASET POLYDATA\n",
                 reasonLookup().c_str());
    std::fprintf(f, "POINTS %zu float\n", pointCount);
    for (const auto& line : lines)
        for (const StreamPoint* p : line->points)
            std::fprintf(f, "%.9g %.9g 0\n", static_cast<double>(p->x()), static_cast<double>(p->y()));
    std::fprintf(f, "LINES %zu %zu\n", lineCount, pointCount + lineCount);
    std::size_t next = 0;
    for (const auto& line : lines) {
        if (line->points.empty()) continue;
        std::fprintf(f, "%zu", line->points.size());
        for (std::size_t k = 0; k < line->points.size(); ++k) std::fprintf(f, " %zu", next++);
        std::fprintf(f, "\n");
    }
    std::fprintf(f, "POINT_DATA %zu\nSCALARS step int 1\nLOOKUP_TABLE default\n", pointCount);
    for (const auto& line : lines)
        for (const StreamPoint* p : line->points) std::fprintf(f, "%d\n", p->index());
    std::fprintf(f, "CELL_DATA %zu\nFIELD ends 2\n", lineCount);
    for (const bool start : {true, false}) {
        std::fprintf(f, "%s 1 %zu int\n", start ? "start_reason" : "end_reason", lineCount);
        for (const auto& line : lines)
            if (!line->points.empty())
                std::fprintf(f, "%d\n", static_cast<int>(start ? line->startReason : line->endReason));
    }
    return !std::ferror(f);
}
