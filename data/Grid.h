#pragma once

#include "data/Vec3.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

// The 40-byte text block at the start of a grid file:
// "SN4DB <dimX> <dimY> <dimZ> <channels> <timesteps> <real>", padded.
struct GridHeader {
    static constexpr std::size_t size = 40;
    using Bytes = std::array<char, size>;

    int dims[3] = {0, 0, 0};
    int channelCount = 0;
    int timeStepCount = 0;
    float real = 0.0f;
    int valuesParsed = 0;  // numbers read after the magic, 0 to 6

    // Parses a NUL-terminated copy of the block, so a header without a
    // terminator is never read past its 40 bytes. Returns false when the
    // magic is missing or a number is malformed or out of int range before
    // `wanted` numbers were read; `error` then says why.
    static bool parse(const Bytes& bytes, int wanted, GridHeader& out, std::string& error);
};

// A rectilinear grid of dims[0] x dims[1] nodes (x grows with the column i,
// y with the row j), stored either with x varying fastest (normal) or with y
// varying fastest (flipped). Node indices are storage positions; -1 is "no node".
class Grid {
public:
    Grid() = default;

    // Reads the node records that follow the header in `file` and derives the
    // bounding box, cell size and storage order. Prints the dimension and
    // boundary lines. False, with a message on stderr, for a bad header, a z
    // dimension other than 1, fewer than 2 nodes along x or y, a node count
    // too large to index, or a file shorter than its records.
    bool read(const GridHeader::Bytes& header, std::istream& file, bool swapBytes);

    // Takes the nodes as read (dimX x dimY records in storage order) and
    // derives corners, extent, cell size and the storage order; prints nothing.
    // Needs dimX, dimY >= 2 and nodes.size() == dimX * dimY; false otherwise.
    bool setNodes(int dimX, int dimY, std::vector<Vec3> nodes);

    int width() const { return flipped_ ? dims_[1] : dims_[0]; }   // length of a stored row
    int height() const { return flipped_ ? dims_[0] : dims_[1]; }  // number of stored rows
    bool isFlipped() const { return flipped_; }

    const std::array<int, 3>& dims() const { return dims_; }
    int nodeCount() const { return dims_[0] * dims_[1]; }
    const std::vector<Vec3>& nodes() const { return nodes_; }
    const Vec3& minCorner() const { return minCorner_; }
    const Vec3& maxCorner() const { return maxCorner_; }
    const Vec3& extent() const { return extent_; }
    float cellWidth() const { return cellWidth_; }
    float cellHeight() const { return cellHeight_; }

    int nodeIndex(int i, int j) const { return flipped_ ? i * dims_[1] + j : j * dims_[0] + i; }
    int column(int k) const { return flipped_ ? k / dims_[1] : k % dims_[0]; }
    int row(int k) const { return flipped_ ? k % dims_[1] : k / dims_[0]; }

    int rightNeighbor(int k) const;
    int leftNeighbor(int k) const;
    int aboveNeighbor(int k) const;
    int belowNeighbor(int k) const;

    Vec3 node(int k) const { return nodes_[static_cast<std::size_t>(k)]; }
    float nodeX(int k) const { return nodes_[static_cast<std::size_t>(k)].x; }
    float nodeY(int k) const { return nodes_[static_cast<std::size_t>(k)].y; }

    // [0, 1] x [0, 1] over the bounding box to world coordinates; u, v <= 1
    // never land beyond the right or top edge through rounding.
    Vec3 fromNormalized(const Vec3& p) const;

    // How the nodes around a position are found. Binary: a binary search
    // along one row and one column, started from the uniform-spacing guess.
    // Auto: on a rectilinear grid whose axis has (nearly) uniform spacing, a
    // position strictly between two node coordinates is placed by its
    // spacing in constant time; everything else (node coordinates, other
    // axes, outside, NaN) takes the search. Both give the same nodes.
    enum class Search { Auto, Binary };

    // Nearest of the four nodes around p.
    int nearestNode(const Vec3& p, Search search = Search::Auto) const;

    // The cell around p: corners in the order (low x, low y), (high x, low y),
    // (low x, high y), (high x, high y) and their bilinear weights. On a grid
    // line or node the unused corners get index 0 and weight 0. False when p
    // lies outside the bounding box (the boundary is inside) or is NaN.
    bool locateCell(const Vec3& p, std::array<int, 4>& corners, std::array<float, 4>& weights,
                    Search search = Search::Auto) const {
        // Strictly inside a cell of a rectilinear grid, every nearest corner
        // gives that cell's four corners, in this order, and these weights.
        // Inline: streamline tracing samples here twice a step.
        if (search == Search::Auto && uniformX_ && uniformY_ && !nodes_.empty() && p.x >= minCorner_.x &&
            p.y >= minCorner_.y && p.x <= maxCorner_.x && p.y <= maxCorner_.y) {
            const int i = axisX_.interval(p.x);
            const int j = i >= 0 ? axisY_.interval(p.y) : -1;
            if (j >= 0) {
                corners = {nodeIndex(i, j), nodeIndex(i + 1, j), nodeIndex(i, j + 1), nodeIndex(i + 1, j + 1)};
                const float* xs = axisX_.at.data();
                const float* ys = axisY_.at.data();
                const float a = firstShare(std::abs(xs[i] - p.x), std::abs(xs[i + 1] - p.x));
                const float b = firstShare(std::abs(ys[j] - p.y), std::abs(ys[j + 1] - p.y));
                weights = {a * b, (1.0f - a) * b, a * (1.0f - b), (1.0f - a) * (1.0f - b)};
                return true;
            }
        }
        return locateCellSearched(p, corners, weights, search);
    }

    // Whether every row holds the same x coordinates and every column the
    // same y coordinates (compared with ==, so no node is NaN).
    bool isRectilinear() const { return rectilinear_; }
    // Whether Search::Auto can place positions by spacing along x and y.
    bool hasUniformX() const { return uniformX_; }
    bool hasUniformY() const { return uniformY_; }

private:
    // Node coordinates along one axis of a rectilinear grid, strictly
    // increasing, with the spacing the constant-time lookup guesses from.
    struct Axis {
        std::vector<float> at;
        float origin = 0.0f;
        float inverseStep = 0.0f;
        // The interval k of `at` with at[k] < t < at[k + 1], or -1.
        int interval(float t) const {
            const float q = (t - origin) * inverseStep;
            const int last = static_cast<int>(at.size()) - 2;
            if (!(q > -1.0f && q < static_cast<float>(last) + 2.0f)) return -1;
            int k = q <= 0.0f ? 0 : (q >= static_cast<float>(last) ? last : static_cast<int>(q));
            const float* a = at.data();
            if (!(t > a[k])) {
                if (k == 0) return -1;
                --k;
            } else if (!(t < a[k + 1])) {
                if (k == last) return -1;
                ++k;
            }
            return a[k] < t && t < a[k + 1] ? k : -1;
        }
    };

    // Share of the first of two nodes at distances d0 and d1 from the
    // position. Two coincident nodes (d0 + d1 = 0) give it everything.
    static float firstShare(float d0, float d1) {
        const float sum = d1 + d0;
        return sum != 0.0f ? d1 / sum : 1.0f;
    }
    // locateCell for the positions its inline part does not place.
    bool locateCellSearched(const Vec3& p, std::array<int, 4>& corners, std::array<float, 4>& weights,
                            Search search) const;

    // The columns i0 <= i1 (rows j0 <= j1) around p: adjacent, or equal when
    // p lies on a grid line. g is the node the search starts from.
    std::pair<int, int> columnsAround(const Vec3& p, int g, Search search) const;
    std::pair<int, int> rowsAround(const Vec3& p, int g, Search search) const;
    int nearestCandidate(const Vec3& p, const std::array<int, 4>& candidates) const;
    void findUniformAxes();
    // The cross coordinates of stored line `line` (a column in the normal
    // order, a row in the flipped one).
    const float* crossLine(int line) const;

    std::array<int, 3> dims_{{0, 0, 0}};
    std::vector<Vec3> nodes_;
    Vec3 minCorner_;
    Vec3 maxCorner_;
    Vec3 extent_;
    float cellWidth_ = 0.0f;
    float cellHeight_ = 0.0f;
    bool flipped_ = false;
    // The coordinate searched across stored rows (y in the normal order, x
    // in the flipped one), laid out line by line so that this search reads
    // neighbouring floats instead of one memory page per step.
    // One line only when the grid is rectilinear.
    std::vector<float> crossCoordinate_;
    Axis axisX_;
    Axis axisY_;
    bool rectilinear_ = false;
    bool uniformX_ = false;
    bool uniformY_ = false;
};
