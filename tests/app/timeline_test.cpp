#include "app/timeline.h"

#include <gtest/gtest.h>

#include "app/audio.h"
#include "app/demo_state.h"
#include "app/music.h"

namespace {

TEST(Timeline, BoundariesBelongToTheLaterSlot) {
    EXPECT_EQ(timelineSlot(-1), noSlot);
    EXPECT_EQ(timelineSlot(-100000), noSlot);
    EXPECT_EQ(timelineSlot(0), 1);
    EXPECT_EQ(timelineSlot(45499), 1);
    EXPECT_EQ(timelineSlot(45500), 2);
    EXPECT_EQ(timelineSlot(101599), 2);
    EXPECT_EQ(timelineSlot(101600), 3);
    EXPECT_EQ(timelineSlot(122599), 3);
    EXPECT_EQ(timelineSlot(122600), 4);
    EXPECT_EQ(timelineSlot(178499), 4);
    EXPECT_EQ(timelineSlot(178500), 5);
    EXPECT_EQ(timelineSlot(209999), 5);
    EXPECT_EQ(timelineSlot(210000), endOfShow);
    EXPECT_EQ(timelineSlot(2147483647), endOfShow);
}

TEST(Timeline, EveryMillisecondHasExactlyOneSlot) {
    for (std::int32_t t = 0; t < showEndMs; ++t) {
        int matches = 0;
        for (const SlotInterval& interval : timelineSlots) matches += t >= interval.fromMs && t < interval.toMs;
        ASSERT_EQ(matches, 1) << t;
    }
}

// Runs one frame at music time t.
void frameAt(std::uint32_t t) {
    setAudioDriver(&nullAudioDriver);
    setNullAudioPositionMs(t);
    renderFrame();
}

TEST(RenderFrame, KeepsRunningInsideTheShow) {
    frameAt(0);
    frameAt(209999);
    frameAt(0xFFFFFFFFu);  // a negative clock: no slot
    EXPECT_EQ(demoTimeMs(), -1);
}

TEST(RenderFrameDeathTest, EndsWithStatusZeroAtTheEndOfTheShow) {
    EXPECT_EXIT(frameAt(210000), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(frameAt(500000), testing::ExitedWithCode(0), "");
}

TEST(RenderFrameDeathTest, EndsWithStatusZeroAfterAFrameWithEscape) {
    demoState.keyState[escapeKey] = 1;
    EXPECT_EXIT(frameAt(1000), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(frameAt(0xFFFFFFF0u), testing::ExitedWithCode(0), "");  // even before the music
    demoState.keyState[escapeKey] = 0;
    demoState.keyState['q'] = 1;  // other keys do nothing
    frameAt(1000);
}

}  // namespace
