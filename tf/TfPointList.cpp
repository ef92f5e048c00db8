#include "tf/TfPointList.h"

#include <utility>

int TfPointList::count() const {
    int n = 0;
    for (const TfPoint* p = head.get(); p; p = p->next.get()) ++n;
    return n;
}

TfPoint* TfPointList::findHit(float x) const {
    for (TfPoint* p = head.get(); p; p = p->next.get()) {
        if (p->isHitAt(x)) return p;
    }
    return nullptr;
}

std::unique_ptr<TfPoint> TfPointList::makePoint(float position, float r, float g, float b) const {
    return std::make_unique<TfPoint>(position, newPointWidth, ColorRGBA(r, g, b, 1.0f));
}

void TfPointList::release(std::unique_ptr<TfPoint> point) {
    // A drag that outlives its point (a release never delivered to the
    // editor, an options load) must not move freed memory.
    if (point.get() == selected) selected = nullptr;
    point->next.reset();
}

void TfPointList::addPoint(float x, float r, float g, float b) {
    TfPoint* p = head.get();
    while (p && p->next && !(p->position <= x && x <= p->next->position)) p = p->next.get();
    if (!p || !p->next) return;
    TfPoint* q = p->next.get();

    if (p == head.get() && x <= p->position + p->markerWidth / 2.0f) {
        std::unique_ptr<TfPoint> fresh = makePoint(0.0f, r, g, b);
        fresh->next = std::move(p->next);
        std::unique_ptr<TfPoint> old = std::move(head);
        head = std::move(fresh);
        release(std::move(old));
        return;
    }
    if (!q->next && x >= q->position - q->markerWidth / 2.0f) {
        std::unique_ptr<TfPoint> old = std::move(p->next);
        p->next = makePoint(endPosition, r, g, b);
        release(std::move(old));
        return;
    }
    if (x >= p->position + p->markerWidth && x <= q->position - q->markerWidth) {
        std::unique_ptr<TfPoint> fresh = makePoint(x, r, g, b);
        fresh->next = std::move(p->next);
        p->next = std::move(fresh);
    }
}

void TfPointList::removePointAt(float x) {
    TfPoint* pred = nullptr;
    for (TfPoint* p = head.get(); p; pred = p, p = p->next.get()) {
        if (pred && p->next && p->isHitAt(x)) {
            std::unique_ptr<TfPoint> taken = std::move(pred->next);
            pred->next = std::move(taken->next);
            release(std::move(taken));
            return;
        }
    }
}

bool TfPointList::isPointAt(float x) const { return findHit(x) != nullptr; }

void TfPointList::selectPointAt(float x) {
    TfPoint* pred = nullptr;
    for (TfPoint* p = head.get(); p; pred = p, p = p->next.get()) {
        if (!p->isHitAt(x)) continue;
        selected = p;
        if (p == head.get()) {
            selectedIsFirst = true;
            selectedIsLast = false;
        } else if (!p->next) {
            selectedIsLast = true;
            selectedIsFirst = false;
        } else {
            selectedIsFirst = false;
            selectedIsLast = false;
            lowerLimit = pred->position + pred->markerWidth;
            upperLimit = p->next->position - p->next->markerWidth;
        }
        return;
    }
}

void TfPointList::moveSelected(float x) {
    if (!selected || selectedIsFirst || selectedIsLast) return;
    // With crossed limits (neighbours closer than their widths) the chain
    // below sends x < lowerLimit to lowerLimit and every other x to upperLimit.
    if (lowerLimit < x && x < upperLimit) {
        selected->position = x;
    } else if (x < lowerLimit) {
        selected->position = lowerLimit;
    } else if (x > upperLimit) {
        selected->position = upperLimit;
    }
}

void TfPointList::setColorAt(float x, float r, float g, float b) {
    TfPoint* p = findHit(x);
    if (!p) return;
    p->color.setRed(r);
    p->color.setGreen(g);
    p->color.setBlue(b);
}

void TfPointList::clear() {
    selected = nullptr;
    // Unlinked one by one: a long loaded chain must not recurse in destructors.
    while (head) head = std::move(head->next);
}

void TfPointList::setPoints(std::vector<TfPoint> points) {
    clear();
    std::unique_ptr<TfPoint> chain;
    for (auto it = points.rbegin(); it != points.rend(); ++it) {
        auto p = std::make_unique<TfPoint>(it->position, it->markerWidth, it->color);
        p->next = std::move(chain);
        chain = std::move(p);
    }
    head = std::move(chain);
}
