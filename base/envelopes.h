// Envelopes of the music clock: a linear fade over an interval and the 138 BPM beat grid with a
// short flash after each beat. Pure functions of the clock; the *At forms take the time directly.
#pragma once

#include <cstdint>

constexpr float beatLengthMs = 434.78262f;  // 60000 / 138
constexpr std::int32_t beatFlashStartMs = 14000;
constexpr float beatFlashWindowMs = 300.0f;
constexpr int beatSearchLimit = 2000;

// 1 at startMs falling linearly towards 0 at endMs; 0 outside [startMs, endMs).
float rampDownAt(std::int32_t t, std::int32_t startMs, std::int32_t endMs);
float rampDown(std::int32_t startMs, std::int32_t endMs);

// Index of the beat containing t, or -1 (before 0, or past the search limit).
int beatIndexAt(std::int32_t t);
int beatIndex();

// 1 right after a beat, falling to 0 over 300 ms; 0 before 14000 ms.
float beatFlashAt(std::int32_t t);
float beatFlash();
