#include "streamlines/PointStore.h"

#include <functional>

StreamPoint* PointStore::add(float x, float y, int number, int index) {
    const std::size_t chunk = size_ >> chunkBits;
    if (chunk == chunks_.size()) {
        chunks_.emplace_back();
        chunks_.back().reserve(chunkSize);
    }
    chunks_[chunk].emplace_back(x, y, number, index);
    ++size_;
    return &chunks_[chunk].back();
}

void PointStore::popBack() {
    if (size_ == 0) return;
    --size_;
    chunks_[size_ >> chunkBits].pop_back();
}

// The first chunk stays allocated for the next placement.
void PointStore::clear() {
    if (chunks_.size() > 1) chunks_.resize(1);
    if (!chunks_.empty()) chunks_.front().clear();
    size_ = 0;
}

bool PointStore::find(const StreamPoint* p, Id& id) const {
    const std::less<const StreamPoint*> before;
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        const std::vector<StreamPoint>& chunk = chunks_[c];
        if (chunk.empty() || before(p, chunk.data()) || !before(p, chunk.data() + chunk.size())) continue;
        id = static_cast<Id>((c << chunkBits) + static_cast<std::size_t>(p - chunk.data()));
        return true;
    }
    return false;
}

std::size_t PointStore::bytes() const {
    return chunks_.size() * (chunkSize * sizeof(StreamPoint) + sizeof(std::vector<StreamPoint>));
}
