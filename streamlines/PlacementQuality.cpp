#include "streamlines/PlacementQuality.h"

#include "common/TwoHalves.h"
#include "streamlines/StreamlineSet.h"

#include <algorithm>
#include <cmath>
#include <iomanip>

namespace {

// The points' own floats; the distances are worked out in double.
struct Segment {
    float ax, ay, bx, by;
};

double squaredDistanceToSegment(double px, double py, const Segment& s) {
    const double ax = s.ax, ay = s.ay;
    const double dx = static_cast<double>(s.bx) - ax;
    const double dy = static_cast<double>(s.by) - ay;
    double qx = ax;
    double qy = ay;
    const double length2 = dx * dx + dy * dy;
    if (length2 > 0.0) {
        const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0);
        qx = ax + t * dx;
        qy = ay + t * dy;
    }
    const double ex = px - qx;
    const double ey = py - qy;
    return ex * ex + ey * ey;
}

// Calls use(segment) for every segment of the lines; a one-point line is a
// segment from its point to itself.
template <class Use>
void forEachSegment(const StreamlineList& lines, const Use& use) {
    for (const auto& line : lines) {
        const auto& pts = line->points;
        if (pts.size() == 1) use(Segment{pts[0]->x(), pts[0]->y(), pts[0]->x(), pts[0]->y()});
        for (std::size_t k = 1; k < pts.size(); ++k)
            use(Segment{pts[k - 1]->x(), pts[k - 1]->y(), pts[k]->x(), pts[k]->y()});
    }
}

bool isPositiveFinite(double v) { return std::isfinite(v) && v > 0.0; }

// Segments kept in every cell that their bounding box touches. Cells are
// at least dsep wide, so a segment within dsep of a point has a piece in
// the 3 x 3 cells around it. Points off the box fold into the border cells,
// which keeps that true for the last points of seeded lines. Each cell's
// segments lie together in one array (counted first, then copied in), so a
// search reads memory in order.
class SegmentBuckets {
public:
    SegmentBuckets(const StreamlineList& lines, const DomainBox& box, double dsep)
        : xmin_(box.xmin), ymin_(box.ymin) {
        nx_ = cellsAlong(box.width(), dsep);
        ny_ = cellsAlong(box.height(), dsep);
        cellW_ = static_cast<double>(box.width()) / nx_;
        cellH_ = static_cast<double>(box.height()) / ny_;
        starts_.assign(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_) + 1, 0);
        forEachCell(lines, [this](std::size_t cell, const Segment&) { ++starts_[cell + 1]; });
        for (std::size_t c = 1; c < starts_.size(); ++c) starts_[c] += starts_[c - 1];
        std::vector<std::size_t> next(starts_.begin(), starts_.end() - 1);
        segments_.resize(starts_.back());
        forEachCell(lines, [this, &next](std::size_t cell, const Segment& s) { segments_[next[cell]++] = s; });
    }

    bool empty() const { return segments_.empty(); }
    int cellX(double x) const { return index((x - xmin_) / cellW_, nx_); }
    int cellY(double y) const { return index((y - ymin_) / cellH_, ny_); }
    int countX() const { return nx_; }
    int countY() const { return ny_; }
    // The first segment of cell (i, j) for which `accept` holds, or null.
    template <class Accept>
    const Segment* findInCell(int i, int j, const Accept& accept) const {
        const std::size_t c = slot(i, j);
        for (std::size_t at = starts_[c]; at < starts_[c + 1]; ++at)
            if (accept(segments_[at])) return &segments_[at];
        return nullptr;
    }

private:
    template <class Use>
    void forEachCell(const StreamlineList& lines, const Use& use) const {
        forEachSegment(lines, [&](const Segment& s) {
            const int i0 = cellX(std::min(s.ax, s.bx));
            const int i1 = cellX(std::max(s.ax, s.bx));
            const int j0 = cellY(std::min(s.ay, s.by));
            const int j1 = cellY(std::max(s.ay, s.by));
            for (int i = i0; i <= i1; ++i)
                for (int j = j0; j <= j1; ++j) use(slot(i, j), s);
        });
    }
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
    std::vector<std::size_t> starts_;  // cell c holds segments_[starts_[c], starts_[c + 1])
    std::vector<Segment> segments_;
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
    const double reach = static_cast<double>(dsep);
    const double reach2 = reach * reach;
    const SegmentBuckets buckets(lines, box, reach);
    if (buckets.empty()) return 0.0;
    const double pixelW = static_cast<double>(box.width()) / raster.nx;
    const double pixelH = static_cast<double>(box.height()) / raster.ny;

    // Rows in two halves side by side. A pixel is mostly near the segment
    // that covered the pixel before it, else near one in its own cell: those
    // are tried first.
    long long covered[2] = {0, 0};
    long long counted[2] = {0, 0};
    const auto near = [&](double px, double py, int ci, int cj, const Segment*& recent) {
        const auto within = [&](const Segment& s) { return squaredDistanceToSegment(px, py, s) <= reach2; };
        if (recent && within(*recent)) return true;
        const auto inCell = [&](int a, int b) {
            const Segment* found = buckets.findInCell(a, b, within);
            if (found) recent = found;
            return found != nullptr;
        };
        if (inCell(ci, cj)) return true;
        for (int a = std::max(ci - 1, 0); a <= std::min(ci + 1, buckets.countX() - 1); ++a)
            for (int b = std::max(cj - 1, 0); b <= std::min(cj + 1, buckets.countY() - 1); ++b)
                if ((a != ci || b != cj) && inCell(a, b)) return true;
        return false;
    };
    inTwoHalves(static_cast<std::size_t>(raster.ny), 256, [&](std::size_t begin, std::size_t end) {
        const std::size_t half = begin == 0 ? 0 : 1;
        const Segment* recent = nullptr;
        for (std::size_t row = begin; row < end; ++row) {
            const double py = box.ymin + (static_cast<double>(row) + 0.5) * pixelH;
            const int cj = buckets.cellY(py);
            for (int i = 0; i < raster.nx; ++i) {
                const double px = box.xmin + (i + 0.5) * pixelW;
                if (counts && !counts(px, py)) continue;
                ++counted[half];
                if (near(px, py, buckets.cellX(px), cj, recent)) ++covered[half];
            }
        }
    });
    const long long all = counted[0] + counted[1];
    return all > 0 ? static_cast<double>(covered[0] + covered[1]) / static_cast<double>(all) : 0.0;
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
