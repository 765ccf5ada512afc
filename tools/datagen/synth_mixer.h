// The soundtrack's mixing desk: plays a list of notes on their exact frames into four buses, ducks
// the tonal buses under the kick, runs the lead's echo and a shared reverb, and writes the master
// through a soft limiter as 16-bit stereo.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tools/datagen/synth_instruments.h"

namespace synth {

enum class Bus {
    drums,    // dry, never ducked
    music,    // bass and pads: ducked hard under every kick
    lead,     // lead and arpeggios: ducked lightly, through the echo
    effects,  // hits and risers
};

struct Note {
    std::int64_t frame = 0;  // first frame of the sound
    Bus bus = Bus::music;
    float gain = 1.0f;
    float pan = 0.0f;     // -1 left to 1 right
    float reverb = 0.0f;  // level sent to the reverb
    std::unique_ptr<Voice> voice;
};

struct GainPoint {
    std::int64_t frame;
    float gain;
};

struct MixPlan {
    std::int64_t frames = 0;
    std::vector<Note> notes;
    std::vector<std::int64_t> kickFrames;  // the tonal buses duck under these
    std::vector<GainPoint> masterGain;     // linear between points, held outside them
    float faders[4] = {1.0f, 1.0f, 1.0f, 1.0f};  // per bus, in the order of Bus
    float echoSeconds = 0.3f;
};

// Interleaved left/right samples, plan.frames frames.
std::vector<std::int16_t> mixDown(MixPlan plan);

}  // namespace synth
