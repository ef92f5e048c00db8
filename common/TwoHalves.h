#pragma once

#include <cstddef>
#include <future>
#include <system_error>

// Runs work(begin, end) over [0, count): from `threshold` items on in two
// halves side by side, [0, count / 2) here and the rest on a thread of its
// own, else in one go. Returns when both halves are done. Passes made of
// page faults and arithmetic on large channels take about half the time on
// two cores.
template <class Work>
void inTwoHalves(std::size_t count, std::size_t threshold, const Work& work) {
    std::size_t half = count;
    std::future<void> second;
    if (count >= threshold) {
        try {
            second = std::async(std::launch::async, [&work, count] { work(count / 2, count); });
            half = count / 2;
        } catch (const std::system_error&) {
            // No second thread: one pass.
        }
    }
    work(0, half);
    if (second.valid()) second.get();
}

// Channels this large or larger are worked on in two halves.
constexpr std::size_t kTwoHalvesFrom = std::size_t(1) << 20;
