// Oscillators, filters, noise and the beat grid of the soundtrack synthesiser.
#include "tools/datagen/synth_dsp.h"

#include <cmath>

namespace synth {

namespace detail {

namespace {

const float* makeSineTable() {
    static float table[sineTableSize + 1];
    for (int i = 0; i <= sineTableSize; ++i) table[i] = static_cast<float>(std::sin(2.0 * M_PI * i / sineTableSize));
    return table;
}

}  // namespace

const float* const sineTable = makeSineTable();

}  // namespace detail

double beatToSeconds(double beat) { return beat * 60.0 / beatsPerMinute; }

std::int64_t beatToFrame(double beat) {
    return static_cast<std::int64_t>(std::llround(beat * 60.0 * sampleRate / beatsPerMinute));
}

float midiToHz(float note) { return 440.0f * std::exp2((note - 69.0f) / 12.0f); }

float sineCycle(float phase) { return sineTurn(phase - std::floor(phase)); }

void Svf::set(float cutoffHz, float resonance) {
    const float limited = std::fmin(cutoffHz, 0.45f * sampleRate);
    g_ = static_cast<float>(std::tan(M_PI * limited / sampleRate));
    k_ = 2.0f - 1.98f * std::fmin(std::fmax(resonance, 0.0f), 1.0f);
    a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

void OnePole::set(float cutoffHz) {
    coefficient_ = 1.0f - std::exp(-twoPi * cutoffHz / sampleRate);
}

float decayFactor(float seconds) { return std::exp(-1.0f / (seconds * sampleRate)); }

}  // namespace synth
