// A fingerprint of everything the show carries from one frame to the next apart from the clock:
// the particle pools, the one-time flags, the random sequence, the flashes, the eyes and the field
// of view. Two runs whose fingerprints agree draw the same frames from there on.
#pragma once

#include <cstdint>

std::uint32_t showStateDigest();
