// The music clock over the null driver, and over SDL's silent drivers with MP3 files made by the
// test: the disk driver paced by a time source the test moves, and one real-time run.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/music.h"
#include "base/demo_clock.h"
#include "platform/audio.h"
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

// ---- SDL's disk driver on a device whose time the test moves ----------------------------------
//
// The disk driver writes to /dev/null without waiting, so its audio thread mixes as fast as it is
// let. The time source paces it: while music plays, the post-mix of each buffer (where the audio
// thread reads the time) is held until the buffer is due, one buffer length after the one before,
// and is given that time. Every anchor then lands at a known time, and what the clock reads
// follows from the test's steps alone, however loaded the machine is.

constexpr std::int64_t bufferFrames = 1024, sampleRate = 44100;  // what the driver asks the mixer for

struct PacedDevice {
    std::mutex mutex;
    std::condition_variable changed;
    std::thread::id testThread;
    std::int64_t nowUs = 0;
    std::int64_t musicStartUs = 0;
    bool stepped = false;            // time has moved since the music started
    std::int64_t buffersPlayed = 0;  // music buffers released so far
    bool holding = false;            // the audio thread waits for its next buffer to be due
    int quietBuffers = 0;            // buffers mixed without music since the last step
    bool released = false;

    std::int64_t dueUs() const { return musicStartUs + buffersPlayed * bufferFrames * 1'000'000 / sampleRate; }
};
// Never destroyed: the audio thread may still be inside it when the process exits.
PacedDevice& device = *new PacedDevice;

std::int64_t pacedTime() {
    std::unique_lock lock(device.mutex);
    if (std::this_thread::get_id() == device.testThread) return device.nowUs;
    // The audio thread, after mixing a buffer and still inside the mixer's lock.
    if (Mix_PlayingMusic() == 0 || device.released) {
        ++device.quietBuffers;
        device.changed.notify_all();
        const std::int64_t nowUs = device.nowUs;
        lock.unlock();
        // Silence needs no pacing, but nothing should spin either.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return nowUs;
    }
    device.holding = true;
    device.changed.notify_all();
    device.changed.wait(lock, [] { return device.released || (device.stepped && device.nowUs >= device.dueUs()); });
    device.holding = false;
    const std::int64_t playedAt = device.dueUs();
    ++device.buffersPlayed;
    return playedAt;
}

// Moves the time on and returns once the audio thread has handled every buffer due by then:
// it waits for a later one, or two silent buffers show that the one before them is done.
void advanceMs(std::int64_t ms) {
    std::unique_lock lock(device.mutex);
    device.nowUs += ms * 1000;
    device.stepped = true;
    device.quietBuffers = 0;
    device.changed.notify_all();
    // A hang guard, not a time limit on the clock.
    const bool settled = device.changed.wait_for(lock, std::chrono::seconds(60), [] {
        return (device.holding && device.nowUs < device.dueUs()) || device.quietBuffers >= 2;
    });
    ASSERT_TRUE(settled) << "the audio thread stopped mixing";
}

// Captures initAudio's report and checks it says the music will be silent.
void initSilentAudio() {
    testing::internal::CaptureStdout();
    const bool ready = initAudio();
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(ready) << output;
    EXPECT_NE(output.find("Initializing audio...\n ok.\n\nVersion 2"), std::string::npos) << output;
    EXPECT_NE(output.find("the music plays silently"), std::string::npos) << output;
    EXPECT_NE(output.find("Ready to use audio...\n\n"), std::string::npos) << output;
}

// Shuts the audio down after each test, so the next one in this process opens its own device.
class SdlAudio : public testing::Test {
protected:
    void TearDown() override {
        Mix_HaltMusic();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        setAudioTimeSource(nullptr);
    }
};

class MusicClockOnDiskDevice : public SdlAudio {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
        {
            std::lock_guard lock(device.mutex);
            device.testThread = std::this_thread::get_id();
            device.released = false;
        }
        setAudioTimeSource(pacedTime);
        setAudioDriver(&sdlAudioDriver);
        initSilentAudio();
    }

    void TearDown() override {
        {
            std::lock_guard lock(device.mutex);
            device.released = true;
            device.changed.notify_all();
        }
        SdlAudio::TearDown();
    }

    // Plays the music from now on: the first buffer plays now, but its post-mix waits for the
    // test's first step, so what the test does before that (the start-up seek) comes first.
    static void play(const std::string& path) {
        {
            std::lock_guard lock(device.mutex);
            device.musicStartUs = device.nowUs;
            device.buffersPlayed = 0;
            device.stepped = false;
        }
        playMusic(path.c_str());
    }
};

TEST_F(MusicClockOnDiskDevice, FollowsTheDeviceInMillisecondSteps) {
    play(writeToneMp3(4.0));
    seekMusic(0);
    // Anchored once per 23.2 ms buffer, the clock still moves by each millisecond in between.
    for (std::int32_t ms = 1; ms <= 3000; ++ms) {
        ASSERT_NO_FATAL_FAILURE(advanceMs(1));
        updateAudio();
        ASSERT_EQ(demoTimeMs(), ms);
    }
}

TEST_F(MusicClockOnDiskDevice, MissingMusicRunsOnTheWallClockToTheEnd) {
    testing::internal::CaptureStdout();
    play("no-such-music.mp3");
    seekMusic(0);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("\"no-such-music.mp3\""), std::string::npos) << output;

    advanceMs(200);
    updateAudio();
    EXPECT_EQ(demoTimeMs(), 200);
    advanceMs(210'000);
    updateAudio();
    EXPECT_EQ(demoTimeMs(), 210'200);
}

TEST_F(MusicClockOnDiskDevice, ShortMusicHandsOverToTheWallClock) {
    play(writeToneMp3(2.0));
    seekMusic(0);
    advanceMs(2600);  // past the end of the music
    updateAudio();
    EXPECT_EQ(demoTimeMs(), 2600);
    advanceMs(100);
    updateAudio();
    EXPECT_EQ(demoTimeMs(), 2700) << "still running after the stream is gone";
    advanceMs(210'000);
    updateAudio();
    EXPECT_EQ(demoTimeMs(), 212'700);
}

TEST_F(MusicClockOnDiskDevice, SeekLandsInTheMusic) {
    play(writeToneMp3(4.0));
    seekMusic(0);
    advanceMs(100);
    updateAudio();
    seekMusic(2000 - demoTimeMs());
    EXPECT_EQ(demoTimeMs(), 2000);
    advanceMs(500);
    updateAudio();
    // The music takes up the new position with its next buffer, heard one buffer later, and
    // until then the clock waits for it: at most two buffers behind.
    EXPECT_LE(demoTimeMs(), 2500);
    EXPECT_GE(demoTimeMs(), 2500 - 2 * bufferFrames * 1000 / sampleRate);
}

// The one run on real time: SDL's dummy driver, which SDL falls back to here, consumes the music
// at the pace of the wall clock.
using MusicClockOnDummyDevice = SdlAudio;

TEST_F(MusicClockOnDummyDevice, UnusableAudioDriverFallsBackToSilence) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    setAudioDriver(&sdlAudioDriver);
    ASSERT_NO_FATAL_FAILURE(initSilentAudio());
    const std::string music = writeToneMp3(1.0);
    const std::int64_t startUs = steadyMicroseconds();
    playMusic(music.c_str());
    // Past 100 ms the clock has heard from the audio thread: without anchors it stops 46 ms on.
    const std::int64_t giveUpUs = startUs + 60'000'000;  // a hang guard only
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        updateAudio();
    } while (demoTimeMs() <= 100 && steadyMicroseconds() < giveUpUs);
    const std::int64_t elapsedMs = (steadyMicroseconds() - startUs) / 1000;
    EXPECT_GT(demoTimeMs(), 100) << "the clock heard nothing from the audio thread in 60 s";
    EXPECT_LE(demoTimeMs(), elapsedMs + 100) << "the music is consumed in real time";
}

}  // namespace
