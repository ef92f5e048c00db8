// The CSV export formats large placements block by block on two threads: the
// rows must come out as one pass over the lines would write them.

#include "streamlines/StreamlineExport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <deque>
#include <memory>
#include <sstream>
#include <string>

namespace {

std::string shortest(float v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

}  // namespace

TEST(CsvExport, ManyBlocksComeOutInLineOrder) {
    // Lines of 2 to 1500 points, one longer than a block, about five blocks
    // in all (an odd count: the last one has no partner).
    std::deque<StreamPoint> store;
    StreamlineList lines;
    std::string expected = "line,point,x,y,step,start_reason,end_reason\n";
    for (int l = 0; l < 260; ++l) {
        auto line = std::make_unique<Streamline>(l);
        line->startReason = l % 3 == 0 ? TerminationReason::LeftDomain : TerminationReason::TooClose;
        line->endReason = l % 2 == 0 ? TerminationReason::ZeroVelocity : TerminationReason::MidpointOutside;
        const int count = l == 100 ? 70000 : 2 + (l * 37) % 1500;
        for (int k = 0; k < count; ++k) {
            const float x = static_cast<float>(k) * 1.0e-3f - 0.5f, y = static_cast<float>(l) / 3.0f + 1.0e-7f;
            store.emplace_back(x, y, l, count - k);
            line->points.push_back(&store.back());
            expected += std::to_string(l) + "," + std::to_string(k) + "," + shortest(x) + "," + shortest(y) + "," +
                        std::to_string(count - k) + "," + terminationReasonName(line->startReason) + "," +
                        terminationReasonName(line->endReason) + "\n";
        }
        lines.push_back(std::move(line));
    }
    ASSERT_GT(store.size(), 4u * 32768u);

    std::ostringstream out;
    ASSERT_TRUE(writeCsv(lines, out));
    EXPECT_TRUE(out.str() == expected) << "the CSV differs from the row-by-row text";
}
