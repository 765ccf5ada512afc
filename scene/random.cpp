// The shared linear congruential generator.
#include "scene/random.h"

#include <cstdint>

namespace {

std::uint32_t randomState = 1;

}  // namespace

int nextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 32767u);
}

void resetRandom() { randomState = 1; }

std::uint32_t randomSequenceState() { return randomState; }

void restoreRandomSequence(std::uint32_t state) { randomState = state; }
