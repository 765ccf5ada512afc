// The show's one random number generator: a 32-bit linear congruential generator that starts
// from state 1 and is never reseeded, so every run produces the same particles.
#pragma once

#include <cstdint>

// The next value, 0 to 32767.
int nextRandom();

// Back to the start state (for tests that need the sequence from its beginning).
void resetRandom();

// Where the sequence stands: equal states give equal values from here on.
std::uint32_t randomSequenceState();

// Puts the sequence back where randomSequenceState said it stood.
void restoreRandomSequence(std::uint32_t state);
