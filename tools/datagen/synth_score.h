// The soundtrack's arrangement: which note plays when, laid out on the show's timeline.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/datagen/synth_mixer.h"

namespace synth {

// Long enough to outlast the show's 210 s with silence to spare.
constexpr double soundtrackSeconds = 213.0;

// Whether the arrangement plays a kick at the start of beat k of the grid.
bool kickOnBeat(int beat);

// Every note of the piece, with its mix settings.
MixPlan composeSoundtrack();

// The whole piece as interleaved 16-bit stereo at 44.1 kHz; sample 0 is time 0 of the grid.
std::vector<std::int16_t> renderSoundtrack();

}  // namespace synth
