// The frame clock.
#include "base/frame_clock.h"

#include <algorithm>
#include <cmath>

int frameTimeMs(int frame, int fps) {
    return static_cast<int>(std::llround(static_cast<double>(frame) * 1000.0 / fps));
}

int firstFrameAtOrAfter(int ms, int fps) {
    // Start near it and settle on the rounded frame times.
    int frame = std::max(0, static_cast<int>(static_cast<long long>(ms) * fps / 1000));
    while (frame > 0 && frameTimeMs(frame - 1, fps) >= ms) --frame;
    while (frameTimeMs(frame, fps) < ms) ++frame;
    return frame;
}
