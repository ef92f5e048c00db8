#include "streamlines/ProximityIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double squaredDistance(double px, double py, const ProximityIndex::Entry& e) {
    const double dx = px - static_cast<double>(e.x);
    const double dy = py - static_cast<double>(e.y);
    return dx * dx + dy * dy;
}

}  // namespace

ProximityIndex::Node ProximityIndex::emptyNode() {
    Node node{0.0f, 0.0f, 0.0f, 0.0f, -1, {}};
    node.leaf = Leaf{-1, 0};
    return node;
}

void ProximityIndex::include(Node& node, float x, float y, bool first) {
    if (first) {
        node.x0 = node.x1 = x;
        node.y0 = node.y1 = y;
        return;
    }
    node.x0 = std::min(node.x0, x);
    node.x1 = std::max(node.x1, x);
    node.y0 = std::min(node.y0, y);
    node.y1 = std::max(node.y1, y);
}

ProximityIndex::Square ProximityIndex::quarter(const Square& s, int quadrant) {
    const float h = 0.5f * s.half;
    return {(quadrant & 1) ? s.cx + h : s.cx - h, (quadrant & 2) ? s.cy + h : s.cy - h, h};
}

void ProximityIndex::reset(std::size_t cells) {
    roots_ = cells;
    nodes_.clear();
    nodes_.shrink_to_fit();
    nodes_.resize(roots_, emptyNode());
    entryChunks_.clear();
    size_ = 0;
    occupied_ = 0;
}

void ProximityIndex::clear() {
    if (nodes_.capacity() > 2 * roots_ + 4096) {
        nodes_.resize(roots_);
        nodes_.shrink_to_fit();
    }
    nodes_.assign(roots_, emptyNode());
    if (entryChunks_.size() > 1) entryChunks_.resize(1);
    if (!entryChunks_.empty()) entryChunks_.front().clear();
    size_ = 0;
    occupied_ = 0;
}

std::int32_t ProximityIndex::addChildren() {
    const std::int32_t first = static_cast<std::int32_t>(nodes_.size());
    nodes_.resize(nodes_.size() + 4, emptyNode());
    return first;
}

void ProximityIndex::insert(std::size_t cell, float x, float y, PointStore::Id id) {
    const std::size_t k = size_;
    if ((k >> chunkBits) == entryChunks_.size()) {
        entryChunks_.emplace_back();
        entryChunks_.back().reserve(chunkSize);
    }
    entryChunks_[k >> chunkBits].push_back(Entry{x, y, id, -1});
    ++size_;
    if (nodes_[cell].isEmpty()) ++occupied_;
    if (!nodes_[cell].isLeaf()) growToInclude(cell, x, y);

    std::int32_t n = static_cast<std::int32_t>(cell);
    Square square{0.0f, 0.0f, 0.0f};  // of the node n when it is not the root
    int depth = 0;
    for (;; ++depth) {
        Node& node = nodes_[static_cast<std::size_t>(n)];
        include(node, x, y, node.isEmpty());
        if (node.isLeaf()) break;
        const int q = quadrant(node.square, x, y);
        square = quarter(node.square, q);
        n = node.child + q;
    }
    Node& leaf = nodes_[static_cast<std::size_t>(n)];
    entry(static_cast<std::int32_t>(k)).next = leaf.leaf.head;
    leaf.leaf.head = static_cast<std::int32_t>(k);
    ++leaf.leaf.count;

    // A full leaf is split, and so is a child that took more than a leaf
    // holds. Identical points stay in one leaf, whose box (a point) then
    // decides every query without a scan; so do points the float squares
    // can no longer tell apart.
    while (depth < maxDepth) {
        const Node& full = nodes_[static_cast<std::size_t>(n)];
        if (full.leaf.count <= leafCapacity || (full.x0 == full.x1 && full.y0 == full.y1)) break;
        if (n == static_cast<std::int32_t>(cell)) {
            // The first split of a cell: a square twice the points' extent
            // around their middle.
            const float side = std::max(full.x1 - full.x0, full.y1 - full.y0);
            square = {0.5f * full.x0 + 0.5f * full.x1, 0.5f * full.y0 + 0.5f * full.y1,
                      std::isfinite(side) ? side : std::numeric_limits<float>::max()};
        }
        if (!(0.5f * square.half > 0.0f)) break;
        split(n, square);
        const std::int32_t child = nodes_[static_cast<std::size_t>(n)].child;
        int fullest = -1;
        for (int c = 0; c < 4; ++c)
            if (nodes_[static_cast<std::size_t>(child + c)].leaf.count > leafCapacity) fullest = c;
        if (fullest < 0) break;
        square = quarter(square, fullest);
        n = child + fullest;
        ++depth;
    }
}

// A point beyond the root's square doubles it towards the point, the old
// square becoming one quadrant, until the point is inside.
void ProximityIndex::growToInclude(std::size_t cell, float x, float y) {
    for (;;) {
        const Square s = nodes_[cell].square;
        const bool left = x < s.cx - s.half;
        const bool right = !(x < s.cx + s.half);
        const bool below = y < s.cy - s.half;
        const bool above = !(y < s.cy + s.half);
        if (!(left || right || below || above) || !std::isfinite(2.0f * s.half)) return;
        const Square bigger{left ? s.cx - s.half : s.cx + s.half, below ? s.cy - s.half : s.cy + s.half, 2.0f * s.half};
        const int q = (left ? 1 : 0) + (below ? 2 : 0);
        const std::int32_t child = addChildren();
        Node& root = nodes_[cell];
        nodes_[static_cast<std::size_t>(child + q)] = root;
        root.child = child;
        root.square = bigger;
    }
}

void ProximityIndex::split(std::int32_t n, const Square& square) {
    const std::int32_t child = addChildren();
    Node& parent = nodes_[static_cast<std::size_t>(n)];
    for (std::int32_t k = parent.leaf.head; k >= 0;) {
        Entry& e = entry(k);
        const std::int32_t next = e.next;
        Node& c = nodes_[static_cast<std::size_t>(child + quadrant(square, e.x, e.y))];
        include(c, e.x, e.y, c.leaf.count == 0);
        ++c.leaf.count;
        e.next = c.leaf.head;
        c.leaf.head = k;
        k = next;
    }
    parent.child = child;
    parent.square = square;
}

// The root is not empty and within reach.
std::int32_t ProximityIndex::searchCloser(std::int32_t root, double px, double py, double limitSquared) const {
    std::int32_t stack[stackSize];
    int top = 0;
    stack[top++] = root;
    while (top > 0) {
        const std::int32_t n = stack[--top];
        const Node& node = nodes_[static_cast<std::size_t>(n)];
        if (node.isEmpty() || !(nearestSquared(node, px, py) < limitSquared)) continue;
        if (farthestSquared(node, px, py) < limitSquared) return anyEntryBelow(n);
        if (node.isLeaf()) {
            for (std::int32_t k = node.leaf.head; k >= 0;) {
                const Entry& e = entry(k);
                if (squaredDistance(px, py, e) < limitSquared) return k;
                k = e.next;
            }
        } else {
            for (int c = 0; c < 4; ++c) stack[top++] = node.child + c;
        }
    }
    return -1;
}

// A node that is not empty has a leaf below it that is not empty.
std::int32_t ProximityIndex::anyEntryBelow(std::int32_t n) const {
    for (;;) {
        const Node& node = nodes_[static_cast<std::size_t>(n)];
        if (node.isLeaf()) return node.leaf.head;
        n = node.child;
        while (nodes_[static_cast<std::size_t>(n)].isEmpty()) ++n;
    }
}

double ProximityIndex::nearestOther(std::size_t cell, double px, double py, double best, int number,
                                    const PointStore& store) const {
    std::int32_t stack[stackSize];
    int top = 0;
    stack[top++] = static_cast<std::int32_t>(cell);
    while (top > 0) {
        const Node& node = nodes_[static_cast<std::size_t>(stack[--top])];
        if (node.isEmpty() || !(nearestSquared(node, px, py) < best)) continue;
        if (node.isLeaf()) {
            for (std::int32_t k = node.leaf.head; k >= 0;) {
                const Entry& e = entry(k);
                if (store.at(e.id)->number() != number) {
                    const double d = squaredDistance(px, py, e);
                    if (best > d) best = d;
                }
                k = e.next;
            }
        } else {
            for (int c = 0; c < 4; ++c) stack[top++] = node.child + c;
        }
    }
    return best;
}

std::vector<ProximityIndex::Entry> ProximityIndex::entries(std::size_t cell) const {
    std::vector<std::int32_t> found;
    std::vector<std::int32_t> pending = {static_cast<std::int32_t>(cell)};
    while (!pending.empty()) {
        const Node& node = nodes_[static_cast<std::size_t>(pending.back())];
        pending.pop_back();
        if (!node.isLeaf()) {
            for (int c = 0; c < 4; ++c) pending.push_back(node.child + c);
            continue;
        }
        for (std::int32_t k = node.leaf.head; k >= 0; k = entry(k).next) found.push_back(k);
    }
    std::sort(found.begin(), found.end());
    std::vector<Entry> out;
    out.reserve(found.size());
    for (std::int32_t k : found) out.push_back(entry(k));
    return out;
}

std::size_t ProximityIndex::bytes() const {
    return nodes_.capacity() * sizeof(Node) + entryChunks_.size() * chunkSize * sizeof(Entry);
}
