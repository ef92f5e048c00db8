// Input waiting for the panel's frames, and which mouse events the panel keeps.
#include "panel/PanelInputQueue.h"
#include "panel/PanelMouseRouter.h"

#include <gtest/gtest.h>

namespace {

using Type = PanelInputEvent::Type;

TEST(PanelInputQueue, EachChangeGetsAFrameOfItsOwn) {
    PanelInputQueue queue;
    queue.pushMove(10, 20);
    queue.pushMove(11, 21);
    queue.pushButton(0, true, 12, 22);
    queue.pushMove(12, 40);
    queue.pushMove(12, 60);
    queue.pushButton(0, false, 12, 60);

    std::vector<PanelInputEvent> frames;
    while (!queue.empty()) {
        std::vector<PanelInputEvent> frame = queue.takeFrame();
        ASSERT_EQ(frame.size(), 1u);
        frames.push_back(frame[0]);
    }
    ASSERT_EQ(frames.size(), 4u) << "moves collapse; a click and a drag are never merged away";
    EXPECT_EQ(frames[0].type, Type::Move);
    EXPECT_EQ(frames[0].y, 21);
    EXPECT_EQ(frames[1].type, Type::Button);
    EXPECT_TRUE(frames[1].down);
    EXPECT_EQ(frames[2].type, Type::Move);
    EXPECT_EQ(frames[2].y, 60);
    EXPECT_EQ(frames[3].type, Type::Button);
    EXPECT_FALSE(frames[3].down);
    EXPECT_TRUE(queue.takeFrame().empty());
}

TEST(PanelInputQueue, KeyStrokesPressAndReleaseInSeparateFrames) {
    PanelInputQueue queue;
    queue.pushKeyStroke('\r', false, 0);
    queue.pushKeyStroke(100, true, 2);
    queue.pushWheel(-1, 5, 5);
    std::vector<bool> downs;
    std::vector<int> keys;
    while (!queue.empty()) {
        std::vector<PanelInputEvent> frame = queue.takeFrame();
        ASSERT_EQ(frame.size(), 1u);
        if (frame[0].type == Type::Key) {
            downs.push_back(frame[0].down);
            keys.push_back(frame[0].key);
        } else {
            EXPECT_EQ(frame[0].type, Type::Wheel);
            EXPECT_EQ(frame[0].wheel, -1);
        }
    }
    EXPECT_EQ(downs, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(keys, (std::vector<int>{'\r', '\r', 100, 100}));
}

TEST(PanelMouseRouter, PressesLandWhereThePointerIsAndDragsStayWithThem) {
    PanelMouseRouter router(230);
    EXPECT_TRUE(router.mouse(0, 0, 100));  // press on the panel
    EXPECT_TRUE(router.motion(600));       // dragged out: still the panel's
    EXPECT_TRUE(router.mouse(0, 1, 600));  // released outside: still the panel's
    EXPECT_FALSE(router.motion(600));

    EXPECT_FALSE(router.mouse(0, 0, 500));  // camera drag ...
    EXPECT_FALSE(router.mouse(2, 0, 500));
    EXPECT_FALSE(router.motion(50));  // ... passing over the panel
    EXPECT_FALSE(router.mouse(2, 1, 50));
    EXPECT_FALSE(router.mouse(0, 1, 40));
    EXPECT_TRUE(router.motion(40));

    EXPECT_TRUE(router.mouse(3, 0, 229));  // wheel: by position
    EXPECT_FALSE(router.mouse(4, 0, 230));
}

}  // namespace
