// The distance field's index answers every query exactly as a scan of all
// points would, however the points crowd: along lines with tiny steps, on
// top of each other, at huge coordinates, spread over many scales.

#include "streamlines/PointStore.h"
#include "streamlines/ProximityIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

struct Pt {
    float x;
    float y;
    int number;
};

double squared(double px, double py, const Pt& q) {
    const double dx = px - static_cast<double>(q.x);
    const double dy = py - static_cast<double>(q.y);
    return dx * dx + dy * dy;
}

// Points as tracing makes them: lines of small steps, in order along each.
std::vector<Pt> crowd(std::mt19937& random, int kind) {
    std::vector<Pt> pts;
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    switch (kind) {
    case 0:  // forty strands a hair apart, each of 500 steps of 1e-5
        for (int line = 0; line < 40; ++line)
            for (int k = 0; k < 500; ++k)
                pts.push_back({0.3f + 1e-5f * static_cast<float>(k), 0.5f + 1e-7f * static_cast<float>(line), line});
        break;
    case 1:  // a line that stalls: the same point over and over, then a few ulps apart
        for (int k = 0; k < 2000; ++k) {
            float x = 0.25f;
            for (int u = 0; u < k % 3; ++u) x = std::nextafter(x, 1.0f);
            pts.push_back({x, 0.75f, k / 700});
        }
        break;
    case 2:  // huge coordinates: steps of 0.005 in a cell 1e22 wide
        for (int line = 0; line < 5; ++line)
            for (int k = 0; k < 3000; ++k)
                pts.push_back({3.5e22f + 0.005f * static_cast<float>(k) * 4096.0f * 1024.0f, 0.4f * line, line});
        break;
    case 3:  // many scales at once, arriving in a spiral from outside in
        for (int k = 0; k < 3000; ++k) {
            const float r = std::pow(10.0f, 18.0f - 36.0f * static_cast<float>(k) / 3000.0f);
            pts.push_back({r * std::cos(0.1f * k), r * std::sin(0.1f * k), k / 100});
        }
        break;
    default:  // random
        for (int k = 0; k < 3000; ++k) pts.push_back({unit(random), unit(random), k / 50});
    }
    return pts;
}

TEST(ProximityIndexTest, AnswersLikeAScanOfEveryPoint) {
    std::mt19937 random(7);
    for (int kind = 0; kind < 5; ++kind) {
        SCOPED_TRACE(testing::Message() << "crowd " << kind);
        const std::vector<Pt> pts = crowd(random, kind);
        PointStore store;
        ProximityIndex index;
        index.reset(3);
        for (std::size_t k = 0; k < pts.size(); ++k) {
            store.add(pts[k].x, pts[k].y, pts[k].number, 0);
            index.insert(1, pts[k].x, pts[k].y, static_cast<PointStore::Id>(k));
        }
        ASSERT_EQ(index.size(), pts.size());
        EXPECT_EQ(index.occupiedCells(), 1u);

        // Queries near points, between them and far away, with limits that
        // hit exact distances (the test is strict), tiny ones and huge ones.
        std::uniform_int_distribution<std::size_t> pick(0, pts.size() - 1);
        std::uniform_real_distribution<double> unit(-1.0, 1.0);
        for (int q = 0; q < 4000; ++q) {
            const Pt& near = pts[pick(random)];
            const double scale = std::pow(10.0, 6.0 * unit(random)) * (1.0 + std::fabs(near.x) * 1e-6);
            const float px = static_cast<float>(near.x + scale * unit(random) * (q % 4 == 0 ? 0.0 : 1.0));
            const float py = static_cast<float>(near.y + scale * unit(random) * (q % 4 == 0 ? 0.0 : 1.0));
            double limit = scale * scale * (unit(random) + 1.0);
            // Exactly a point's distance (not closer), or a hair beyond it.
            if (q % 3 == 0) limit = squared(px, py, pts[pick(random)]);
            if (q % 3 == 1) limit = std::nextafter(squared(px, py, pts[pick(random)]), 1e300);
            if (q % 7 == 0) limit = 1e-18;

            bool scanAny = false;
            double scanBest = limit;
            const int number = static_cast<int>(q % 5);
            for (const Pt& p : pts) {
                const double d = squared(px, py, p);
                scanAny = scanAny || d < limit;
                if (p.number != number && scanBest > d) scanBest = d;
            }
            ASSERT_EQ(index.anyCloser(1, px, py, limit), scanAny) << px << ", " << py << " limit " << limit;
            ASSERT_EQ(index.nearestOther(1, px, py, limit, number, store), scanBest) << px << ", " << py;
            EXPECT_FALSE(index.anyCloser(0, px, py, limit));  // other cells stay empty
        }

        // Entries come back in the order of insertion.
        const std::vector<ProximityIndex::Entry> entries = index.entries(1);
        ASSERT_EQ(entries.size(), pts.size());
        for (std::size_t k = 0; k < entries.size(); ++k) {
            ASSERT_EQ(entries[k].id, k);
            ASSERT_EQ(entries[k].x, pts[k].x);
        }

        index.clear();
        EXPECT_EQ(index.size(), 0u);
        EXPECT_FALSE(index.anyCloser(1, pts[0].x, pts[0].y, 1e300));
    }
}

TEST(PointStoreTest, PointsKeepTheirPlaceAndAreFoundByAddress) {
    PointStore store;
    std::vector<StreamPoint*> added;
    for (int k = 0; k < 40000; ++k) added.push_back(store.add(static_cast<float>(k), 1.0f, k % 7, k));
    for (int k = 0; k < 40000; k += 997) {
        ASSERT_EQ(added[k]->x(), static_cast<float>(k));  // unmoved by later chunks
        PointStore::Id id = 0;
        ASSERT_TRUE(store.find(added[k], id));
        EXPECT_EQ(id, static_cast<PointStore::Id>(k));
        EXPECT_EQ(store.at(id), added[k]);
    }
    StreamPoint elsewhere(1.0f, 2.0f, 3, 4);
    PointStore::Id id = 0;
    EXPECT_FALSE(store.find(&elsewhere, id));
    store.popBack();
    EXPECT_EQ(store.size(), 39999u);
    store.clear();
    EXPECT_EQ(store.size(), 0u);
    EXPECT_EQ(store.add(5.0f, 6.0f, 0, 0)->y(), 6.0f);
}

}  // namespace
