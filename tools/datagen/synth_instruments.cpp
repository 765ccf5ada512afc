// The soundtrack's instruments: drum and effect sounds from noise and swept sines, tonal voices
// from band-limited saws and squares through state-variable filters.
#include "tools/datagen/synth_instruments.h"

#include <algorithm>
#include <cmath>

#include "tools/datagen/synth_dsp.h"

namespace synth {

namespace {

// Filters are retuned this often; fast enough for every sweep here, and it keeps tan() rare.
constexpr int controlInterval = 32;

int framesOf(float seconds) { return std::max(1, static_cast<int>(seconds * sampleRate)); }

// A voice of fixed length that ends with a short fade, so that a cut never clicks. Sound
// provides sample(position, left, right): the frame at `position` frames after the start.
template <class Sound>
class TimedVoice : public Voice {
public:
    explicit TimedVoice(float seconds) : length_(framesOf(seconds)) {}

    bool render(float* left, float* right, int frames) final {
        constexpr int fadeFrames = 220;  // 5 ms
        for (int i = 0; i < frames && position_ < length_; ++i, ++position_) {
            float l = 0.0f, r = 0.0f;
            static_cast<Sound*>(this)->sample(position_, l, r);
            const int remaining = length_ - position_;
            if (remaining < fadeFrames) {
                const float fade = static_cast<float>(remaining) / fadeFrames;
                l *= fade;
                r *= fade;
            }
            left[i] += l;
            right[i] += r;
        }
        return position_ < length_;
    }

protected:
    int length() const { return length_; }

private:
    int length_;
    int position_ = 0;
};

class Kick final : public TimedVoice<Kick> {
public:
    Kick() : TimedVoice(0.5f) {}

private:
    friend class TimedVoice<Kick>;

    void sample(int position, float& left, float& right) {
        osc_.setFrequency(48.0f + sweep_);
        sweep_ *= sweepDecay_;
        // The body holds for 25 ms, then decays: the punch of the beat.
        float level = 1.0f;
        if (position > holdFrames_) {
            body_ *= bodyDecay_;
            level = body_;
        }
        float value = softClip(1.6f * osc_.next() * level) * 1.08f;
        // A short click on top marks the attack.
        value += 0.25f * click_ * clickNoise_.next();
        click_ *= clickDecay_;
        left = right = value;
    }

    Sine osc_;
    float sweep_ = 120.0f;
    const float sweepDecay_ = decayFactor(0.03f);
    const int holdFrames_ = framesOf(0.025f);
    float body_ = 1.0f;
    const float bodyDecay_ = decayFactor(0.15f);
    Noise clickNoise_{0x6b1c4u};
    float click_ = 1.0f;
    const float clickDecay_ = decayFactor(0.0012f);
};

class Snare final : public TimedVoice<Snare> {
public:
    explicit Snare(std::uint32_t seed) : TimedVoice(0.4f), noise_(seed) {
        lowpass_.set(9000.0f, 0.0f);
        highpass_.set(1400.0f);
        tone_.setFrequency(190.0f);
    }

private:
    friend class TimedVoice<Snare>;

    void sample(int, float& left, float& right) {
        const float tone = tone_.next() * toneLevel_;
        toneLevel_ *= toneDecay_;
        const float hiss = highpass_.highpass(lowpass_.process(noise_.next()).low) * noiseLevel_;
        noiseLevel_ *= noiseDecay_;
        left = right = 0.55f * tone + 0.9f * hiss;
    }

    Noise noise_;
    Svf lowpass_;
    OnePole highpass_;
    Sine tone_;
    float toneLevel_ = 1.0f, noiseLevel_ = 1.0f;
    const float toneDecay_ = decayFactor(0.055f), noiseDecay_ = decayFactor(0.1f);
};

class Clap final : public TimedVoice<Clap> {
public:
    explicit Clap(std::uint32_t seed) : TimedVoice(0.35f), noise_(seed) { band_.set(1300.0f, 0.35f); }

private:
    friend class TimedVoice<Clap>;

    void sample(int position, float& left, float& right) {
        // Three quick slaps, then the tail: hands that do not quite meet at once.
        const int slap = framesOf(0.009f);
        float level;
        if (position < 3 * slap) {
            level = std::exp(-static_cast<float>(position % slap) / (0.0035f * sampleRate));
        } else {
            tail_ *= tailDecay_;
            level = 0.7f * tail_;
        }
        left = right = 2.2f * band_.process(noise_.next()).band * level;
    }

    Noise noise_;
    Svf band_;
    float tail_ = 1.0f;
    const float tailDecay_ = decayFactor(0.08f);
};

class Hat final : public TimedVoice<Hat> {
public:
    Hat(std::uint32_t seed, bool open)
        : TimedVoice(open ? 0.5f : 0.12f), noise_(seed), decay_(decayFactor(open ? 0.13f : 0.02f)) {
        highpass_.set(7500.0f, 0.2f);
    }

private:
    friend class TimedVoice<Hat>;

    void sample(int, float& left, float& right) {
        left = right = highpass_.process(noise_.next()).high * level_;
        level_ *= decay_;
    }

    Noise noise_;
    Svf highpass_;
    float level_ = 1.0f;
    const float decay_;
};

class Crash final : public TimedVoice<Crash> {
public:
    Crash(std::uint32_t seed, float seconds)
        : TimedVoice(4.0f * seconds), leftNoise_(seed), rightNoise_(seed * 2654435761u + 1u),
          decay_(decayFactor(seconds)) {
        leftFilter_.set(4200.0f, 0.1f);
        rightFilter_.set(4600.0f, 0.1f);
    }

private:
    friend class TimedVoice<Crash>;

    void sample(int position, float& left, float& right) {
        const float attack = std::min(1.0f, static_cast<float>(position) / 90.0f);
        left = leftFilter_.process(leftNoise_.next()).high * level_ * attack;
        right = rightFilter_.process(rightNoise_.next()).high * level_ * attack;
        level_ *= decay_;
    }

    Noise leftNoise_, rightNoise_;
    Svf leftFilter_, rightFilter_;
    float level_ = 1.0f;
    const float decay_;
};

// A sine whose pitch falls from `fromHz` towards `toHz`: toms and the boom under big hits.
class Drop final : public TimedVoice<Drop> {
public:
    Drop(float fromHz, float toHz, float pitchSeconds, float levelSeconds, float seconds, float drive)
        : TimedVoice(seconds), base_(toHz), sweep_(fromHz - toHz), sweepDecay_(decayFactor(pitchSeconds)),
          decay_(decayFactor(levelSeconds)), drive_(drive) {}

private:
    friend class TimedVoice<Drop>;

    void sample(int position, float& left, float& right) {
        osc_.setFrequency(base_ + sweep_);
        sweep_ *= sweepDecay_;
        const float attack = std::min(1.0f, static_cast<float>(position) / 60.0f);
        left = right = softClip(drive_ * osc_.next() * level_ * attack) / softClip(drive_);
        level_ *= decay_;
    }

    Sine osc_;
    float base_, sweep_;
    const float sweepDecay_;
    float level_ = 1.0f;
    const float decay_;
    const float drive_;
};

class Riser final : public TimedVoice<Riser> {
public:
    Riser(std::uint32_t seed, float seconds, float fromHz, float toHz)
        : TimedVoice(seconds), leftNoise_(seed), rightNoise_(seed ^ 0x5bd1e995u), fromHz_(fromHz),
          ratio_(toHz / fromHz) {}

private:
    friend class TimedVoice<Riser>;

    void sample(int position, float& left, float& right) {
        const float progress = static_cast<float>(position) / static_cast<float>(length());
        if (position % controlInterval == 0) {
            const float hz = fromHz_ * std::pow(ratio_, progress);
            leftFilter_.set(hz, 0.55f);
            rightFilter_.set(hz * 1.06f, 0.55f);
        }
        const float level = progress * progress;
        left = 1.6f * leftFilter_.process(leftNoise_.next()).band * level;
        right = 1.6f * rightFilter_.process(rightNoise_.next()).band * level;
    }

    Noise leftNoise_, rightNoise_;
    Svf leftFilter_, rightFilter_;
    float fromHz_, ratio_;
};

class Burst final : public TimedVoice<Burst> {
public:
    Burst(std::uint32_t seed, float hz, float seconds)
        : TimedVoice(seconds), leftNoise_(seed), rightNoise_(seed + 0x3c6ef372u), decay_(decayFactor(seconds / 4.0f)) {
        leftFilter_.set(hz, 0.4f);
        rightFilter_.set(hz * 1.1f, 0.4f);
    }

private:
    friend class TimedVoice<Burst>;

    void sample(int position, float& left, float& right) {
        const float attack = std::min(1.0f, static_cast<float>(position) / 220.0f);
        left = 1.8f * leftFilter_.process(leftNoise_.next()).band * level_ * attack;
        right = 1.8f * rightFilter_.process(rightNoise_.next()).band * level_ * attack;
        level_ *= decay_;
    }

    Noise leftNoise_, rightNoise_;
    Svf leftFilter_, rightFilter_;
    float level_ = 1.0f;
    const float decay_;
};

// A linear attack, then an exponential release from the note's end, which may come before the
// attack is complete; the release has faded by 43 dB when the voice ends.
class NoteEnvelope {
public:
    NoteEnvelope(float attackSeconds, float holdSeconds, float releaseSeconds)
        : attackFrames_(framesOf(attackSeconds)), releaseFrame_(framesOf(holdSeconds)),
          releaseDecay_(decayFactor(releaseSeconds / 5.0f)) {}

    float next(int position) {
        if (position >= releaseFrame_) release_ *= releaseDecay_;
        if (position < attackFrames_) return release_ * static_cast<float>(position) / static_cast<float>(attackFrames_);
        return release_;
    }

private:
    int attackFrames_, releaseFrame_;
    float release_ = 1.0f;
    float releaseDecay_;
};

class Bass final : public TimedVoice<Bass> {
public:
    Bass(float note, float seconds, float brightness)
        : TimedVoice(seconds + 0.04f), hz_(midiToHz(note)), brightness_(brightness), envelope_(0.003f, seconds, 0.03f) {
        sub_.setFrequency(hz_);
        saw_.setFrequency(hz_);
    }

private:
    friend class TimedVoice<Bass>;

    void sample(int position, float& left, float& right) {
        if (position % controlInterval == 0) {
            filter_.set(hz_ * (2.0f + 5.0f * brightness_) * (1.0f + 1.5f * bright_), 0.25f);
            bright_ *= brightDecay_;
        }
        const float level = envelope_.next(position);
        const float value = 0.8f * sub_.next() + 0.45f * filter_.process(saw_.next()).low;
        left = right = softClip(1.2f * value) * level;
    }

    float hz_, brightness_;
    Sine sub_;
    Saw saw_;
    Svf filter_;
    float bright_ = 1.0f;
    const float brightDecay_ = std::pow(decayFactor(0.06f), static_cast<float>(controlInterval));
    NoteEnvelope envelope_;
};

class Pad final : public TimedVoice<Pad> {
public:
    Pad(const std::vector<float>& notes, float seconds, const PadSettings& settings, std::uint32_t seed)
        : TimedVoice(seconds + settings.release), settings_(settings), seconds_(seconds),
          envelope_(settings.attack, seconds, settings.release) {
        Noise phases(seed);
        static constexpr float detune[3] = {-0.11f, 0.0f, 0.12f};
        for (float note : notes) {
            Oscillators o;
            for (int k = 0; k < 3; ++k) {
                o.saw[k].setFrequency(midiToHz(note + detune[k]));
                o.saw[k].setPhase(phases.unit());
            }
            voices_.push_back(o);
        }
        gain_ = 0.55f / std::sqrt(static_cast<float>(std::max<std::size_t>(1, notes.size())));
    }

private:
    friend class TimedVoice<Pad>;

    struct Oscillators {
        Saw saw[3];
    };

    void sample(int position, float& left, float& right) {
        if (position % controlInterval == 0) {
            const float seconds = static_cast<float>(position) / sampleRate;
            const float progress = std::min(1.0f, seconds / seconds_);
            // A slow drift of the cutoff keeps long chords alive.
            const float drift = 1.0f + 0.12f * sineCycle(0.17f * seconds);
            const float hz = (settings_.cutoffFromHz + (settings_.cutoffToHz - settings_.cutoffFromHz) * progress) * drift;
            leftFilter_.set(hz, 0.15f);
            rightFilter_.set(hz * 1.03f, 0.15f);
        }
        float l = 0.0f, r = 0.0f;
        for (Oscillators& o : voices_) {
            const float centre = o.saw[1].next();
            l += o.saw[0].next() + 0.6f * centre;
            r += o.saw[2].next() + 0.6f * centre;
        }
        const float level = envelope_.next(position) * gain_;
        left = leftFilter_.process(l).low * level;
        right = rightFilter_.process(r).low * level;
    }

    PadSettings settings_;
    float seconds_;
    NoteEnvelope envelope_;
    std::vector<Oscillators> voices_;
    Svf leftFilter_, rightFilter_;
    float gain_;
};

class Pluck final : public TimedVoice<Pluck> {
public:
    Pluck(float note, float brightness) : TimedVoice(0.45f), hz_(midiToHz(note)), brightness_(brightness) {
        saw_.setFrequency(hz_);
        square_.setFrequency(hz_ * 2.0f);
    }

private:
    friend class TimedVoice<Pluck>;

    void sample(int position, float& left, float& right) {
        if (position % 16 == 0) {
            filter_.set(hz_ * 1.5f + 5000.0f * brightness_ * sweep_, 0.3f);
            sweep_ *= sweepDecay_;
        }
        const float value = filter_.process(saw_.next() + 0.35f * square_.next()).low * level_;
        level_ *= decay_;
        left = right = value;
    }

    float hz_, brightness_;
    Saw saw_;
    Square square_;
    Svf filter_;
    float sweep_ = 1.0f;
    const float sweepDecay_ = std::pow(decayFactor(0.07f), 16.0f);
    float level_ = 1.0f;
    const float decay_ = decayFactor(0.15f);
};

class Lead final : public TimedVoice<Lead> {
public:
    Lead(float note, float seconds) : TimedVoice(seconds + 0.2f), note_(note), envelope_(0.008f, seconds, 0.18f) {
        saws_[0].setPhase(0.0f);
        saws_[1].setPhase(0.37f);
    }

private:
    friend class TimedVoice<Lead>;

    void sample(int position, float& left, float& right) {
        if (position % 16 == 0) {
            const float seconds = static_cast<float>(position) / sampleRate;
            // Vibrato grows in after the attack, as a player would do it.
            const float depth = 0.18f * std::min(1.0f, std::max(0.0f, (seconds - 0.18f) / 0.3f));
            const float hz = midiToHz(note_ + depth * sineCycle(5.3f * seconds));
            saws_[0].setFrequency(hz * 0.996f);
            saws_[1].setFrequency(hz * 1.004f);
            square_.setFrequency(hz * 0.5f);
            filter_.set(1100.0f + 2600.0f * brightness_, 0.22f);
            brightness_ = 0.45f + (brightness_ - 0.45f) * brightDecay_;
        }
        const float value = saws_[0].next() + saws_[1].next() + 0.35f * square_.next();
        left = right = filter_.process(value).low * envelope_.next(position) * 0.5f;
    }

    float note_;
    Saw saws_[2];
    Square square_;
    Svf filter_;
    float brightness_ = 1.0f;
    const float brightDecay_ = std::pow(decayFactor(0.25f), 16.0f);
    NoteEnvelope envelope_;
};

class Bell final : public TimedVoice<Bell> {
public:
    explicit Bell(float note) : TimedVoice(3.0f) {
        const float hz = midiToHz(note);
        static constexpr float ratio[4] = {1.0f, 2.003f, 2.76f, 5.4f};
        static constexpr float amplitude[4] = {1.0f, 0.5f, 0.3f, 0.12f};
        static constexpr float seconds[4] = {0.9f, 0.5f, 0.3f, 0.12f};
        for (int k = 0; k < 4; ++k) {
            partials_[k].setFrequency(hz * ratio[k]);
            level_[k] = amplitude[k];
            decay_[k] = decayFactor(seconds[k]);
        }
    }

private:
    friend class TimedVoice<Bell>;

    void sample(int position, float& left, float& right) {
        const float attack = std::min(1.0f, static_cast<float>(position) / 90.0f);
        float value = 0.0f;
        for (int k = 0; k < 4; ++k) {
            value += partials_[k].next() * level_[k];
            level_[k] *= decay_[k];
        }
        left = right = 0.6f * value * attack;
    }

    Sine partials_[4];
    float level_[4];
    float decay_[4];
};

}  // namespace

std::unique_ptr<Voice> makeKick() { return std::make_unique<Kick>(); }
std::unique_ptr<Voice> makeSnare(std::uint32_t seed) { return std::make_unique<Snare>(seed); }
std::unique_ptr<Voice> makeClap(std::uint32_t seed) { return std::make_unique<Clap>(seed); }
std::unique_ptr<Voice> makeHat(std::uint32_t seed, bool open) { return std::make_unique<Hat>(seed, open); }
std::unique_ptr<Voice> makeCrash(std::uint32_t seed, float seconds) { return std::make_unique<Crash>(seed, seconds); }
std::unique_ptr<Voice> makeTom(float hz) { return std::make_unique<Drop>(hz, hz * 0.7f, 0.08f, 0.18f, 0.7f, 1.3f); }
std::unique_ptr<Voice> makeBoom() { return std::make_unique<Drop>(80.0f, 38.0f, 0.25f, 0.45f, 1.8f, 1.5f); }
std::unique_ptr<Voice> makeRiser(std::uint32_t seed, float seconds, float fromHz, float toHz) {
    return std::make_unique<Riser>(seed, seconds, fromHz, toHz);
}
std::unique_ptr<Voice> makeBurst(std::uint32_t seed, float hz, float seconds) {
    return std::make_unique<Burst>(seed, hz, seconds);
}
std::unique_ptr<Voice> makeBass(float note, float seconds, float brightness) {
    return std::make_unique<Bass>(note, seconds, brightness);
}
std::unique_ptr<Voice> makePad(const std::vector<float>& notes, float seconds, const PadSettings& settings,
                               std::uint32_t seed) {
    return std::make_unique<Pad>(notes, seconds, settings, seed);
}
std::unique_ptr<Voice> makePluck(float note, float brightness) { return std::make_unique<Pluck>(note, brightness); }
std::unique_ptr<Voice> makeLead(float note, float seconds) { return std::make_unique<Lead>(note, seconds); }
std::unique_ptr<Voice> makeBell(float note) { return std::make_unique<Bell>(note); }

}  // namespace synth
