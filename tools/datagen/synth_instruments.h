// The soundtrack's instruments. Each note is a Voice that adds its sound, block by block, into a
// stereo pair of buffers; the mixer starts it on its exact frame and drops it when it has ended.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace synth {

class Voice {
public:
    virtual ~Voice() = default;
    // Adds the next `frames` frames of the sound; false once the sound has ended.
    virtual bool render(float* left, float* right, int frames) = 0;
};

// Drums and effects. Every sound starts on its first frame at full attack, so an onset is the
// frame the score puts it on.
std::unique_ptr<Voice> makeKick();
std::unique_ptr<Voice> makeSnare(std::uint32_t seed);
std::unique_ptr<Voice> makeClap(std::uint32_t seed);
std::unique_ptr<Voice> makeHat(std::uint32_t seed, bool open);
std::unique_ptr<Voice> makeCrash(std::uint32_t seed, float seconds);
std::unique_ptr<Voice> makeTom(float hz);
// A low sine drop under a hit, 80 Hz down to 38 Hz.
std::unique_ptr<Voice> makeBoom();
// Noise whose band and level rise over `seconds` and stop dead at the end, where a hit follows.
std::unique_ptr<Voice> makeRiser(std::uint32_t seed, float seconds, float fromHz, float toHz);
// A short burst of band-passed noise that flares and dies away (sparks, eruptions).
std::unique_ptr<Voice> makeBurst(std::uint32_t seed, float hz, float seconds);

// Tonal instruments; notes are MIDI numbers (69 = A4), lengths in seconds from start to release.
std::unique_ptr<Voice> makeBass(float note, float seconds, float brightness);
// Detuned saws through a low pass whose cutoff moves linearly from one value to the other over
// the chord's length; the chord fades in over `attack` and out over `release` after it.
struct PadSettings {
    float cutoffFromHz = 1800.0f;
    float cutoffToHz = 1800.0f;
    float attack = 0.35f;
    float release = 1.2f;
};
std::unique_ptr<Voice> makePad(const std::vector<float>& notes, float seconds, const PadSettings& settings,
                               std::uint32_t seed);
std::unique_ptr<Voice> makePluck(float note, float brightness);
std::unique_ptr<Voice> makeLead(float note, float seconds);
std::unique_ptr<Voice> makeBell(float note);

}  // namespace synth
