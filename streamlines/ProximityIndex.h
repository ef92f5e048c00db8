#pragma once

#include "streamlines/PointStore.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The registered points of the distance field, cell by cell. Each cell is
// the root of a quadtree whose leaves hold at most leafCapacity points. A
// cell's tree covers a square taken from its points' bounding box when the
// first leaf fills, doubled towards any later point beyond it, and halved
// at every level below; so the tree follows the points at their own scale
// and stays balanced however they arrive (they arrive along lines). The
// cost of a query thus does not grow with how many points crowd a cell (a
// tiny dt, a tiny dtest, coordinates so large that one cell spans the whole
// placement): it visits the nodes whose bounding boxes the query circle
// cuts. The distance to a box is rounded the way the distance to a point
// is, so pruning a node or accepting it whole gives exactly the answer of a
// scan of its points.
class ProximityIndex {
public:
    struct Entry {
        float x;
        float y;
        PointStore::Id id;
        std::int32_t next;  // the next entry of the same leaf, -1 at the end
    };

    // `cells` empty cells.
    void reset(std::size_t cells);
    // Empties every cell; the cells stay.
    void clear();

    void insert(std::size_t cell, float x, float y, PointStore::Id id);

    // Whether a point of the cell lies nearer than the limit:
    // (px - x)^2 + (py - y)^2 < limitSquared, in double. Most cells of a
    // query are empty or out of reach, so that much is decided here.
    bool anyCloser(std::size_t cell, double px, double py, double limitSquared) const {
        return findCloser(cell, px, py, limitSquared) >= 0;
    }
    // The same, naming such a point: its entry index, or -1 when there is none.
    std::int32_t findCloser(std::size_t cell, double px, double py, double limitSquared) const {
        const Node& root = nodes_[cell];
        if (root.isEmpty() || !(nearestSquared(root, px, py) < limitSquared)) return -1;
        return searchCloser(static_cast<std::int32_t>(cell), px, py, limitSquared);
    }
    // The least squared distance below `best` to a point of the cell whose
    // line number differs from `number`; `best` when there is none.
    double nearestOther(std::size_t cell, double px, double py, double best, int number, const PointStore& store) const;

    // The entries of a cell, in the order they were inserted.
    std::vector<Entry> entries(std::size_t cell) const;
    // Entry k, in the order of insertion.
    const Entry& entryAt(std::size_t k) const { return entry(static_cast<std::int32_t>(k)); }

    std::size_t size() const { return size_; }
    std::size_t cellCount() const { return roots_; }
    std::size_t occupiedCells() const { return occupied_; }
    std::size_t bytes() const;

    static constexpr int leafCapacity = 32;

private:
    struct Leaf {
        std::int32_t head;  // the newest entry, -1 when none
        std::int32_t count;
    };
    // The square an inner node divides into four quadrants at its centre;
    // half is half its side, a power of two times the side it began with.
    struct Square {
        float cx;
        float cy;
        float half;
    };
    struct Node {
        // Bounding box of the points below; meaningful once a point is there.
        float x0;
        float y0;
        float x1;
        float y1;
        std::int32_t child;  // the first of four children, -1 for a leaf
        union {
            Leaf leaf;      // child < 0
            Square square;  // child >= 0
        };
        bool isLeaf() const { return child < 0; }
        bool isEmpty() const { return child < 0 && leaf.count == 0; }
    };
    // Squares halve from at most the largest float down to the smallest, so
    // no path is longer than this; a query's stack holds 3 nodes per level.
    static constexpr int maxDepth = 300;
    static constexpr int stackSize = 3 * maxDepth + 4;

    Entry& entry(std::int32_t k) { return entryChunks_[static_cast<std::size_t>(k) >> chunkBits][k & chunkMask]; }
    const Entry& entry(std::int32_t k) const {
        return entryChunks_[static_cast<std::size_t>(k) >> chunkBits][k & chunkMask];
    }
    // Squared distances from (px, py) to the nearest and the farthest point
    // of a node's box, rounded as for a point: every step is monotone, so
    // for each point q of the box (px - q.x)^2 + (py - q.y)^2 lies between.
    static double nearestSquared(const Node& b, double px, double py) {
        const double cx = px < b.x0 ? static_cast<double>(b.x0) : (px > b.x1 ? static_cast<double>(b.x1) : px);
        const double cy = py < b.y0 ? static_cast<double>(b.y0) : (py > b.y1 ? static_cast<double>(b.y1) : py);
        const double dx = px - cx;
        const double dy = py - cy;
        return dx * dx + dy * dy;
    }
    static double farthestSquared(const Node& b, double px, double py) {
        const double ax = px - static_cast<double>(b.x0);
        const double bx = px - static_cast<double>(b.x1);
        const double ay = py - static_cast<double>(b.y0);
        const double by = py - static_cast<double>(b.y1);
        const double x2 = ax * ax > bx * bx ? ax * ax : bx * bx;
        const double y2 = ay * ay > by * by ? ay * ay : by * by;
        return x2 + y2;
    }
    std::int32_t searchCloser(std::int32_t root, double px, double py, double limitSquared) const;
    std::int32_t anyEntryBelow(std::int32_t node) const;
    static Node emptyNode();
    static void include(Node& node, float x, float y, bool first);
    static int quadrant(const Square& s, float x, float y) { return (x >= s.cx ? 1 : 0) + (y >= s.cy ? 2 : 0); }
    static Square quarter(const Square& s, int quadrant);
    void growToInclude(std::size_t cell, float x, float y);
    void split(std::int32_t node, const Square& square);
    std::int32_t addChildren();

    static constexpr unsigned chunkBits = 16;
    static constexpr std::size_t chunkSize = std::size_t(1) << chunkBits;
    static constexpr std::int32_t chunkMask = static_cast<std::int32_t>(chunkSize - 1);

    std::vector<Node> nodes_;  // the cells first, then the children, four at a time
    std::vector<std::vector<Entry>> entryChunks_;
    std::size_t roots_ = 0;
    std::size_t size_ = 0;
    std::size_t occupied_ = 0;
};
