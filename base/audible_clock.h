// The audible music position with millisecond resolution, built from coarse anchors: the audio
// thread anchors the position once per mixed buffer, and readers interpolate from the last anchor
// with a monotonic timer. Plain arithmetic, no locking: the owner serialises access.
#pragma once

#include <cstdint>

struct AudibleClock {
    double anchorMs = 0.0;         // audible position at anchorUs
    std::int64_t anchorUs = 0;     // monotonic time of the anchor
    bool streaming = false;        // anchors keep arriving, so interpolation is capped
    double maxLeadMs = 100.0;      // how far past its last anchor a streaming clock may run
    std::uint32_t floorMs = 0;     // last value read; the clock never goes back except by a jump
    bool held = false;             // paused: reads give anchorMs
};

// Puts the clock at positionMs now, forgetting earlier readings (start and seek).
void jumpAudibleClock(AudibleClock& clock, double positionMs, std::int64_t nowUs);

// The audio thread's report: positionMs is audible at nowUs.
void anchorAudibleClock(AudibleClock& clock, double positionMs, std::int64_t nowUs);

// Holds the clock where it stands at nowUs (pause), or lets it run on from there (resume).
void holdAudibleClock(AudibleClock& clock, bool held, std::int64_t nowUs);

// Position in whole milliseconds at nowUs; never below an earlier reading.
std::uint32_t readAudibleClock(AudibleClock& clock, std::int64_t nowUs);
