// The show's one random number generator: a 32-bit linear congruential generator that starts
// from state 1 and is never reseeded, so every run produces the same particles.
#pragma once

// The next value, 0 to 32767.
int nextRandom();

// Back to the start state (for tests that need the sequence from its beginning).
void resetRandom();
