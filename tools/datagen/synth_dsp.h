// Building blocks of the soundtrack synthesiser: the beat grid, oscillators, filters, noise and
// saturation. Everything is cheap per sample (tables, recursions), so a whole 3.5-minute mix
// renders in a couple of seconds.
#pragma once

#include <cstdint>

namespace synth {

constexpr int sampleRate = 44100;
constexpr double beatsPerMinute = 138.0;
constexpr float twoPi = 6.28318530718f;

// Beat k starts at k x 60000 / 138 ms after the first sample: the grid the show flashes on.
double beatToSeconds(double beat);
// The frame (sample index) nearest to a beat position; fractions are sixteenths and so on.
std::int64_t beatToFrame(double beat);

float midiToHz(float note);

namespace detail {
constexpr int sineTableSize = 4096;
extern const float* const sineTable;  // sineTableSize + 1 entries, one full cycle

// The polyBLEP residual that rounds a unit step at phase 0 of a wave with the given increment.
inline float polyBlep(float phase, float increment) {
    if (phase < increment) {
        const float t = phase / increment;
        return t + t - t * t - 1.0f;
    }
    if (phase > 1.0f - increment) {
        const float t = (phase - 1.0f) / increment;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}
}  // namespace detail

// sin(2 pi phase) for a phase in [0, 1), from a table: the oscillators' sine.
inline float sineTurn(float phase) {
    const float position = phase * detail::sineTableSize;
    int index = static_cast<int>(position);
    if (index >= detail::sineTableSize) index = detail::sineTableSize - 1;
    const float fraction = position - static_cast<float>(index);
    const float a = detail::sineTable[index];
    const float b = detail::sineTable[index + 1];
    return a + (b - a) * fraction;
}

// The same for any phase (LFOs, pan laws).
float sineCycle(float phase);

// Soft saturation, odd and monotonic: about x for small x, tends to +-1.
inline float softClip(float x) {
    // A rational tanh: exact enough in [-3, 3], held at +-1 beyond.
    if (x > 3.0f) return 1.0f;
    if (x < -3.0f) return -1.0f;
    const float x2 = x * x;
    return x * (27.0f + x2) / (27.0f + 9.0f * x2);
}

// White noise from a fixed-seed xorshift generator: the same sequence on every run.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed != 0 ? seed : 0x9e3779b9u) {}
    // uniform in [0, 1)
    float unit() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_ >> 8) * (1.0f / 16777216.0f);
    }
    // uniform in [-1, 1)
    float next() { return unit() * 2.0f - 1.0f; }

private:
    std::uint32_t state_;
};

// Band-limited sawtooth (polyBLEP), -1 to 1.
class Saw {
public:
    void setFrequency(float hz) { increment_ = hz / sampleRate; }
    void setPhase(float phase) { phase_ = phase; }
    float next() {
        const float value = 2.0f * phase_ - 1.0f - detail::polyBlep(phase_, increment_);
        phase_ += increment_;
        if (phase_ >= 1.0f) phase_ -= 1.0f;
        return value;
    }

private:
    float phase_ = 0.0f;
    float increment_ = 0.0f;
};

// Band-limited square wave (polyBLEP), -1 to 1.
class Square {
public:
    void setFrequency(float hz) { increment_ = hz / sampleRate; }
    float next() {
        float value = phase_ < 0.5f ? 1.0f : -1.0f;
        value += detail::polyBlep(phase_, increment_);
        float half = phase_ + 0.5f;
        if (half >= 1.0f) half -= 1.0f;
        value -= detail::polyBlep(half, increment_);
        phase_ += increment_;
        if (phase_ >= 1.0f) phase_ -= 1.0f;
        return value;
    }

private:
    float phase_ = 0.0f;
    float increment_ = 0.0f;
};

// Sine oscillator whose frequency may change every sample (kick sweeps, vibrato).
class Sine {
public:
    void setFrequency(float hz) { increment_ = hz / sampleRate; }
    void setPhase(float phase) { phase_ = phase; }
    float next() {
        const float value = sineTurn(phase_);
        phase_ += increment_;
        if (phase_ >= 1.0f) phase_ -= 1.0f;
        return value;
    }

private:
    float phase_ = 0.0f;
    float increment_ = 0.0f;
};

// Trapezoidal state-variable filter: low, band and high pass from one state. Setting the cutoff
// costs a tangent, so voices change it every few dozen samples, not every sample.
class Svf {
public:
    struct Output {
        float low, band, high;
    };
    // resonance: 0 gives a Q of 0.5, towards 1 the filter rings.
    void set(float cutoffHz, float resonance);
    Output process(float x) {
        const float v3 = x - s2_;
        const float v1 = a1_ * s1_ + a2_ * v3;
        const float v2 = s2_ + a2_ * s1_ + a3_ * v3;
        s1_ = 2.0f * v1 - s1_;
        s2_ = 2.0f * v2 - s2_;
        return {v2, v1, x - k_ * v1 - v2};
    }

private:
    float g_ = 0.0f, k_ = 2.0f, a1_ = 0.0f, a2_ = 0.0f, a3_ = 0.0f;
    float s1_ = 0.0f, s2_ = 0.0f;
};

// One-pole low pass; high pass as input minus low pass.
class OnePole {
public:
    void set(float cutoffHz);
    float lowpass(float x) {
        state_ += coefficient_ * (x - state_);
        return state_;
    }
    float highpass(float x) { return x - lowpass(x); }

private:
    float coefficient_ = 1.0f;
    float state_ = 0.0f;
};

// Per-sample factor of an exponential decay with the given time constant.
float decayFactor(float seconds);

}  // namespace synth
