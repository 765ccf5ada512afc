#include "base/envelopes.h"

#include <gtest/gtest.h>

#include "app/music.h"
#include "platform/audio.h"

namespace {

TEST(RampDown, FallsLinearlyOverTheHalfOpenInterval) {
    EXPECT_EQ(rampDownAt(45500, 45500, 50000), 1.0f);
    EXPECT_EQ(rampDownAt(47750, 45500, 50000), 0.5f);
    EXPECT_EQ(rampDownAt(49999, 45500, 50000), 1.0f / 4500.0f);
    EXPECT_EQ(rampDownAt(50000, 45500, 50000), 0.0f);
    EXPECT_EQ(rampDownAt(45499, 45500, 50000), 0.0f);
}

TEST(RampDown, EmptyIntervalIsAlwaysZero) {
    for (int t : {-1, 0, 999, 1000, 1001}) EXPECT_EQ(rampDownAt(t, 1000, 1000), 0.0f) << t;
}

TEST(BeatIndex, WalksTheBeatGrid) {
    EXPECT_EQ(beatIndexAt(-1), -1);
    EXPECT_EQ(beatIndexAt(0), 0);
    EXPECT_EQ(beatIndexAt(434), 0);
    EXPECT_EQ(beatIndexAt(435), 1);
    EXPECT_EQ(beatIndexAt(14000), 32);
    EXPECT_EQ(beatIndexAt(209999), 482);
}

TEST(BeatIndex, GivesUpAtTheSearchLimit) {
    // The 1999th accumulated boundary lies near 869 s; from there on no beat is found.
    float boundary = 0.0f;
    for (int i = 0; i < 1999; ++i) boundary = static_cast<float>(static_cast<double>(boundary) + beatLengthMs);
    const int last = static_cast<int>(boundary);
    EXPECT_EQ(beatIndexAt(last - 1), 1998);
    EXPECT_EQ(beatIndexAt(last + 1), -1);
}

TEST(BeatFlash, SilentBeforeFourteenSeconds) {
    for (int t = 0; t < 14000; t += 7) ASSERT_EQ(beatFlashAt(t), 0.0f) << t;
    EXPECT_EQ(beatFlashAt(13913 + 1), 0.0f);  // just after beat 32, still too early
}

TEST(BeatFlash, FlashDecaysAfterEachBeat) {
    EXPECT_NEAR(beatFlashAt(14000), (300.0 - 86.9565) / 300.0, 1e-4);
    EXPECT_NEAR(beatFlashAt(14000), 0.7101f, 1e-4f);
    // Beat 69 starts at exactly 30000 ms: zero on the beat, nearly full one millisecond later.
    EXPECT_EQ(beatFlashAt(30000), 0.0f);
    EXPECT_NEAR(beatFlashAt(30001), 299.0f / 300.0f, 1e-5f);
    EXPECT_NEAR(beatFlashAt(30001), 0.9967f, 1e-4f);
    EXPECT_EQ(beatFlashAt(30300), 0.0f);  // past the 300 ms window
}

TEST(Envelopes, ReadTheFrameClock) {
    setAudioDriver(&nullAudioDriver);
    setNullAudioPositionMs(47750);
    updateAudio();
    EXPECT_EQ(rampDown(45500, 50000), 0.5f);
    EXPECT_EQ(beatIndex(), beatIndexAt(47750));
    EXPECT_EQ(beatFlash(), beatFlashAt(47750));
}

}  // namespace
