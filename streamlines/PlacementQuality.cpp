#include "streamlines/PlacementQuality.h"

#include "streamlines/StreamlineSet.h"

#include <algorithm>
#include <cmath>
#include <iomanip>

namespace {

struct Segment {
    double ax, ay, bx, by;
};

double squaredDistanceToSegment(double px, double py, const Segment& s) {
    const double dx = s.bx - s.ax;
    const double dy = s.by - s.ay;
    double qx = s.ax;
    double qy = s.ay;
    const double length2 = dx * dx + dy * dy;
    if (length2 > 0.0) {
        const double t = std::clamp(((px - s.ax) * dx + (py - s.ay) * dy) / length2, 0.0, 1.0);
        qx = s.ax + t * dx;
        qy = s.ay + t * dy;
    }
    const double ex = px - qx;
    const double ey = py - qy;
    return ex * ex + ey * ey;
}

std::vector<Segment> segmentsOf(const StreamlineList& lines) {
    std::vector<Segment> segments;
    for (const auto& line : lines) {
        const auto& pts = line->points;
        if (pts.size() == 1) segments.push_back({pts[0]->x(), pts[0]->y(), pts[0]->x(), pts[0]->y()});
        for (std::size_t k = 1; k < pts.size(); ++k)
            segments.push_back({pts[k - 1]->x(), pts[k - 1]->y(), pts[k]->x(), pts[k]->y()});
    }
    return segments;
}

bool isPositiveFinite(double v) { return std::isfinite(v) && v > 0.0; }

// Segments listed in every cell that their bounding box touches. Cells are
// at least dsep wide, so a segment within dsep of a point has a piece in
// the 3 x 3 cells around it. Points off the box fold into the border cells,
// which keeps that true for the last points of seeded lines.
class SegmentBuckets {
public:
    SegmentBuckets(const std::vector<Segment>& segments, const DomainBox& box, double dsep)
        : xmin_(box.xmin), ymin_(box.ymin) {
        nx_ = cellsAlong(box.width(), dsep);
        ny_ = cellsAlong(box.height(), dsep);
        cellW_ = static_cast<double>(box.width()) / nx_;
        cellH_ = static_cast<double>(box.height()) / ny_;
        cells_.resize(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_));
        for (std::size_t k = 0; k < segments.size(); ++k) {
            const Segment& s = segments[k];
            const int i0 = cellX(std::min(s.ax, s.bx));
            const int i1 = cellX(std::max(s.ax, s.bx));
            const int j0 = cellY(std::min(s.ay, s.by));
            const int j1 = cellY(std::max(s.ay, s.by));
            for (int i = i0; i <= i1; ++i)
                for (int j = j0; j <= j1; ++j) cells_[slot(i, j)].push_back(static_cast<int>(k));
        }
    }

    int cellX(double x) const { return index((x - xmin_) / cellW_, nx_); }
    int cellY(double y) const { return index((y - ymin_) / cellH_, ny_); }
    int countX() const { return nx_; }
    int countY() const { return ny_; }
    const std::vector<int>& cell(int i, int j) const { return cells_[slot(i, j)]; }

private:
    static int cellsAlong(double extent, double size) {
        const double q = std::floor(extent / size);
        return q >= 1.0 ? static_cast<int>(std::min(q, 1024.0)) : 1;
    }
    static int index(double q, int count) {
        if (!(q >= 0.0)) return 0;
        if (q >= count) return count - 1;
        return static_cast<int>(q);
    }
    std::size_t slot(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(ny_) + static_cast<std::size_t>(j);
    }

    double xmin_;
    double ymin_;
    int nx_ = 1;
    int ny_ = 1;
    double cellW_ = 0.0;
    double cellH_ = 0.0;
    std::vector<std::vector<int>> cells_;
};

}  // namespace

double polylineLength(const Streamline& line) {
    double length = 0.0;
    const auto& pts = line.points;
    for (std::size_t k = 1; k < pts.size(); ++k) {
        const double dx = static_cast<double>(pts[k]->x()) - pts[k - 1]->x();
        const double dy = static_cast<double>(pts[k]->y()) - pts[k - 1]->y();
        length += std::sqrt(dx * dx + dy * dy);
    }
    return length;
}

CoverageRaster coverageRaster(const DomainBox& box, float dsep) {
    const double pixel = static_cast<double>(dsep) / 8.0;
    auto along = [pixel](double extent) {
        if (!isPositiveFinite(extent) || !isPositiveFinite(pixel)) return 0;
        const double n = std::ceil(extent / pixel);
        return n >= maxCoveragePixelsPerAxis ? maxCoveragePixelsPerAxis : std::max(1, static_cast<int>(n));
    };
    return {along(box.width()), along(box.height())};
}

double coverage(const StreamlineList& lines, const DomainBox& box, float dsep, const PixelFilter& counts) {
    const CoverageRaster raster = coverageRaster(box, dsep);
    if (raster.nx == 0 || raster.ny == 0) return 0.0;
    const std::vector<Segment> segments = segmentsOf(lines);
    if (segments.empty()) return 0.0;
    const double reach = static_cast<double>(dsep);
    const double reach2 = reach * reach;
    const SegmentBuckets buckets(segments, box, reach);
    const double pixelW = static_cast<double>(box.width()) / raster.nx;
    const double pixelH = static_cast<double>(box.height()) / raster.ny;

    long long covered = 0;
    long long counted = 0;
    int recent = -1;  // neighbouring pixels are mostly covered by the same segment
    for (int j = 0; j < raster.ny; ++j) {
        const double py = box.ymin + (j + 0.5) * pixelH;
        const int cj = buckets.cellY(py);
        for (int i = 0; i < raster.nx; ++i) {
            const double px = box.xmin + (i + 0.5) * pixelW;
            if (counts && !counts(px, py)) continue;
            ++counted;
            bool near = recent >= 0 && squaredDistanceToSegment(px, py, segments[recent]) <= reach2;
            const int ci = buckets.cellX(px);
            for (int a = std::max(ci - 1, 0); !near && a <= std::min(ci + 1, buckets.countX() - 1); ++a) {
                for (int b = std::max(cj - 1, 0); !near && b <= std::min(cj + 1, buckets.countY() - 1); ++b) {
                    for (int k : buckets.cell(a, b)) {
                        if (squaredDistanceToSegment(px, py, segments[k]) <= reach2) {
                            near = true;
                            recent = k;
                            break;
                        }
                    }
                }
            }
            if (near) ++covered;
        }
    }
    return counted > 0 ? static_cast<double>(covered) / static_cast<double>(counted) : 0.0;
}

PlacementQuality measurePlacement(const StreamlineList& lines, const DomainBox& box, float dsep,
                                  const PixelFilter& counts) {
    PlacementQuality q;
    q.lines = static_cast<int>(lines.size());
    q.dsep = dsep;
    const double shortLimit = 2.0 * static_cast<double>(dsep);
    for (const auto& line : lines) {
        const double length = polylineLength(*line);
        q.totalLength += length;
        if (length < shortLimit) ++q.shortLines;
        ++q.ends[static_cast<std::size_t>(line->startReason)];
        ++q.ends[static_cast<std::size_t>(line->endReason)];
    }
    if (q.lines > 0) {
        q.meanLength = q.totalLength / q.lines;
        q.shortShare = static_cast<double>(q.shortLines) / q.lines;
    }
    q.coverage = coverage(lines, box, dsep, counts);
    return q;
}

PlacementQuality measurePlacement(const StreamlineSet& set) {
    const auto moving = [&set](double x, double y) {
        float vx = 0.0f;
        float vy = 0.0f;
        return set.velocityAt(static_cast<float>(x), static_cast<float>(y), vx, vy) && std::isfinite(vx) &&
               std::isfinite(vy) && (vx != 0.0f || vy != 0.0f);
    };
    PlacementQuality q = measurePlacement(set.streamlines(), set.domainBox(), set.dsep(), moving);
    q.emptyReason = set.emptyReason();
    return q;
}

void printPlacementQuality(std::ostream& out, const PlacementQuality& q) {
    const std::ios::fmtflags flags = out.flags();
    const std::streamsize precision = out.precision();
    const double inDsep = isPositiveFinite(q.dsep) ? 1.0 / q.dsep : 0.0;
    out << std::setprecision(6) << "Placement quality:\n"
        << "Lines: " << q.lines << '\n'
        << "Total length: " << q.totalLength << " (" << q.totalLength * inDsep << " dsep)\n"
        << "Mean length: " << q.meanLength << " (" << q.meanLength * inDsep << " dsep)\n"
        << "Lines shorter than 2 dsep: " << q.shortLines << " (" << std::fixed << std::setprecision(2)
        << 100.0 * q.shortShare << " %)\n"
        << "Coverage within dsep: " << 100.0 * q.coverage << " %\n"
        << "Line ends:";
    out.flags(flags);
    out.precision(precision);
    // "none" only appears for lines that were not traced, which a placement never keeps.
    const char* separator = " ";
    for (int r = 0; r < terminationReasonCount; ++r) {
        const auto reason = static_cast<TerminationReason>(r);
        if (reason == TerminationReason::None && q.ends[0] == 0) continue;
        out << separator << terminationReasonName(reason) << ' ' << q.ends[static_cast<std::size_t>(r)];
        separator = ", ";
    }
    out << '\n';
    if (q.lines == 0 && !q.emptyReason.empty()) out << "No streamline placed: " << q.emptyReason << '\n';
}
