#include "data/Channel.h"

#include "common/ConsoleLog.h"
#include "common/TwoHalves.h"

#include "data/Grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <ostream>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

Channel::Channel(const Grid* grid)
    : grid_(grid),
      count_(grid->width() * grid->height()),
      values_(new float[static_cast<std::size_t>(count_)]()),
      minValue_(std::numeric_limits<float>::infinity()),
      maxValue_(-std::numeric_limits<float>::infinity()) {}

Channel::Channel(const Grid* grid, int count, Unfilled)
    : grid_(grid),
      count_(count),
      values_(new float[static_cast<std::size_t>(count_)]),
      minValue_(std::numeric_limits<float>::infinity()),
      maxValue_(-std::numeric_limits<float>::infinity()) {}

void Channel::fillInterleaved(const float* values, int stride, int offset) {
    fillRange(values, stride, offset, 0, static_cast<std::size_t>(count_));
    printExtremes();
}

namespace {

// First value in values[0 .. count) that compares equal to `zero`, or `zero`.
float firstEqual(const float* values, std::size_t count, float zero) {
    for (std::size_t k = 0; k < count; ++k)
        if (values[k] == zero) return values[k];
    return zero;
}

}  // namespace

void Channel::widenExtremes(const float* values, std::size_t count, float& lo, float& hi) {
    // Four running extremes, so that a value need not wait for the
    // comparison of the one before. Equal finite floats are the same float
    // but for the sign of zero; where the extreme is a zero, the one a pass
    // value by value keeps is the first of them, found afterwards.
    float l[4] = {lo, lo, lo, lo};
    float h[4] = {hi, hi, hi, hi};
    std::size_t k = 0;
#if defined(__SSE2__)
    // min_ps(a, b) is a < b ? a : b and max_ps(a, b) a > b ? a : b, lane by
    // lane: the strict comparisons below.
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    const __m128 infinity = _mm_set1_ps(std::numeric_limits<float>::infinity());
    __m128 vl = _mm_set1_ps(lo);
    __m128 vh = _mm_set1_ps(hi);
    for (; k + 4 <= count; k += 4) {
        const __m128 v = _mm_loadu_ps(values + k);
        const __m128 finite = _mm_cmplt_ps(_mm_and_ps(v, magnitude), infinity);  // false for NaN
        vl = _mm_min_ps(_mm_or_ps(_mm_and_ps(finite, v), _mm_andnot_ps(finite, vl)), vl);
        vh = _mm_max_ps(_mm_or_ps(_mm_and_ps(finite, v), _mm_andnot_ps(finite, vh)), vh);
    }
    _mm_storeu_ps(l, vl);
    _mm_storeu_ps(h, vh);
#endif
    for (; k + 4 <= count; k += 4)
        for (std::size_t j = 0; j < 4; ++j) {
            const float v = values[k + j];
            if (std::isfinite(v)) {
                l[j] = v < l[j] ? v : l[j];
                h[j] = v > h[j] ? v : h[j];
            }
        }
    for (; k < count; ++k) {
        const float v = values[k];
        // A missing value (NaN or infinite) never becomes an extreme.
        if (std::isfinite(v)) {
            l[0] = v < l[0] ? v : l[0];
            h[0] = v > h[0] ? v : h[0];
        }
    }
    float newLo = l[0];
    float newHi = h[0];
    for (std::size_t j = 1; j < 4; ++j) {
        newLo = l[j] < newLo ? l[j] : newLo;
        newHi = h[j] > newHi ? h[j] : newHi;
    }
    if (newLo == 0.0f && !(lo == 0.0f)) newLo = firstEqual(values, count, newLo);
    if (newHi == 0.0f && !(hi == 0.0f)) newHi = firstEqual(values, count, newHi);
    lo = newLo;
    hi = newHi;
}

void Channel::fillRange(const float* records, int stride, int offset, std::size_t first, std::size_t count) {
    const std::size_t step = static_cast<std::size_t>(stride);
    const float* source = records + offset;
    float* target = values_.get() + first;
    produceMeasured(target, count, minValue_, maxValue_, [&](std::size_t from, std::size_t to) {
        if (step == 1 && source != target) std::copy(source + from, source + to, target + from);
        else if (step != 1)
            for (std::size_t k = from; k < to; ++k) target[k] = source[step * k];
    });
}

void Channel::produceMeasured(float* values, std::size_t count, float& lo, float& hi,
                              const std::function<void(std::size_t first, std::size_t last)>& produce) {
    float lows[2] = {lo, std::numeric_limits<float>::infinity()};
    float highs[2] = {hi, -std::numeric_limits<float>::infinity()};
    inTwoHalves(count, kTwoHalvesFrom, [&](std::size_t begin, std::size_t end) {
        const std::size_t h = begin == 0 ? 0 : 1;
        constexpr std::size_t kPiece = 1 << 14;
        for (std::size_t first = begin; first < end; first += kPiece) {
            const std::size_t last = std::min(end, first + kPiece);
            produce(first, last);
            widenExtremes(values + first, last - first, lows[h], highs[h]);
        }
    });
    // An equal later extreme (a zero of the other sign) does not replace the
    // earlier one, as in a pass value by value.
    lo = lows[1] < lows[0] ? lows[1] : lows[0];
    hi = highs[1] > highs[0] ? highs[1] : highs[0];
}

void Channel::printExtremes() const {
    consoleOut() << "Maximum value in channel: " << maxValue_ << "\n";
    consoleOut() << "Minimum value in channel: " << minValue_ << "\n";
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

float Channel::sampleAt(const Vec3& p) const {
    std::array<int, 4> corners;
    std::array<float, 4> weights;
    if (!grid_->locateCell(p, corners, weights)) {
        consoleErr() << "Outside of the dataset\n";
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
