// The show's clock: the music position of the current frame, read once per frame by the clock
// driver and constant until the next one. Every scene, envelope and the timeline read it.
#pragma once

#include <cstdint>

struct DemoClock {
    std::int32_t musicMs = 0;          // position at the start of this frame; 0 until the first update
    std::int32_t previousMusicMs = 0;  // the same at the start of the previous frame
    float frameSeconds = 0.0f;         // music time between the two: the particles' time step
};

extern DemoClock demoClock;

// The clock value of the current frame in milliseconds.
std::int32_t demoTimeMs();
