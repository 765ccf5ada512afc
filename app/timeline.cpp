// The show's schedule.
#include "app/timeline.h"

int timelineSlot(std::int32_t t) {
    for (const SlotInterval& interval : timelineSlots)
        if (t >= interval.fromMs && t < interval.toMs) return interval.slot;
    return t >= showEndMs ? endOfShow : noSlot;
}
