#include "data/Channel.h"

#include "data/Grid.h"

#include <array>
#include <cmath>
#include <iostream>
#include <limits>
#include <utility>

Channel::Channel(const Grid* grid)
    : grid_(grid),
      count_(grid->width() * grid->height()),
      values_(new float[static_cast<std::size_t>(count_)]()),
      minValue_(std::numeric_limits<float>::infinity()),
      maxValue_(-std::numeric_limits<float>::infinity()) {}

void Channel::fillInterleaved(const float* values, int stride, int offset) {
    fillRange(values, stride, offset, 0, static_cast<std::size_t>(count_));
    printExtremes();
}

void Channel::fillRange(const float* records, int stride, int offset, std::size_t first, std::size_t count) {
    float lo = minValue_;
    float hi = maxValue_;
    const std::size_t step = static_cast<std::size_t>(stride);
    const float* source = records + offset;
    float* target = values_.get() + first;
    for (std::size_t k = 0; k < count; ++k) {
        const float v = source[step * k];
        target[k] = v;
        // A missing value (NaN or infinite) never becomes an extreme.
        if (std::isfinite(v)) {
            lo = v < lo ? v : lo;
            hi = v > hi ? v : hi;
        }
    }
    minValue_ = lo;
    maxValue_ = hi;
}

void Channel::printExtremes() const {
    std::cout << "Maximum value in channel: " << maxValue_ << "\n";
    std::cout << "Minimum value in channel: " << minValue_ << "\n";
}

void Channel::assignValues(const float* values) {
    minValue_ = std::numeric_limits<float>::infinity();
    maxValue_ = -std::numeric_limits<float>::infinity();
    fillRange(values, 1, 0, 0, static_cast<std::size_t>(count_));
}

void Channel::swapValues(Channel& other) {
    std::swap(values_, other.values_);
    std::swap(minValue_, other.minValue_);
    std::swap(maxValue_, other.maxValue_);
}

void Channel::recomputeExtremes() {
    minValue_ = std::numeric_limits<float>::infinity();
    maxValue_ = -std::numeric_limits<float>::infinity();
    fillRange(values_.get(), 1, 0, 0, static_cast<std::size_t>(count_));
}

void Channel::setRange(float minValue, float maxValue) {
    minValue_ = minValue;
    maxValue_ = maxValue;
}

void Channel::setValue(int node, float value) {
    values_[static_cast<std::size_t>(node)] = value;
    if (!std::isfinite(value)) return;
    if (value < minValue_) minValue_ = value;
    if (value > maxValue_) maxValue_ = value;
}

float Channel::normalize(float value) const {
    const float span = maxValue_ - minValue_;
    if (!(span > 0.0f)) return std::isfinite(value) ? 0.0f : value;  // a missing value stays missing
    return (value - minValue_) / span;
}

float Channel::sampleAt(const Vec3& p) const {
    std::array<int, 4> corners;
    std::array<float, 4> weights;
    if (!grid_->locateCell(p, corners, weights)) {
        std::cerr << "Outside of the dataset\n";
        return 0.0f;
    }
    return interpolate(corners, weights);
}

float Channel::interpolate(const std::array<int, 4>& corners, const std::array<float, 4>& weights) const {
    double sum = 0.0;
    // A corner without weight takes no part: a missing value there (times
    // 0 it would be NaN) must not spoil a sample that does not use it.
    for (std::size_t c = 0; c < 4; ++c)
        if (weights[c] != 0.0f) sum += static_cast<double>(valueAt(corners[c])) * static_cast<double>(weights[c]);
    return static_cast<float>(sum);
}

void Channel::interpolatePair(const Channel& a, const Channel& b, const std::array<int, 4>& corners,
                              const std::array<float, 4>& weights, float& va, float& vb) {
    const float* as = a.values_.get();
    const float* bs = b.values_.get();
    double sumA = 0.0;
    double sumB = 0.0;
    for (std::size_t c = 0; c < 4; ++c) {
        if (weights[c] == 0.0f) continue;
        const std::size_t k = static_cast<std::size_t>(corners[c]);
        const double w = static_cast<double>(weights[c]);
        sumA += static_cast<double>(as[k]) * w;
        sumB += static_cast<double>(bs[k]) * w;
    }
    va = static_cast<float>(sumA);
    vb = static_cast<float>(sumB);
}

float Channel::sampleNormalized(const Vec3& p) const { return sampleAt(grid_->fromNormalized(p)); }

float Channel::sampleNormalized(float u, float v) const { return sampleNormalized(Vec3(u, v, 0.0f)); }
