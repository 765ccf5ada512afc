// The music clock over the null driver (exact values) and over SDL's dummy audio driver with real
// MP3 files made by the test (timing behaviour).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "app/audio.h"
#include "app/music.h"
#include "base/demo_clock.h"
#include "tests/support/process.h"
#include "tools/common/mp3_encoder.h"

namespace {

TEST(MusicClock, FrameUpdatesReadTheDriverPosition) {
    setAudioDriver(&nullAudioDriver);
    setNullAudioPositionMs(777);
    playMusic("biisi.mp3");
    EXPECT_EQ(demoTimeMs(), 0);  // until the first update

    setNullAudioPositionMs(40);
    updateAudio();
    EXPECT_EQ(demoTimeMs(), 40);
    EXPECT_EQ(demoClock.previousMusicMs, 0);
    EXPECT_FLOAT_EQ(demoClock.frameSeconds, 0.040f);

    setNullAudioPositionMs(57);
    updateAudio();
    EXPECT_EQ(demoClock.previousMusicMs, 40);
    EXPECT_FLOAT_EQ(demoClock.frameSeconds, 0.017f);

    updateAudio();  // same position twice: no time passed
    EXPECT_EQ(demoClock.frameSeconds, 0.0f);
}

TEST(MusicClock, SeekMovesClockAndMusicTogether) {
    setAudioDriver(&nullAudioDriver);
    playMusic("biisi.mp3");
    setNullAudioPositionMs(1234);
    updateAudio();
    setNullAudioPositionMs(99);
    seekMusic(0);  // puts the music where the clock is, without moving the clock
    EXPECT_EQ(demoTimeMs(), 1234);
    updateAudio();
    EXPECT_EQ(demoTimeMs(), 1234);
    seekMusic(-2000);  // never before the start of the music
    updateAudio();
    EXPECT_EQ(demoTimeMs(), 0);
}

// A sine tone of the given length, written as MP3 into a fresh temporary directory.
std::string writeToneMp3(double seconds) {
    const std::string dir = makeTempDir("music_clock_");
    const std::string path = dir + "/tone.mp3";
    constexpr int rate = 44100;
    const auto frames = static_cast<std::size_t>(seconds * rate);
    std::vector<std::int16_t> samples(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const auto value = static_cast<std::int16_t>(8000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate));
        samples[2 * i] = samples[2 * i + 1] = value;
    }
    EXPECT_TRUE(writeMp3File(path.c_str(), samples, rate, 128));
    return path;
}

std::atomic<std::int64_t> timeOffsetUs{0};
std::int64_t shiftedTime() { return steadyMicroseconds() + timeOffsetUs.load(); }

// The SDL driver on the given output (dummy by default), with a clock whose time the test can
// move forward.
void startSilentAudio(const char* driver = "dummy") {
    setenv("SDL_AUDIODRIVER", driver, 1);
    timeOffsetUs = 0;
    setAudioTimeSource(shiftedTime);
    setAudioDriver(&sdlAudioDriver);
    testing::internal::CaptureStdout();
    const bool ready = initAudio();
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(ready) << output;
    EXPECT_NE(output.find("Initializing audio...\n ok.\n\nVersion 2"), std::string::npos) << output;
    EXPECT_NE(output.find("the music plays silently"), std::string::npos) << output;
    EXPECT_NE(output.find("Ready to use audio...\n\n"), std::string::npos) << output;
}

TEST(MusicClockOnDummyDevice, FollowsWallTimeInMillisecondSteps) {
    const std::string music = writeToneMp3(4.0);
    startSilentAudio();
    playMusic(music.c_str());
    seekMusic(0);

    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    std::set<std::int32_t> distinct;
    std::int32_t previous = 0, worstLag = 0, worstLead = 0;
    bool decreased = false;
    for (int sample = 0; sample < 3000; ++sample) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(sample));
        updateAudio();
        const std::int32_t t = demoTimeMs();
        const auto wall = static_cast<std::int32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - start).count());
        decreased = decreased || t < previous;
        worstLag = std::max(worstLag, wall - t);
        worstLead = std::max(worstLead, t - wall);
        previous = t;
        distinct.insert(t);
    }
    RecordProperty("distinct_values", static_cast<int>(distinct.size()));
    RecordProperty("worst_lag_ms", worstLag);
    RecordProperty("worst_lead_ms", worstLead);
    std::printf("clock: %zu distinct values in 3 s, worst lag %d ms, worst lead %d ms\n", distinct.size(),
                worstLag, worstLead);
    EXPECT_FALSE(decreased);
    EXPECT_GE(distinct.size(), 2500u);
    EXPECT_LE(worstLag, 100);
    EXPECT_LE(worstLead, 100);
}

TEST(MusicClockOnDummyDevice, UnusableAudioDriverFallsBackToSilence) {
    startSilentAudio("no-such-driver");
    const std::string music = writeToneMp3(1.0);
    playMusic(music.c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    updateAudio();
    EXPECT_GE(demoTimeMs(), 150);
}

TEST(MusicClockOnDummyDevice, MissingMusicRunsOnTheWallClockToTheEnd) {
    startSilentAudio();
    testing::internal::CaptureStdout();
    playMusic("no-such-music.mp3");
    seekMusic(0);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("\"no-such-music.mp3\""), std::string::npos) << output;

    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    updateAudio();
    EXPECT_GE(demoTimeMs(), 150);
    EXPECT_LE(demoTimeMs(), 400);
    timeOffsetUs = 210'000'000;
    updateAudio();
    EXPECT_GE(demoTimeMs(), 210000);
}

TEST(MusicClockOnDummyDevice, ShortMusicHandsOverToTheWallClock) {
    const std::string music = writeToneMp3(2.0);
    startSilentAudio();
    playMusic(music.c_str());
    seekMusic(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(2600));  // past the end of the music
    updateAudio();
    const std::int32_t afterEnd = demoTimeMs();
    EXPECT_GE(afterEnd, 2400);
    EXPECT_LE(afterEnd, 2700);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    updateAudio();
    EXPECT_GE(demoTimeMs(), afterEnd + 80);  // still running after the stream is gone
    timeOffsetUs = 210'000'000;
    updateAudio();
    EXPECT_GE(demoTimeMs(), 210000);
}

TEST(MusicClockOnDummyDevice, SeekLandsInTheMusic) {
    const std::string music = writeToneMp3(4.0);
    startSilentAudio();
    playMusic(music.c_str());
    seekMusic(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    updateAudio();
    seekMusic(2000 - demoTimeMs());
    EXPECT_EQ(demoTimeMs(), 2000);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    updateAudio();
    EXPECT_GE(demoTimeMs(), 2400);
    EXPECT_LE(demoTimeMs(), 2600);
}

}  // namespace
