#include "data/Grid.h"

#include "common/ConsoleLog.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <limits>
#include <ostream>
#include <utility>

namespace {

const char kMagic[] = "SN4DB";

void swapFloatBytes(float* values, std::size_t count) {
    auto* bytes = reinterpret_cast<unsigned char*>(values);
    for (std::size_t k = 0; k < count; ++k, bytes += 4) {
        std::swap(bytes[0], bytes[3]);
        std::swap(bytes[1], bytes[2]);
    }
}

// Bytes left in a seekable stream, or -1 when the stream cannot tell.
std::streamoff remainingBytes(std::istream& file) {
    const std::streampos here = file.tellg();
    if (here < 0) return -1;
    file.seekg(0, std::ios::end);
    const std::streampos end = file.tellg();
    file.seekg(here);
    if (end < 0 || !file) {
        file.clear();
        file.seekg(here);
        return -1;
    }
    return end - here;
}

// Truncation toward zero of q, kept within 0 .. last so that a position just
// outside the grid (or NaN) never yields an index outside it.
int clampedCell(float q, int last) {
    if (!(q >= 0.0f)) return 0;
    if (q >= static_cast<float>(last)) return last;
    return static_cast<int>(q);
}

}  // namespace

bool GridHeader::parse(const Bytes& bytes, int wanted, GridHeader& out, std::string& error) {
    char text[size + 1];
    std::memcpy(text, bytes.data(), size);
    text[size] = '\0';

    out = GridHeader();
    if (std::strncmp(text, kMagic, sizeof(kMagic) - 1) != 0) {
        error = "header does not begin with \"SN4DB\"";
        return false;
    }
    const char* cursor = text + sizeof(kMagic) - 1;
    int* ints[5] = {&out.dims[0], &out.dims[1], &out.dims[2], &out.channelCount, &out.timeStepCount};
    for (int k = 0; k < wanted && k < 6; ++k) {
        char* end = nullptr;
        errno = 0;
        if (k < 5) {
            const long value = std::strtol(cursor, &end, 10);
            if (end == cursor) break;
            if (errno == ERANGE || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
                error = "header number " + std::to_string(k + 1) + " is out of range";
                return false;
            }
            *ints[k] = static_cast<int>(value);
        } else {
            const float value = std::strtof(cursor, &end);
            if (end == cursor) break;
            out.real = value;
        }
        cursor = end;
        out.valuesParsed = k + 1;
    }
    if (out.valuesParsed < wanted) {
        error = "header has " + std::to_string(out.valuesParsed) + " of its " + std::to_string(wanted) + " numbers";
        return false;
    }
    return true;
}

bool Grid::read(const GridHeader::Bytes& header, std::istream& file, bool swapBytes) {
    *this = Grid();
    GridHeader parsed;
    std::string error;
    if (!GridHeader::parse(header, 3, parsed, error)) {
        consoleErr() << "+ Error reading grid file: " << error << ".\n\n";
        return false;
    }
    dims_ = {parsed.dims[0], parsed.dims[1], parsed.dims[2]};
    consoleOut() << "Dimensions: " << dims_[0] << " x " << dims_[1] << " x " << dims_[2] << "\n";
    if (dims_[2] != 1) {
        consoleErr() << "Invalid Z dimension value.\n";
        return false;
    }
    if (dims_[0] < 2 || dims_[1] < 2) {
        consoleErr() << "+ Error reading grid file: fewer than 2 nodes along x or y.\n\n";
        return false;
    }
    const std::int64_t count = static_cast<std::int64_t>(dims_[0]) * dims_[1];
    if (count > std::numeric_limits<int>::max() ||
        static_cast<std::uint64_t>(count) > std::numeric_limits<std::size_t>::max() / sizeof(Vec3)) {
        consoleErr() << "+ Error reading grid file: too many nodes.\n\n";
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(Vec3);
    // A file too short for its records fails before the allocation, so a
    // header with absurd counts cannot make us reserve gigabytes.
    const std::streamoff available = remainingBytes(file);
    if (available >= 0 && static_cast<std::uint64_t>(available) < bytes) {
        consoleErr() << "+ Error reading grid file.\n\n";
        return false;
    }
    std::vector<Vec3> nodes(static_cast<std::size_t>(count));
    file.read(reinterpret_cast<char*>(nodes.data()), static_cast<std::streamsize>(bytes));
    if (static_cast<std::size_t>(file.gcount()) != bytes) {
        consoleErr() << "+ Error reading grid file.\n\n";
        return false;
    }
    if (swapBytes) swapFloatBytes(&nodes[0].x, nodes.size() * 3);

    const int dimZ = dims_[2];
    setNodes(dims_[0], dims_[1], std::move(nodes));
    dims_[2] = dimZ;
    if (flipped_) consoleOut() << "Flipped Y and X dimensions.\n";
    consoleOut() << "X Boundaries: " << minCorner_.x << " ... " << maxCorner_.x << "\n";
    consoleOut() << "Y Boundaries: " << minCorner_.y << " ... " << maxCorner_.y << "\n";
    return true;
}

bool Grid::setNodes(int dimX, int dimY, std::vector<Vec3> nodes) {
    if (dimX < 2 || dimY < 2 || static_cast<std::int64_t>(dimX) * dimY > std::numeric_limits<int>::max() ||
        nodes.size() != static_cast<std::size_t>(dimX) * static_cast<std::size_t>(dimY))
        return false;
    dims_ = {dimX, dimY, 1};
    nodes_ = std::move(nodes);
    minCorner_ = nodes_.front();
    maxCorner_ = nodes_.back();
    extent_ = maxCorner_ - minCorner_;
    cellWidth_ = extent_.x / static_cast<float>(dimX - 1);
    cellHeight_ = extent_.y / static_cast<float>(dimY - 1);
    // The file does not say its storage order. In the normal order record
    // dimX - 1 ends the bottom row; in the flipped order it usually lies
    // above the middle.
    const double middle = (static_cast<double>(minCorner_.y) + static_cast<double>(maxCorner_.y)) * 0.5;
    flipped_ = middle < static_cast<double>(nodes_[static_cast<std::size_t>(dimX - 1)].y);

    findUniformAxes();

    // On a rectilinear grid every line holds the same cross coordinates:
    // one line stands for all of them.
    const std::size_t lines = static_cast<std::size_t>(flipped_ ? dimY : dimX);
    const std::size_t perLine = static_cast<std::size_t>(flipped_ ? dimX : dimY);
    const std::size_t stored = rectilinear_ ? 1 : lines;
    crossCoordinate_.assign(stored * perLine, 0.0f);
    for (std::size_t along = 0; along < perLine; ++along)
        for (std::size_t line = 0; line < stored; ++line) {
            const Vec3& n = nodes_[along * lines + line];
            crossCoordinate_[line * perLine + along] = flipped_ ? n.x : n.y;
        }
    return true;
}

const float* Grid::crossLine(int line) const {
    const std::size_t perLine = static_cast<std::size_t>(flipped_ ? dims_[0] : dims_[1]);
    return &crossCoordinate_[(rectilinear_ ? 0 : static_cast<std::size_t>(line)) * perLine];
}

// The constant-time lookup needs every row to share the column coordinates
// and every column the row coordinates (a rectilinear grid), strictly
// increasing; it pays off when the spacing is close enough to uniform that
// the guess lands within one interval.
void Grid::findUniformAxes() {
    rectilinear_ = uniformX_ = uniformY_ = false;
    axisX_ = Axis();
    axisY_ = Axis();
    const int nx = dims_[0];
    const int ny = dims_[1];
    std::vector<float> xs(static_cast<std::size_t>(nx));
    std::vector<float> ys(static_cast<std::size_t>(ny));
    for (int i = 0; i < nx; ++i) xs[static_cast<std::size_t>(i)] = nodeX(nodeIndex(i, 0));
    for (int j = 0; j < ny; ++j) ys[static_cast<std::size_t>(j)] = nodeY(nodeIndex(0, j));
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const Vec3& n = nodes_[static_cast<std::size_t>(nodeIndex(i, j))];
            if (!(n.x == xs[static_cast<std::size_t>(i)]) || !(n.y == ys[static_cast<std::size_t>(j)])) return;
        }
    rectilinear_ = true;
    auto uniform = [](std::vector<float>& at, Axis& axis) {
        const std::size_t n = at.size();
        for (std::size_t k = 1; k < n; ++k)
            if (!(at[k - 1] < at[k])) return false;
        const double origin = at.front();
        const double step = (static_cast<double>(at.back()) - origin) / static_cast<double>(n - 1);
        if (!std::isfinite(step) || !(step > 0.0)) return false;
        for (std::size_t k = 0; k < n; ++k)
            if (!(std::fabs(static_cast<double>(at[k]) - (origin + static_cast<double>(k) * step)) <= 0.25 * step))
                return false;
        axis.origin = at.front();
        axis.inverseStep = static_cast<float>(1.0 / step);
        if (!std::isfinite(axis.inverseStep) || !(axis.inverseStep > 0.0f)) return false;
        axis.at = std::move(at);
        return true;
    };
    uniformX_ = uniform(xs, axisX_);
    uniformY_ = uniform(ys, axisY_);
}

// The guess may miss by one interval either way; anything else, and every
// t on a node coordinate, is left to the search (which, on a node
// coordinate, may settle on either interval beside it).
int Grid::rightNeighbor(int k) const {
    if (k < 0) return -1;
    const int i = column(k);
    return i + 1 < dims_[0] ? nodeIndex(i + 1, row(k)) : -1;
}

int Grid::leftNeighbor(int k) const {
    if (k < 0) return -1;
    const int i = column(k);
    return i > 0 ? nodeIndex(i - 1, row(k)) : -1;
}

int Grid::aboveNeighbor(int k) const {
    if (k < 0) return -1;
    const int j = row(k);
    return j + 1 < dims_[1] ? nodeIndex(column(k), j + 1) : -1;
}

int Grid::belowNeighbor(int k) const {
    if (k < 0) return -1;
    const int j = row(k);
    return j > 0 ? nodeIndex(column(k), j - 1) : -1;
}

Vec3 Grid::fromNormalized(const Vec3& p) const {
    Vec3 world(p.x * extent_.x + minCorner_.x, p.y * extent_.y + minCorner_.y, p.z + minCorner_.z);
    // extent + min can round past max (0.1 .. 0.7 gives 0.70000005): keep
    // u, v <= 1 on the grid so the right and top edges are not "outside".
    if (p.x <= 1.0f && world.x > maxCorner_.x) world.x = maxCorner_.x;
    if (p.y <= 1.0f && world.y > maxCorner_.y) world.y = maxCorner_.y;
    return world;
}

namespace {

// Binary search between node indices lo and hi, `step` apart per grid line,
// for the two lines that bracket `target`; coordinate(k) gives the searched
// coordinate of node k. Returns the bracketing indices (equal on a hit).
// Stops on adjacent lines or when lo meets hi, so it always terminates,
// even for a target outside the grid.
template <typename Coordinate>
std::pair<int, int> bracket(int g, int first, int last, int step, float target, Coordinate coordinate) {
    int lo;
    int hi;
    const float at = coordinate(g);
    if (at > target) {
        hi = g;
        lo = first;
    } else if (target > at) {
        lo = g;
        hi = last;
    } else {
        return {g, g};
    }
    while (hi - lo > step) {
        const int s = (hi - lo) / step;
        const int m = lo + (s / 2) * step;
        const float c = coordinate(m);
        if (c > target) hi = m;
        else if (target > c) lo = m;
        else return {m, m};
    }
    return {lo, hi};
}

}  // namespace

// On a rectilinear grid every row holds the same x coordinates and every
// column the same y coordinates, so an axis's interval found by spacing is
// the bracket the search along the row or column of g finds.
std::pair<int, int> Grid::columnsAround(const Vec3& p, int g, Search search) const {
    const int i = search == Search::Auto && uniformX_ ? axisX_.interval(p.x) : -1;
    if (i >= 0) return {i, i + 1};
    const int nx = dims_[0];
    const int ny = dims_[1];
    if (!flipped_) {
        const int rowStart = (g / nx) * nx;
        const auto cols = bracket(g, rowStart, rowStart + nx - 1, 1, p.x, [this](int k) { return nodeX(k); });
        return {cols.first % nx, cols.second % nx};
    }
    const int j = g % ny;
    const float* rowX = crossLine(j);
    const auto cols = bracket(g, j, (nx - 1) * ny + j, ny, p.x, [=](int k) { return rowX[k / ny]; });
    return {cols.first / ny, cols.second / ny};
}

std::pair<int, int> Grid::rowsAround(const Vec3& p, int g, Search search) const {
    const int j = search == Search::Auto && uniformY_ ? axisY_.interval(p.y) : -1;
    if (j >= 0) return {j, j + 1};
    const int nx = dims_[0];
    const int ny = dims_[1];
    if (flipped_) {
        const int colStart = (g / ny) * ny;
        const auto rows = bracket(g, colStart, colStart + ny - 1, 1, p.y, [this](int k) { return nodeY(k); });
        return {rows.first % ny, rows.second % ny};
    }
    const int col = g % nx;
    const float* columnY = crossLine(col);
    const auto rows = bracket(g, col, (ny - 1) * nx + col, nx, p.y, [=](int k) { return columnY[k / nx]; });
    return {rows.first / nx, rows.second / nx};
}

// The searches start from g, the node the uniform-spacing guess gives.
// Ties between the four candidates go to the first in the order below.
int Grid::nearestNode(const Vec3& p, Search search) const {
    if (nodes_.empty()) return -1;
    const int gi = clampedCell((p.x - minCorner_.x) / cellWidth_, dims_[0] - 1);
    const int gj = clampedCell((p.y - minCorner_.y) / cellHeight_, dims_[1] - 1);
    const int g = nodeIndex(gi, gj);
    const auto [i0, i1] = columnsAround(p, g, search);
    const auto [j0, j1] = rowsAround(p, g, search);
    if (flipped_)
        return nearestCandidate(p, {nodeIndex(i0, j0), nodeIndex(i0, j1), nodeIndex(i1, j0), nodeIndex(i1, j1)});
    return nearestCandidate(p, {nodeIndex(i0, j1), nodeIndex(i1, j1), nodeIndex(i0, j0), nodeIndex(i1, j0)});
}

int Grid::nearestCandidate(const Vec3& p, const std::array<int, 4>& candidates) const {
    int best = candidates[0];
    float bestDistance = p.distanceSquared(node(best));
    for (std::size_t c = 1; c < 4; ++c) {
        const float d = p.distanceSquared(node(candidates[c]));
        if (d < bestDistance) {
            bestDistance = d;
            best = candidates[c];
        }
    }
    return best;
}

bool Grid::locateCellSearched(const Vec3& p, std::array<int, 4>& corners, std::array<float, 4>& weights,
                              Search search) const {
    // Written as "inside" tests so that NaN positions count as outside.
    if (nodes_.empty() || !(p.x >= minCorner_.x) || !(p.y >= minCorner_.y) || !(p.x <= maxCorner_.x) ||
        !(p.y <= maxCorner_.y))
        return false;

    const int f = nearestNode(p, search);
    const float xf = nodeX(f);
    const float yf = nodeY(f);
    auto left = [this](int k) { return leftNeighbor(k); };
    auto right = [this](int k) { return rightNeighbor(k); };
    auto above = [this](int k) { return aboveNeighbor(k); };
    auto below = [this](int k) { return belowNeighbor(k); };

    if (p.x < xf) {
        if (p.y < yf) corners = {left(below(f)), below(f), left(f), f};
        else if (p.y > yf) corners = {left(f), f, left(above(f)), above(f)};
        else corners = {left(f), f, -1, -1};
    } else if (p.x > xf) {
        if (p.y < yf) corners = {below(f), right(below(f)), f, right(f)};
        else if (p.y > yf) corners = {f, right(f), above(f), above(right(f))};
        else corners = {f, right(f), -1, -1};
    } else {
        if (p.y < yf) corners = {below(f), -1, f, -1};
        else if (p.y > yf) corners = {f, -1, above(f), -1};
        else corners = {f, -1, -1, -1};
    }

    if (corners[1] == -1 && corners[2] == -1 && corners[3] == -1) {
        weights = {1.0f, 0.0f, 0.0f, 0.0f};
        corners[1] = corners[2] = corners[3] = 0;
    } else if (corners[1] == -1 && corners[3] == -1) {
        if (corners[0] < 0 || corners[2] < 0) return false;
        const float d0 = std::abs(nodeY(corners[0]) - p.y);
        const float d2 = std::abs(nodeY(corners[2]) - p.y);
        const float w0 = firstShare(d0, d2);
        weights = {w0, 0.0f, 1.0f - w0, 0.0f};
        corners[1] = corners[3] = 0;
    } else if (corners[2] == -1 && corners[3] == -1) {
        if (corners[0] < 0 || corners[1] < 0) return false;
        const float d0 = std::abs(nodeX(corners[0]) - p.x);
        const float d1 = std::abs(nodeX(corners[1]) - p.x);
        const float w0 = firstShare(d0, d1);
        weights = {w0, 1.0f - w0, 0.0f, 0.0f};
        corners[2] = corners[3] = 0;
    } else {
        // A grid that is not rectilinear can leave a corner without a node;
        // report "not found" rather than index outside the node array.
        for (int c : corners)
            if (c < 0) return false;
        const float a = firstShare(std::abs(nodeX(corners[0]) - p.x), std::abs(nodeX(corners[1]) - p.x));
        const float b = firstShare(std::abs(nodeY(corners[0]) - p.y), std::abs(nodeY(corners[2]) - p.y));
        weights = {a * b, (1.0f - a) * b, a * (1.0f - b), (1.0f - a) * (1.0f - b)};
    }
    return true;
}
