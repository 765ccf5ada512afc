// Block-wise mixing of the soundtrack: voices, ducking, echo, reverb, master gain and limiter.
#include "tools/datagen/synth_mixer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/datagen/synth_dsp.h"

namespace synth {

namespace {

constexpr int blockFrames = 256;
constexpr int busCount = 4;
// Keeps recursive filters fed with a value far above the denormal range in silence, where they
// would otherwise crawl; far below anything audible.
constexpr float antiDenormal = 1e-18f;

struct StereoBlock {
    std::array<float, blockFrames> left{}, right{};
    void clear() {
        left.fill(0.0f);
        right.fill(0.0f);
    }
};

// Freeverb's layout: parallel damped combs into serial all-passes, the right channel's delays a
// little longer than the left's for width.
class Reverb {
public:
    Reverb() {
        static constexpr int combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static constexpr int allpasses[4] = {556, 441, 341, 225};
        for (int channel = 0; channel < 2; ++channel) {
            const int spread = channel == 0 ? 0 : 23;
            for (int i = 0; i < 8; ++i) combs_[channel][i].buffer.assign(static_cast<std::size_t>(combs[i] + spread), 0.0f);
            for (int i = 0; i < 4; ++i)
                allpasses_[channel][i].buffer.assign(static_cast<std::size_t>(allpasses[i] + spread), 0.0f);
        }
    }

    void process(float input, float& left, float& right) {
        left = run(0, input);
        right = run(1, input);
    }

private:
    struct Comb {
        std::vector<float> buffer;
        std::size_t index = 0;
        float store = 0.0f;
    };
    struct Allpass {
        std::vector<float> buffer;
        std::size_t index = 0;
    };

    float run(int channel, float input) {
        constexpr float feedback = 0.84f, damping = 0.25f;
        float sum = 0.0f;
        for (Comb& c : combs_[channel]) {
            const float out = c.buffer[c.index];
            c.store = out * (1.0f - damping) + c.store * damping;
            c.buffer[c.index] = input + c.store * feedback;
            if (++c.index == c.buffer.size()) c.index = 0;
            sum += out;
        }
        for (Allpass& a : allpasses_[channel]) {
            const float delayed = a.buffer[a.index];
            a.buffer[a.index] = sum + delayed * 0.5f;
            if (++a.index == a.buffer.size()) a.index = 0;
            sum = delayed - sum;
        }
        return sum;
    }

    std::array<std::array<Comb, 8>, 2> combs_;
    std::array<std::array<Allpass, 4>, 2> allpasses_;
};

// A ping-pong echo: the first repeat on the left, the next on the right, each a little darker.
class Echo {
public:
    explicit Echo(float seconds)
        : length_(static_cast<std::size_t>(std::max(1.0f, seconds * sampleRate))), left_(length_, 0.0f),
          right_(length_, 0.0f) {
        damping_.set(3500.0f);
    }

    void process(float input, float& wetLeft, float& wetRight) {
        constexpr float feedback = 0.38f;
        wetLeft = left_[index_];
        wetRight = right_[index_];
        left_[index_] = input + damping_.lowpass(wetRight * feedback);
        right_[index_] = wetLeft * feedback;
        if (++index_ == length_) index_ = 0;
    }

private:
    std::size_t length_;
    std::vector<float> left_, right_;
    std::size_t index_ = 0;
    OnePole damping_;
};

// How far the tonal buses are pulled down after a kick: a 3 ms dip, then a 140 ms recovery.
class Ducker {
public:
    explicit Ducker(std::vector<std::int64_t> kicks) : kicks_(std::move(kicks)) { std::sort(kicks_.begin(), kicks_.end()); }

    float next(std::int64_t frame) {
        while (next_ < kicks_.size() && kicks_[next_] <= frame) {
            if (kicks_[next_] == frame) {
                since_ = 0;
                from_ = level_;
            }
            ++next_;
        }
        if (since_ >= 0 && since_ < attackFrames_) {
            level_ = from_ + (1.0f - from_) * static_cast<float>(since_) / attackFrames_;
            ++since_;
        } else {
            level_ *= release_;
        }
        return level_;
    }

private:
    std::vector<std::int64_t> kicks_;
    std::size_t next_ = 0;
    int since_ = -1;
    const int attackFrames_ = 132;
    float from_ = 0.0f;
    float level_ = 0.0f;
    const float release_ = decayFactor(0.14f);
};

class MasterGain {
public:
    explicit MasterGain(std::vector<GainPoint> points) : points_(std::move(points)) {
        std::sort(points_.begin(), points_.end(), [](const GainPoint& a, const GainPoint& b) { return a.frame < b.frame; });
    }

    float at(std::int64_t frame) {
        if (points_.empty()) return 1.0f;
        while (next_ < points_.size() && points_[next_].frame <= frame) ++next_;
        if (next_ == 0) return points_.front().gain;
        if (next_ == points_.size()) return points_.back().gain;
        const GainPoint& a = points_[next_ - 1];
        const GainPoint& b = points_[next_];
        const float t = static_cast<float>(frame - a.frame) / static_cast<float>(b.frame - a.frame);
        return a.gain + (b.gain - a.gain) * t;
    }

private:
    std::vector<GainPoint> points_;
    std::size_t next_ = 0;
};

// Unity below the knee, then a smooth bend that never passes the ceiling; the headroom above it
// is for the encoder, whose output overshoots a little around sharp peaks.
float limit(float x) {
    constexpr float knee = 0.6f, ceiling = 0.9f;
    const float magnitude = std::fabs(x);
    if (magnitude <= knee) return x;
    const float bent = knee + (ceiling - knee) * softClip((magnitude - knee) / (ceiling - knee));
    return x < 0.0f ? -bent : bent;
}

std::int16_t toSample(float x) {
    const float scaled = std::nearbyint(limit(x) * 32767.0f);
    return static_cast<std::int16_t>(std::clamp(scaled, -32767.0f, 32767.0f));
}

}  // namespace

std::vector<std::int16_t> mixDown(MixPlan plan) {
    std::stable_sort(plan.notes.begin(), plan.notes.end(), [](const Note& a, const Note& b) { return a.frame < b.frame; });
    std::vector<std::int16_t> out(static_cast<std::size_t>(plan.frames) * 2, 0);

    Reverb reverb;
    Echo echo(plan.echoSeconds);
    Ducker ducker(plan.kickFrames);
    MasterGain master(plan.masterGain);

    std::array<StereoBlock, busCount> buses;
    StereoBlock scratch;
    std::array<float, blockFrames> send{};
    std::vector<Note*> active;
    std::size_t nextNote = 0;

    for (std::int64_t blockStart = 0; blockStart < plan.frames; blockStart += blockFrames) {
        const int frames = static_cast<int>(std::min<std::int64_t>(blockFrames, plan.frames - blockStart));
        for (StereoBlock& bus : buses) bus.clear();
        send.fill(0.0f);
        while (nextNote < plan.notes.size() && plan.notes[nextNote].frame < blockStart + frames) {
            Note& note = plan.notes[nextNote++];
            if (note.frame >= blockStart && note.voice) active.push_back(&note);
        }

        for (std::size_t i = 0; i < active.size();) {
            Note& note = *active[i];
            const int offset = static_cast<int>(std::max<std::int64_t>(0, note.frame - blockStart));
            scratch.clear();
            const bool sounding = note.voice->render(scratch.left.data() + offset, scratch.right.data() + offset, frames - offset);
            // Equal-power pan.
            const float angle = (note.pan + 1.0f) * 0.125f;
            const float gain = note.gain;
            const float fader = plan.faders[static_cast<std::size_t>(note.bus)];
            const float gainLeft = gain * fader * sineCycle(angle + 0.25f) * 1.41421356f;
            const float gainRight = gain * fader * sineCycle(angle) * 1.41421356f;
            StereoBlock& bus = buses[static_cast<std::size_t>(note.bus)];
            for (int f = offset; f < frames; ++f) {
                const float l = scratch.left[static_cast<std::size_t>(f)];
                const float r = scratch.right[static_cast<std::size_t>(f)];
                bus.left[static_cast<std::size_t>(f)] += l * gainLeft;
                bus.right[static_cast<std::size_t>(f)] += r * gainRight;
                send[static_cast<std::size_t>(f)] += (l + r) * 0.5f * gain * fader * note.reverb;
            }
            if (sounding) {
                ++i;
            } else {
                note.voice.reset();
                active[i] = active.back();
                active.pop_back();
            }
        }

        const StereoBlock& drums = buses[static_cast<std::size_t>(Bus::drums)];
        const StereoBlock& music = buses[static_cast<std::size_t>(Bus::music)];
        const StereoBlock& lead = buses[static_cast<std::size_t>(Bus::lead)];
        const StereoBlock& effects = buses[static_cast<std::size_t>(Bus::effects)];
        for (int f = 0; f < frames; ++f) {
            const auto k = static_cast<std::size_t>(f);
            const std::int64_t frame = blockStart + f;
            const float duck = ducker.next(frame);
            const float musicGain = 1.0f - 0.55f * duck;
            const float leadGain = 1.0f - 0.2f * duck;
            float echoLeft, echoRight, wetLeft, wetRight;
            const float leadLeft = lead.left[k] * leadGain, leadRight = lead.right[k] * leadGain;
            echo.process((leadLeft + leadRight) * 0.5f + antiDenormal, echoLeft, echoRight);
            reverb.process(send[k] * 0.05f + antiDenormal, wetLeft, wetRight);
            const float gain = master.at(frame);
            const float left = drums.left[k] + music.left[k] * musicGain + leadLeft + 0.45f * echoLeft +
                               effects.left[k] + wetLeft;
            const float right = drums.right[k] + music.right[k] * musicGain + leadRight + 0.45f * echoRight +
                                effects.right[k] + wetRight;
            out[static_cast<std::size_t>(frame) * 2] = toSample(left * gain);
            out[static_cast<std::size_t>(frame) * 2 + 1] = toSample(right * gain);
        }
    }
    return out;
}

}  // namespace synth
