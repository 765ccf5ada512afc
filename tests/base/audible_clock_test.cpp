#include "base/audible_clock.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t ms = 1000;  // microseconds

TEST(AudibleClock, InterpolatesBetweenAnchorsWithMillisecondSteps) {
    AudibleClock clock;
    clock.streaming = true;
    jumpAudibleClock(clock, 0.0, 0);
    anchorAudibleClock(clock, 1000.0, 10 * ms);
    EXPECT_EQ(readAudibleClock(clock, 10 * ms), 1000u);
    EXPECT_EQ(readAudibleClock(clock, 11 * ms), 1001u);
    EXPECT_EQ(readAudibleClock(clock, 33 * ms + 999), 1023u);
}

TEST(AudibleClock, NeverGoesBackWhenAnAnchorLagsTheInterpolation) {
    AudibleClock clock;
    clock.streaming = true;
    anchorAudibleClock(clock, 1000.0, 0);
    EXPECT_EQ(readAudibleClock(clock, 30 * ms), 1030u);
    anchorAudibleClock(clock, 1023.0, 30 * ms);  // the buffer came late
    EXPECT_EQ(readAudibleClock(clock, 30 * ms), 1030u);
    EXPECT_EQ(readAudibleClock(clock, 36 * ms), 1030u);
    EXPECT_EQ(readAudibleClock(clock, 38 * ms), 1031u);
}

TEST(AudibleClock, StreamingClockWaitsForAStalledAudioThread) {
    AudibleClock clock;
    clock.streaming = true;
    clock.maxLeadMs = 46.0;
    anchorAudibleClock(clock, 500.0, 0);
    EXPECT_EQ(readAudibleClock(clock, 46 * ms), 546u);
    EXPECT_EQ(readAudibleClock(clock, 2000 * ms), 546u);
}

TEST(AudibleClock, RunsOnFromTheLastAnchorOnceTheStreamHasEnded) {
    AudibleClock clock;
    clock.streaming = true;
    clock.maxLeadMs = 46.0;
    anchorAudibleClock(clock, 2000.0, 0);
    clock.streaming = false;
    EXPECT_EQ(readAudibleClock(clock, 208000 * ms), 210000u);
}

TEST(AudibleClock, JumpForgetsEarlierReadings) {
    AudibleClock clock;
    jumpAudibleClock(clock, 5000.0, 0);
    EXPECT_EQ(readAudibleClock(clock, 10 * ms), 5010u);
    jumpAudibleClock(clock, 100.0, 10 * ms);
    EXPECT_EQ(readAudibleClock(clock, 10 * ms), 100u);
    jumpAudibleClock(clock, -50.0, 10 * ms);  // before the start is the start
    EXPECT_EQ(readAudibleClock(clock, 10 * ms), 0u);
}

TEST(AudibleClock, StaysInsideTheSignedClockRange) {
    AudibleClock clock;
    jumpAudibleClock(clock, 2147483000.0, 0);
    EXPECT_EQ(readAudibleClock(clock, 10000 * ms), 2147483647u);
}

// A paused show on the wall clock (no music) must not run on; it resumes from where it was held.
TEST(AudibleClock, HeldClockStandsStillAndResumesFromWhereItStood) {
    AudibleClock clock;
    jumpAudibleClock(clock, 5000.0, 0);
    holdAudibleClock(clock, true, 250 * ms);
    EXPECT_EQ(readAudibleClock(clock, 9000 * ms), 5250u);
    holdAudibleClock(clock, false, 9000 * ms);
    EXPECT_EQ(readAudibleClock(clock, 9100 * ms), 5350u);
}

}  // namespace
