#include "tf/TransferFunction.h"
#include "common/MouseCodes.h"
#include "tf/TransferFunctionSet.h"

#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "data/TextureUnits.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Texel = std::array<int, 4>;

Texel texel(const TransferFunction& tf, int k) {
    const std::uint8_t* t = tf.colorTable.data() + 4 * k;
    return {t[0], t[1], t[2], t[3]};
}

std::vector<float> positions(const TransferFunction& tf) {
    std::vector<float> out;
    for (const TfPoint* p = tf.points().first(); p; p = p->next.get()) out.push_back(p->position);
    return out;
}

// A 4 x 3 grid whose data channel 1 holds the given twelve node values.
std::unique_ptr<FlowData> loadDataset(const std::vector<float>& values) {
    DatasetWriter writer({0.0f, 1.0f, 2.0f, 3.0f}, {0.0f, 1.0f, 2.0f});
    writer.dataChannels(1).data([values](int, float x, float y) {
        return values[static_cast<std::size_t>(std::lround(y) * 4 + std::lround(x))];
    });
    const TempDir dir;  // the loaded dataset keeps nothing open
    const std::string path = writer.write(dir.file("hist"));
    auto data = std::make_unique<FlowData>(nullptr);
    testing::internal::CaptureStdout();
    const bool loaded = data->load(path, false);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(loaded);
    return data;
}

TransferFunction makeTf(ColorChooser* chooser, const FlowData* data = nullptr, int slot = 0) {
    return TransferFunction(2.5f, 0.1f, 4.0f, 0.5f, 320, chooser, nullptr, 0.065f, 0, false, data, slot);
}

TEST(TransferFunction, StartsWithABlackToWhiteRampAndNoTexture) {
    ColorChooser chooser(1.1f, 1.2f, 0.7f);
    TransferFunction tf = makeTf(&chooser);
    ASSERT_EQ(positions(tf), (std::vector<float>{0.0f, 4.0f}));
    const TfPoint* first = tf.points().first();
    EXPECT_EQ(first->markerWidth, 0.5f);
    EXPECT_EQ(first->color.redByte, 0);
    EXPECT_EQ(first->color.alphaByte, 255);
    EXPECT_EQ(first->next->color.redByte, 255);
    EXPECT_EQ(first->next->color.alphaByte, 255);
    EXPECT_EQ(tf.points().newPointWidth, 0.5f);
    EXPECT_EQ(tf.points().selected, nullptr);
    EXPECT_FALSE(tf.dragging);
    EXPECT_EQ(tf.textureName, 0u);
    EXPECT_EQ(tf.maxBinCount, 0);
    EXPECT_EQ(texel(tf, 0), (Texel{0, 0, 0, 255}));
    EXPECT_EQ(texel(tf, 2048), (Texel{127, 127, 127, 255}));
    EXPECT_EQ(texel(tf, 4095), (Texel{255, 255, 255, 255}));
}

// Editor coordinates of the strip: x from 2.5, y from 0.1 to 0.165.
constexpr float stripY = 0.13f;
float at(float position) { return 2.5f + position; }

struct MouseTest : ::testing::Test {
    ColorChooser chooser{1.1f, 1.2f, 0.7f};
    TransferFunction tf = makeTf(&chooser);
    void click(int button, float position, float y = stripY) {
        tf.handleMouse(button, mouse::pressed, at(position), y);
        tf.handleMouse(button, mouse::released, at(position), y);
    }
    void SetUp() override { chooser.setCurrent(ColorRGBA(255, 0, 0, 255)); }
};

TEST_F(MouseTest, LeftClickOnEmptyStripAddsAPointInTheChoosersColour) {
    click(mouse::leftButton, 2.0f);
    ASSERT_EQ(positions(tf), (std::vector<float>{0.0f, 2.0f, 4.0f}));
    EXPECT_EQ(tf.points().first()->next->color.redByte, 255);
    EXPECT_EQ(tf.points().first()->next->color.blueByte, 0);
    EXPECT_EQ(texel(tf, 2048), (Texel{255, 0, 0, 255}));  // the table follows at once
    EXPECT_FALSE(tf.dragging);
}

TEST_F(MouseTest, PressOnAPointSelectsAndMovesItReleaseAddsNothing) {
    click(mouse::leftButton, 2.0f);
    tf.handleMouse(mouse::leftButton, mouse::pressed, at(2.2f), stripY);
    EXPECT_TRUE(tf.dragging);
    EXPECT_FLOAT_EQ(positions(tf)[1], 2.2f);
    tf.handleMouse(mouse::leftButton, mouse::pressed, at(3.9f), stripY);  // drag
    EXPECT_EQ(positions(tf)[1], 3.5f);                                    // one white-marker width short of 4.0
    tf.handleMouse(mouse::leftButton, mouse::released, at(3.9f), stripY);
    EXPECT_FALSE(tf.dragging);
    EXPECT_EQ(positions(tf), (std::vector<float>{0.0f, 3.5f, 4.0f}));
}

TEST_F(MouseTest, EndPointsStayWhenPressedAndAreRecolouredByTheMiddleButton) {
    click(mouse::leftButton, 0.1f);
    EXPECT_EQ(positions(tf), (std::vector<float>{0.0f, 4.0f}));
    EXPECT_EQ(tf.points().first()->color.redByte, 0);

    click(mouse::middleButton, 0.1f);
    EXPECT_EQ(tf.points().first()->color.redByte, 255);
    EXPECT_EQ(texel(tf, 0), (Texel{255, 0, 0, 255}));
    click(mouse::middleButton, 2.0f);  // between markers: nothing
    EXPECT_EQ(positions(tf), (std::vector<float>{0.0f, 4.0f}));
}

TEST_F(MouseTest, RightClickRemovesInteriorPointsOnly) {
    click(mouse::leftButton, 2.0f);
    click(mouse::rightButton, 4.0f);
    click(mouse::rightButton, 0.0f);
    EXPECT_EQ(tf.points().count(), 3);
    click(mouse::rightButton, 2.1f);
    EXPECT_EQ(positions(tf), (std::vector<float>{0.0f, 4.0f}));
    EXPECT_EQ(texel(tf, 2048), (Texel{127, 127, 127, 255}));
}

TEST_F(MouseTest, OutsideTheStripOnlyDragsAndEndsDrags) {
    click(mouse::leftButton, 2.0f, 0.3f);   // above the strip
    click(mouse::leftButton, 2.0f, 0.05f);  // below it
    EXPECT_EQ(tf.points().count(), 2);

    click(mouse::leftButton, 2.0f);
    tf.handleMouse(mouse::leftButton, mouse::pressed, at(2.0f), stripY);
    tf.handleMouse(mouse::leftButton, mouse::pressed, at(1.0f), 0.5f);
    EXPECT_EQ(positions(tf)[1], 1.0f);
    tf.handleMouse(mouse::leftButton, mouse::pressed, 0.0f, 0.5f);  // left of the strip
    EXPECT_EQ(positions(tf)[1], 0.5f);
    tf.handleMouse(mouse::leftButton, mouse::released, at(1.0f), 0.5f);
    EXPECT_FALSE(tf.dragging);
    EXPECT_EQ(positions(tf), (std::vector<float>{0.0f, 0.5f, 4.0f}));  // mouse::released outside: nothing added
}

TEST_F(MouseTest, ADragStartedOnEmptyStripPicksUpThePointItPasses) {
    click(mouse::leftButton, 2.0f);
    tf.handleMouse(mouse::leftButton, mouse::pressed, at(1.0f), stripY);
    EXPECT_FALSE(tf.dragging);
    tf.handleMouse(mouse::leftButton, mouse::pressed, at(1.9f), stripY);
    EXPECT_TRUE(tf.dragging);
    tf.handleMouse(mouse::leftButton, mouse::pressed, at(2.6f), stripY);
    EXPECT_EQ(positions(tf), (std::vector<float>{0.0f, 2.6f, 4.0f}));
}

TEST(Histogram, CountsNormalisedValuesAndScalesLogarithmicallyWithoutBinZero) {
    // Six nodes at the minimum (bin 0), one in bin 32, two in bin 64, three at
    // the maximum (bin 320 folds into 319).
    auto data = loadDataset({0, 0, 0, 0, 0, 0, 1, 2, 2, 10, 10, 10});
    TransferFunction tf = makeTf(nullptr, data.get(), 3);
    EXPECT_EQ(tf.binCounts[0], 6);
    EXPECT_EQ(tf.binCounts[32], 1);
    EXPECT_EQ(tf.binCounts[64], 2);
    EXPECT_EQ(tf.binCounts[319], 3);
    int total = 0;
    for (int c : tf.binCounts) total += c;
    EXPECT_EQ(total, 12);
    EXPECT_EQ(tf.maxBinCount, 3);
    EXPECT_EQ(tf.binHeights[0], 0.0f);
    EXPECT_EQ(tf.binHeights[32], 0.0f);  // one node: ln 1 = 0
    EXPECT_FLOAT_EQ(tf.binHeights[64], std::log(2.0f) / std::log(3.0f));
    EXPECT_EQ(tf.binHeights[319], 1.0f);
    EXPECT_EQ(tf.binHeights[100], 0.0f);  // empty
}

TEST(Histogram, HeightsThatWouldNotBeFiniteAreStoredAsNoBar) {
    // Every occupied bin holds one node: the largest count is 1 and ln 1 = 0.
    auto data = loadDataset({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    TransferFunction tf = makeTf(nullptr, data.get(), 3);
    EXPECT_EQ(tf.maxBinCount, 1);
    for (float h : tf.binHeights) ASSERT_EQ(h, 0.0f);

    // A constant channel puts every node in bin 0, which takes no part.
    auto flat = loadDataset(std::vector<float>(12, 5.0f));
    TransferFunction flatTf = makeTf(nullptr, flat.get(), 3);
    EXPECT_EQ(flatTf.binCounts[0], 12);
    EXPECT_EQ(flatTf.maxBinCount, 0);
    for (float h : flatTf.binHeights) ASSERT_EQ(h, 0.0f);

    // No channel in the slot: an empty histogram.
    TransferFunction missing = makeTf(nullptr, flat.get(), 9);
    EXPECT_EQ(missing.maxBinCount, 0);
    for (int c : missing.binCounts) ASSERT_EQ(c, 0);
}

TEST(CreateTransferFunctions, BuildsTheFourWithTheirChannelsTitlesAndSharedChooser) {
    auto data = loadDataset({0, 0, 0, 0, 0, 0, 1, 2, 2, 10, 10, 10});
    // The opener's slots: magnitude 7 and node x 5, so data channels 1 and 2 sit in slots 3 and 4.
    TransferFunctionSet set = createTransferFunctions(data.get(), 7, 5, nullptr);
    ASSERT_TRUE(set.chooser);
    const int slots[4] = {7, 3, 4, 7};
    std::set<std::string> titles;
    for (int i = 0; i < 4; ++i) {
        const TransferFunction* tf = set[i];
        ASSERT_NE(tf, nullptr);
        EXPECT_EQ(tf->tfIndex, i);
        EXPECT_EQ(tf->isArrowTf, i == 3);
        EXPECT_EQ(tf->channelSlot, slots[i]);
        EXPECT_EQ(tf->chooser, set.chooser.get()) << "one chooser edits all four";
        EXPECT_TRUE(titles.insert(transferFunctionTitles[i]).second) << transferFunctionTitles[i];
    }
    // Each histograms its own channel: only channel 1 has values here.
    EXPECT_EQ(set[1]->binCounts[319], 3);
    EXPECT_EQ(set[0]->maxBinCount, 0);
    EXPECT_EQ(set[2]->maxBinCount, 0);
    EXPECT_EQ(set[1]->textureUnit(), textureUnit::backgroundTf);
    EXPECT_EQ(set[3]->textureUnit(), textureUnit::arrowTf);
}

TEST(CreateTransferFunctions, TheActiveOneIsTheArrowPlotsOnlyWhenItIsShownWithItsOwnTf) {
    EXPECT_EQ(activeTransferFunctionIndex(1, 1, 2), 3);
    EXPECT_EQ(activeTransferFunctionIndex(1, 0, 2), 2);
    EXPECT_EQ(activeTransferFunctionIndex(0, 1, 1), 1);
    EXPECT_EQ(activeTransferFunctionIndex(0, 0, 0), 0);
    EXPECT_EQ(activeTransferFunctionIndex(0, 0, 7), 0);
}

TEST(CreateTransferFunctions, MarkerWidthLetsFifteenInteriorPointsBePlacedAndPickedByHand) {
    TransferFunctionSet set = createTransferFunctions(nullptr, 0, 5, nullptr);
    TransferFunction& tf = *set[0];
    // 100.7 pixels per unit in a 700-row window: a loose hand that places
    // points 25 pixels apart and misses their centres by 5 pixels.
    const float pixel = 1.4f / 141.0f;
    for (int i = 1; i <= 15; ++i) {
        const float x = at(static_cast<float>(i) * 25.0f * pixel);
        tf.handleMouse(mouse::leftButton, mouse::pressed, x, stripY);
        tf.handleMouse(mouse::leftButton, mouse::released, x, stripY);
    }
    ASSERT_EQ(tf.points().count(), 17);
    for (const TfPoint* p = tf.points().first()->next.get(); p->next; p = p->next.get()) {
        EXPECT_TRUE(tf.points().isPointAt(p->position + 5.0f * pixel));
        EXPECT_TRUE(tf.points().isPointAt(p->position - 5.0f * pixel));
    }
}

}  // namespace
