// Everything the show carries from one frame to the next apart from the clock: the particle
// pools, the one-time flags, the random sequence, the flashes, the eyes and the field of view.
// Its fingerprint compares two runs; its snapshot takes a run back to an earlier moment.
#pragma once

#include <cstdint>
#include <vector>

// Two runs whose fingerprints agree draw the same frames from there on.
std::uint32_t showStateDigest();

struct ShowStateSnapshot {
    std::vector<unsigned char> bytes;
};

ShowStateSnapshot saveShowState();

// Puts back what saveShowState saw; the particle systems must be the ones it saw (start-up done).
void restoreShowState(const ShowStateSnapshot& snapshot);
