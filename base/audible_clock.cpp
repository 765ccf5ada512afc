// Anchored, interpolated, monotonic music position.
#include "base/audible_clock.h"

#include <algorithm>
#include <cmath>
#include <limits>

void jumpAudibleClock(AudibleClock& clock, double positionMs, std::int64_t nowUs) {
    clock.anchorMs = std::max(positionMs, 0.0);
    clock.anchorUs = nowUs;
    clock.floorMs = 0;
    clock.floorMs = readAudibleClock(clock, nowUs);
}

void anchorAudibleClock(AudibleClock& clock, double positionMs, std::int64_t nowUs) {
    clock.anchorMs = std::max(positionMs, 0.0);
    clock.anchorUs = nowUs;
}

void holdAudibleClock(AudibleClock& clock, bool held, std::int64_t nowUs) {
    if (held == clock.held) return;
    if (held) clock.anchorMs = readAudibleClock(clock, nowUs);
    clock.anchorUs = nowUs;
    clock.held = held;
}

std::uint32_t readAudibleClock(AudibleClock& clock, std::int64_t nowUs) {
    double elapsedMs = clock.held ? 0.0 : std::max(static_cast<double>(nowUs - clock.anchorUs) / 1000.0, 0.0);
    // A stalled audio thread means nothing new is heard: do not run away from the music.
    if (clock.streaming) elapsedMs = std::min(elapsedMs, clock.maxLeadMs);
    const double position = std::floor(clock.anchorMs + elapsedMs);
    constexpr double largest = std::numeric_limits<std::int32_t>::max();
    const auto ms = static_cast<std::uint32_t>(std::clamp(position, 0.0, largest));
    clock.floorMs = std::max(clock.floorMs, ms);
    return clock.floorMs;
}
