// The generated soundtrack as the show hears it: written by the generator, decoded by the show's
// own audio layer (SDL2_mixer and its MP3 decoder, on SDL's disk driver, which runs faster than
// real time), then checked for length, level, ending and kicks on the beat grid.
#include "tools/datagen/soundtrack.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/music.h"
#include "platform/audio.h"
#include "tests/support/process.h"
#include "tools/datagen/synth_instruments.h"
#include "tools/datagen/synth_score.h"

namespace {

constexpr int rate = 44100;
constexpr double framesPerBeat = 60.0 * rate / 138.0;

// Every buffer the mixer produces from the one in which the music starts (the mixer starts a
// stream at a buffer boundary) to the one in which it ends.
struct Recording {
    std::mutex mutex;
    std::vector<std::int16_t> samples;
    bool wasPlaying = false;
    bool ended = false;
};
Recording recording;

void recordMix(void*, Uint8* stream, int length) {
    const bool playing = Mix_PlayingMusic() != 0;
    std::lock_guard lock(recording.mutex);
    if (recording.ended) return;
    if (playing || recording.wasPlaying) {
        const auto* samples = reinterpret_cast<const std::int16_t*>(stream);
        recording.samples.insert(recording.samples.end(), samples, samples + length / 2);
    }
    recording.ended = recording.wasPlaying && !playing;
    recording.wasPlaying = playing;
}

// Interleaved 16-bit stereo at 44.1 kHz, as the show's mixer outputs the file.
std::vector<std::int16_t> decodeAsTheShowDoes(const std::string& path) {
    // Earlier tests in this process may have left the audio open, or forced the dummy driver.
    // Both the mixer and SDL count their openings.
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) Mix_CloseAudio();
    while (SDL_WasInit(SDL_INIT_AUDIO) != 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "disk", SDL_HINT_OVERRIDE);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setAudioDriver(&sdlAudioDriver);
    testing::internal::CaptureStdout();
    const bool ready = initAudio();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(ready) << output;
    const char* driver = SDL_GetCurrentAudioDriver();
    EXPECT_STREQ(driver != nullptr ? driver : "", "disk") << output;
    int mixRate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&mixRate, &format, &channels);
    EXPECT_EQ(mixRate, rate);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(format, AUDIO_S16SYS);

    // This replaces the layer's clock hook; the test reads the samples, not the clock.
    Mix_SetPostMix(recordMix, nullptr);
    testing::internal::CaptureStdout();
    playMusic(path.c_str());
    const std::string playOutput = testing::internal::GetCapturedStdout();
    EXPECT_EQ(playOutput, "");

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    for (;;) {
        {
            std::lock_guard lock(recording.mutex);
            if (recording.ended) break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the music did not finish playing";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Mix_HaltMusic();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    std::lock_guard lock(recording.mutex);
    return recording.samples;
}

std::vector<float> monoLowPassed(const std::vector<float>& left, const std::vector<float>& right) {
    // Two one-pole low passes at 200 Hz keep the kick's body and drop hats, snares and cymbals.
    const float a = 1.0f - std::exp(-2.0f * static_cast<float>(M_PI) * 200.0f / rate);
    std::vector<float> out(left.size());
    float s1 = 0.0f, s2 = 0.0f;
    for (std::size_t i = 0; i < left.size(); ++i) {
        s1 += a * ((left[i] + right[i]) * 0.5f - s1);
        s2 += a * (s1 - s2);
        out[i] = s2;
    }
    return out;
}

// The kick alone, from its first frame: the template the beats are matched against.
std::vector<float> kickTemplate(std::size_t frames) {
    std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
    synth::makeKick()->render(left.data(), right.data(), static_cast<int>(frames));
    return monoLowPassed(left, right);
}

struct Onset {
    double errorMs;
    double correlation;
};

// The position near `expected` where the signal matches the kick best (normalised
// cross-correlation, searched +-10 ms).
Onset findKick(const std::vector<float>& signal, const std::vector<float>& kick, double expected) {
    const auto centre = static_cast<long>(std::lround(expected));
    const long reach = rate / 100;
    double kickEnergy = 0.0;
    for (float v : kick) kickEnergy += double(v) * v;
    const auto score = [&](long lag) {
        const long start = centre + lag;
        if (start < 0 || start + static_cast<long>(kick.size()) > static_cast<long>(signal.size())) return -1.0;
        double dot = 0.0, energy = 0.0;
        for (std::size_t i = 0; i < kick.size(); ++i) {
            const double s = signal[static_cast<std::size_t>(start) + i];
            dot += s * kick[i];
            energy += s * s;
        }
        return energy > 0.0 ? dot / std::sqrt(energy * kickEnergy) : 0.0;
    };
    long best = -reach;
    double bestScore = -2.0;
    const auto consider = [&](long lag) {
        const double s = score(lag);
        if (s > bestScore) {
            bestScore = s;
            best = lag;
        }
    };
    // Every third lag, then the neighbours of the best: the match is far wider than 3 frames.
    for (long lag = -reach; lag <= reach; lag += 3) consider(lag);
    const long coarse = best;
    for (long lag = coarse - 2; lag <= coarse + 2; ++lag) consider(lag);
    return {(static_cast<double>(centre + best) - expected) * 1000.0 / rate, bestScore};
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SoundtrackFile, PlaysInTheShowOnTheBeatGridAndFadesOut) {
    const std::string dir = makeTempDir("soundtrack_");
    const std::string path = dir + "/biisi.mp3";
    ASSERT_TRUE(writeSoundtrack(path.c_str()));
    const std::string bytes = readFile(path);
    RecordProperty("file_bytes", static_cast<int>(bytes.size()));
    EXPECT_LE(bytes.size(), 8u << 20);

    const std::vector<std::int16_t> decoded = decodeAsTheShowDoes(path);
    const std::size_t frames = decoded.size() / 2;
    EXPECT_GE(frames, static_cast<std::size_t>(212 * rate));

    std::vector<float> left(frames), right(frames);
    std::size_t fullScale = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        left[i] = decoded[2 * i] / 32768.0f;
        right[i] = decoded[2 * i + 1] / 32768.0f;
        fullScale += std::abs(decoded[2 * i]) >= 32767 || std::abs(decoded[2 * i + 1]) >= 32767;
    }
    EXPECT_EQ(fullScale, 0u) << "decoded samples at full scale: the mix clips";

    // Loud where the show plays, silent once it has faded.
    const auto rms = [&](double fromSeconds, double toSeconds) {
        double sum = 0.0;
        const auto a = static_cast<std::size_t>(fromSeconds * rate), b = std::min(frames, static_cast<std::size_t>(toSeconds * rate));
        for (std::size_t i = a; i < b; ++i) sum += double(left[i]) * left[i] + double(right[i]) * right[i];
        return b > a ? std::sqrt(sum / (2.0 * static_cast<double>(b - a))) : 0.0;
    };
    for (double second = 15.0; second < 200.0; second += 5.0)
        EXPECT_GT(rms(second, second + 5.0), 0.05) << "quiet at " << second << " s";
    EXPECT_GT(rms(205.0, 207.0), rms(207.0, 209.0));
    int loudestTail = 0;
    for (std::size_t i = static_cast<std::size_t>(209.2 * rate) * 2; i < decoded.size(); ++i)
        loudestTail = std::max(loudestTail, std::abs(static_cast<int>(decoded[i])));
    EXPECT_LE(loudestTail, 16) << "not silent after 209.2 s";

    // Every kick of the arrangement on its beat.
    const std::vector<float> signal = monoLowPassed(left, right);
    const std::vector<float> kick = kickTemplate(rate * 40 / 1000);
    ASSERT_GT(std::fabs(kick[20]), 0.0f) << "the template must sound from its first frames";
    double worst = 0.0, total = 0.0;
    int kicks = 0, misses = 0;
    std::string missed;
    for (int beat = 0; beat * framesPerBeat < static_cast<double>(frames); ++beat) {
        if (!synth::kickOnBeat(beat)) continue;
        const Onset onset = findKick(signal, kick, beat * framesPerBeat);
        if (std::fabs(onset.errorMs) > 5.0 || onset.correlation < 0.6) {
            if (++misses <= 5)
                missed += " beat " + std::to_string(beat) + " (" + std::to_string(onset.errorMs) + " ms, match " +
                          std::to_string(onset.correlation) + ")";
        }
        worst = std::max(worst, std::fabs(onset.errorMs));
        total += std::fabs(onset.errorMs);
        ++kicks;
    }
    EXPECT_EQ(misses, 0) << "kicks off the grid or unclear, the first:" << missed;
    // The beat arrives on beat 32 (13913 ms) and carries on past 200 s.
    EXPECT_FALSE(synth::kickOnBeat(31));
    EXPECT_TRUE(synth::kickOnBeat(32));
    EXPECT_GT(kicks, 400);
    std::printf("soundtrack: %zu bytes, %.3f s decoded, %d kicks, onset error max %.2f ms, mean %.2f ms\n",
                bytes.size(), static_cast<double>(frames) / rate, kicks, worst, kicks > 0 ? total / kicks : 0.0);
    RecordProperty("kicks", kicks);
    RecordProperty("worst_onset_error_us", static_cast<int>(worst * 1000.0));
    std::filesystem::remove_all(dir);
}

TEST(SoundtrackFile, IsTheSameOnEveryRun) {
    const std::string dir = makeTempDir("soundtrack_");
    const std::string first = dir + "/first.mp3", second = dir + "/second.mp3";
    ASSERT_TRUE(writeSoundtrack(first.c_str()));
    ASSERT_TRUE(writeSoundtrack(second.c_str()));
    const std::string a = readFile(first), b = readFile(second);
    EXPECT_GT(a.size(), 1000000u);
    EXPECT_TRUE(a == b) << "the two files differ";
    std::filesystem::remove_all(dir);
}

}  // namespace
