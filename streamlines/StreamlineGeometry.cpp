#include "streamlines/StreamlineGeometry.h"

#include "streamlines/StreamlineSet.h"

#include <algorithm>
#include <cmath>

StreamlineView::StreamlineView(const DomainBox& box, QuadSize quad) : box_(box) {
    const float ex = box.width();
    const float ey = box.height();
    if (!quad.isValid() || !(ex > 0.0f) || !(ey > 0.0f) || !std::isfinite(ex) || !std::isfinite(ey)) return;
    quadWidth_ = quad.width;
    quadHeight_ = quad.height;
    offsetX_ = -box.xmin - 0.5f * ex;
    offsetY_ = -box.ymin - 0.5f * ey;
    scaleX_ = quadWidth_ / ex;
    scaleY_ = quadHeight_ / ey;
    valid_ = true;
}

void StreamlineView::clamp(float& x, float& y) const {
    if (x < box_.xmin) x = box_.xmin;
    else if (x > box_.xmax) x = box_.xmax;
    if (y < box_.ymin) y = box_.ymin;
    else if (y > box_.ymax) y = box_.ymax;
}

ViewVertex StreamlineView::map(float x, float y) const {
    clamp(x, y);
    return ViewVertex{(x + offsetX_) * scaleX_, (y + offsetY_) * scaleY_, -0.5f};
}

float taperWidth(float d, float dsep, float dtest, float maxWidth, float minWidth) {
    float e = 1.0f;
    if (!(d >= dsep)) {
        // With dsep <= dtest every distance below dsep is below dtest too.
        e = dsep > dtest ? (d - dtest) / (dsep - dtest) : 0.0f;
    }
    float width = maxWidth * e;
    if (minWidth > width) width = minWidth;
    return width;
}

double textureGrey(int index, int period, int function) {
    const int p = period < 1 ? 1 : period;
    if (function == 0) return (std::sin(index * 6.2831854820251465 / p) + 1.0) * 0.5;
    if (p == 1) return 1.0;
    return static_cast<double>(static_cast<float>(index % p) / static_cast<float>(p - 1));
}

std::array<float, 3> LineStyle::colorAt(float value) const {
    switch (color) {
    case LineColor::Black: return {0.0f, 0.0f, 0.0f};
    case LineColor::Chosen: return chosen;
    case LineColor::BySpeed:
        if (speedTable) {
            // The texel the arrows' texture lookup takes at this coordinate.
            const float t = value >= 0.0f ? value : 0.0f;
            const int texel = t < 1.0f ? static_cast<int>(t * 4096.0f) : 4095;
            const std::uint8_t* c = speedTable + 4 * texel;
            return {c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f};
        }
        break;
    case LineColor::White: break;
    }
    return {1.0f, 1.0f, 1.0f};
}

namespace {
// The value of point k of line l; 0 without values.
float valueOf(const LineValues* values, std::size_t l, std::size_t k) {
    if (!values || l >= values->size() || k >= (*values)[l].size()) return 0.0f;
    return (*values)[l][k];
}

ViewVertex withValue(ViewVertex v, float value) {
    v.value = value;
    return v;
}
}  // namespace

std::vector<std::size_t> drawnPoints(const Streamline& line, const StreamlineView& view, float tolerance,
                                     const std::vector<DrawnLevel>& levels) {
    const auto& points = line.points;
    const std::size_t n = points.size();
    std::vector<std::size_t> kept;
    if (!(tolerance > 0.0f) || n <= 2) {
        for (std::size_t k = 0; k < n; ++k) kept.push_back(k);
        return kept;
    }
    std::vector<ViewVertex> at;
    at.reserve(n);
    for (const StreamPoint* p : points) at.push_back(view.map(p->x(), p->y()));

    // A run from its anchor keeps, for every point it passes, the directions
    // from the anchor whose ray passes within the tolerance of that point,
    // and likewise the slopes of each level; the run ends before the first
    // point outside what is left, or one that comes back towards the anchor.
    constexpr double kPi = 3.14159265358979323846;
    std::size_t anchor = 0;
    bool hasReference = false;
    double refX = 0.0, refY = 0.0, low = -kPi, high = kPi, farthest = 0.0;
    std::vector<double> lowSlope(levels.size()), highSlope(levels.size());
    const auto startRun = [&](std::size_t a) {
        anchor = a;
        hasReference = false;
        low = -kPi;
        high = kPi;
        farthest = 0.0;
        std::fill(lowSlope.begin(), lowSlope.end(), -HUGE_VAL);
        std::fill(highSlope.begin(), highSlope.end(), HUGE_VAL);
    };
    const auto fits = [&](std::size_t k) {
        const double dx = at[k].x - at[anchor].x;
        const double dy = at[k].y - at[anchor].y;
        const double r = std::sqrt(dx * dx + dy * dy);
        if (r < farthest - tolerance) return false;
        if (r > tolerance) {
            if (!hasReference) {
                hasReference = true;
                refX = dx / r;
                refY = dy / r;
            }
            const double angle = std::atan2(refX * dy - refY * dx, refX * dx + refY * dy);
            if (angle < low || angle > high) return false;
            const double spread = std::asin(tolerance / r);
            low = std::max(low, angle - spread);
            high = std::min(high, angle + spread);
        }
        farthest = std::max(farthest, r);
        const double steps = static_cast<double>(k - anchor);
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const double change = levels[i].values[k] - levels[i].values[anchor];
            const double slope = change / steps;
            if (slope < lowSlope[i] || slope > highSlope[i]) return false;
            lowSlope[i] = std::max(lowSlope[i], (change - levels[i].tolerance) / steps);
            highSlope[i] = std::min(highSlope[i], (change + levels[i].tolerance) / steps);
        }
        return true;
    };

    kept.push_back(0);
    startRun(0);
    for (std::size_t k = 1; k + 1 < n; ++k) {
        if (fits(k)) continue;
        // The point before always fits the run (the first after an anchor
        // does): it ends this run and starts the next.
        kept.push_back(k - 1);
        startRun(k - 1);
        fits(k);
    }
    kept.push_back(n - 1);
    return kept;
}

namespace {
// Levels of line l for drawnPoints: its values when there is one per point.
std::vector<DrawnLevel> valueLevels(const LineValues* values, std::size_t l, std::size_t points) {
    if (!values || l >= values->size() || (*values)[l].size() != points) return {};
    return {DrawnLevel{(*values)[l].data(), kValueTolerance}};
}
}  // namespace

std::vector<VertexBlock> buildLineStrips(const StreamlineSet& set, const StreamlineView& view, const LineValues* values,
                                         float tolerance) {
    std::vector<VertexBlock> blocks;
    if (!view.isValid()) return blocks;
    const auto& lines = set.streamlines();
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const auto& points = lines[l]->points;
        VertexBlock block;
        for (std::size_t k : drawnPoints(*lines[l], view, tolerance, valueLevels(values, l, points.size())))
            block.push_back(withValue(view.map(points[k]->x(), points[k]->y()), valueOf(values, l, k)));
        blocks.push_back(std::move(block));
    }
    return blocks;
}

std::vector<std::vector<GreyVertex>> buildTexturedStrips(const StreamlineSet& set, const StreamlineView& view,
                                                         int period, int function, float tolerance) {
    std::vector<std::vector<GreyVertex>> blocks;
    if (!view.isValid()) return blocks;
    std::vector<float> greys;
    for (const auto& line : set.streamlines()) {
        greys.clear();
        for (const StreamPoint* p : line->points)
            greys.push_back(static_cast<float>(textureGrey(p->index(), period, function)));
        std::vector<GreyVertex> block;
        for (std::size_t k : drawnPoints(*line, view, tolerance, {DrawnLevel{greys.data(), kValueTolerance}})) {
            const StreamPoint* p = line->points[k];
            block.push_back(GreyVertex{view.map(p->x(), p->y()), greys[k]});
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

namespace {

struct Vec2 {
    float x;
    float y;
};

// Unit normal (-dy, dx) of a segment; a zero-length segment has none.
Vec2 unitNormal(Vec2 from, Vec2 to) {
    const float nx = -(to.y - from.y);
    const float ny = to.x - from.x;
    const float len = std::sqrt(nx * nx + ny * ny);
    if (len == 0.0f) return Vec2{0.0f, 0.0f};
    const float inv = 1.0f / len;
    return Vec2{nx * inv, ny * inv};
}

}  // namespace

std::vector<VertexBlock> buildTaperedQuads(const StreamlineSet& set, const StreamlineView& view,
                                           const std::vector<std::vector<float>>& distances, float maxWidth,
                                           float minWidth, const LineValues* values, float tolerance) {
    std::vector<VertexBlock> blocks;
    if (!view.isValid()) return blocks;
    const float dsep = set.dsep();
    const float dtest = set.dtest();
    const auto& lines = set.streamlines();
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const auto& points = lines[l]->points;
        VertexBlock block;
        if (points.size() >= 2 && l < distances.size() && distances[l].size() == points.size()) {
            // The band's width in view units goes straight between the points drawn.
            std::vector<float> widths;
            for (float d : distances[l])
                widths.push_back(taperWidth(d, dsep, dtest, maxWidth, minWidth) * view.scale());
            std::vector<DrawnLevel> levels = valueLevels(values, l, points.size());
            levels.push_back(DrawnLevel{widths.data(), tolerance});
            const std::vector<std::size_t> kept = drawnPoints(*lines[l], view, tolerance, levels);
            block.reserve((kept.size() - 1) * 8);
            float d0 = distances[l][0];
            Vec2 o{0.0f, 0.0f};
            float value = 0.0f;
            auto emit = [&](float x, float y) { block.push_back(withValue(view.map(x, y), value)); };
            for (std::size_t n = 1; n < kept.size(); ++n) {
                const std::size_t j = kept[n - 1];
                const std::size_t k = kept[n];
                const float q0 = valueOf(values, l, j);
                const float p1 = valueOf(values, l, k);
                const float mid = (q0 + p1) / 2.0f;
                Vec2 q{points[j]->x(), points[j]->y()};
                Vec2 p{points[k]->x(), points[k]->y()};
                view.clamp(q.x, q.y);
                view.clamp(p.x, p.y);
                const float d1 = distances[l][k];
                const float wm = taperWidth((d0 + d1) / 2.0f, dsep, dtest, maxWidth, minWidth);
                const float w1 = taperWidth(d1, dsep, dtest, maxWidth, minWidth);
                const Vec2 m{q.x + (p.x - q.x) / 2.0f, q.y + (p.y - q.y) / 2.0f};
                const Vec2 na = unitNormal(q, m);
                const Vec2 nb = unitNormal(m, p);
                const Vec2 a{na.x * w1, na.y * w1};
                const Vec2 b{nb.x * wm, nb.y * wm};
                const Vec2 prev = (o.x == 0.0f && o.y == 0.0f) ? b : o;
                value = q0;
                emit(q.x - prev.x / 2.0f, q.y - prev.y / 2.0f);
                value = mid;
                emit(m.x - b.x / 2.0f, m.y - b.y / 2.0f);
                emit(m.x + b.x / 2.0f, m.y + b.y / 2.0f);
                value = q0;
                emit(q.x + prev.x / 2.0f, q.y + prev.y / 2.0f);
                value = mid;
                emit(m.x - b.x / 2.0f, m.y - b.y / 2.0f);
                value = p1;
                emit(p.x - a.x / 2.0f, p.y - a.y / 2.0f);
                emit(p.x + a.x / 2.0f, p.y + a.y / 2.0f);
                value = mid;
                emit(m.x + b.x / 2.0f, m.y + b.y / 2.0f);
                o = a;
                d0 = d1;
            }
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

VertexBlock bandOutline(const VertexBlock& quads) {
    // Each segment's eight vertices: Q-, M-, M+, Q+, M-, P-, P+, M+.
    const std::size_t segments = quads.size() / 8;
    VertexBlock loop;
    if (segments == 0) return loop;
    loop.push_back(quads[0]);
    for (std::size_t s = 0; s < segments; ++s) {
        loop.push_back(quads[8 * s + 1]);
        loop.push_back(quads[8 * s + 5]);
    }
    for (std::size_t s = segments; s-- > 0;) {
        loop.push_back(quads[8 * s + 6]);
        loop.push_back(quads[8 * s + 2]);
    }
    loop.push_back(quads[3]);
    return loop;
}

std::vector<VertexBlock> buildGlyphTriangles(const StreamlineSet& set, const StreamlineView& view, float spacing,
                                             const LineValues* values) {
    std::vector<VertexBlock> blocks;
    if (!view.isValid()) return blocks;
    const bool spaced = spacing > 0.0f && std::isfinite(spacing);
    // A wedge's short side is its length D / 40 (in data units) added in view
    // units, which at the start spacing of 0.3 makes it 0.0075 view units
    // wide. Scaled by 0.3 / spacing it keeps that width at any spacing, so a
    // spacing fitted to a tiny or a huge box still draws visible wedges.
    const float widthScale = spaced ? 0.3f / spacing : 0.0f;
    const auto& lines = set.streamlines();
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const auto& points = lines[l]->points;
        VertexBlock block;
        if (spaced && !points.empty()) {
            Vec2 base{points[0]->x(), points[0]->y()};
            view.clamp(base.x, base.y);
            float baseValue = valueOf(values, l, 0);
            Vec2 q = base;
            float s = 0.0f;
            for (std::size_t k = 1; k < points.size(); ++k) {
                Vec2 p{points[k]->x(), points[k]->y()};
                view.clamp(p.x, p.y);
                const float dx = p.x - q.x;
                const float dy = p.y - q.y;
                s += std::sqrt(dx * dx + dy * dy);
                if (s >= spacing) {
                    // The new base lies where the accumulated length reaches
                    // the spacing; the length then restarts from q, not base.
                    const float f = (s - spacing) / s;
                    const Vec2 n{q.x + dx * (1.0f - f), q.y + dy * (1.0f - f)};
                    const float q0 = valueOf(values, l, k - 1);
                    const float nValue = q0 + (valueOf(values, l, k) - q0) * (1.0f - f);
                    const Vec2 d{n.x - base.x, n.y - base.y};
                    const ViewVertex b = withValue(view.map(base.x, base.y), baseValue);
                    block.push_back(b);
                    block.push_back(
                        ViewVertex{b.x - d.y / 40.0f * widthScale, b.y + d.x / 40.0f * widthScale, b.z, baseValue});
                    block.push_back(withValue(view.map(n.x, n.y), nValue));
                    const float rx = n.x - q.x;
                    const float ry = n.y - q.y;
                    s = std::sqrt(rx * rx + ry * ry);
                    base = n;
                    baseValue = nValue;
                }
                q = p;
            }
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}
