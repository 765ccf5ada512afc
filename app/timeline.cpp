// The show's schedule.
#include "app/timeline.h"

#include <cmath>

int timelineSlot(std::int32_t t) {
    for (const SlotInterval& interval : timelineSlots)
        if (t >= interval.fromMs && t < interval.toMs) return interval.slot;
    return t >= showEndMs ? endOfShow : noSlot;
}

int frameTimeMs(int frame, int fps) {
    return static_cast<int>(std::llround(static_cast<double>(frame) * 1000.0 / fps));
}
