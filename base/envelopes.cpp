// Envelopes of the music clock, in the exact float and double steps the scenes were timed with.
#include "base/envelopes.h"

#include "base/demo_clock.h"

float rampDownAt(std::int32_t t, std::int32_t startMs, std::int32_t endMs) {
    if (t < startMs || t >= endMs) return 0.0f;
    return static_cast<float>(endMs - t) / static_cast<float>(endMs - startMs);
}

float rampDown(std::int32_t startMs, std::int32_t endMs) { return rampDownAt(demoTimeMs(), startMs, endMs); }

int beatIndexAt(std::int32_t t) {
    // Accumulated in single precision on purpose: the beat boundaries drift exactly as timed.
    float boundary = 0.0f;
    for (int i = 0; i < beatSearchLimit; ++i) {
        if (boundary > static_cast<float>(t)) return i - 1;
        boundary = static_cast<float>(static_cast<double>(boundary) + static_cast<double>(beatLengthMs));
    }
    return -1;
}

int beatIndex() { return beatIndexAt(demoTimeMs()); }

float beatFlashAt(std::int32_t t) {
    if (t < beatFlashStartMs) return 0.0f;
    const int k = beatIndexAt(t);
    const double beatStartMs = static_cast<double>(k) * 1000.0 * 60.0 / 138.0;
    const float x = static_cast<float>(beatStartMs + 0.0 - t);
    if (x > -beatFlashWindowMs && x < 0.0f) return (x + beatFlashWindowMs) / beatFlashWindowMs;
    return 0.0f;
}

float beatFlash() { return beatFlashAt(demoTimeMs()); }
