// The show's schedule and the frame function the window system calls.
#include "app/timeline.h"

#include <cstdio>
#include <cstdlib>

#include "app/demo_state.h"
#include "app/music.h"

namespace {

using SlotFunction = void (*)();

// What draws each slot; a slot without a function draws nothing.
constexpr SlotFunction slotFunctions[endOfShow] = {};

[[noreturn]] void endShow() {
    std::fflush(stdout);
    std::exit(0);
}

}  // namespace

int timelineSlot(std::int32_t t) {
    for (const SlotInterval& interval : timelineSlots)
        if (t >= interval.fromMs && t < interval.toMs) return interval.slot;
    return t >= showEndMs ? endOfShow : noSlot;
}

void renderFrame() {
    updateAudio();
    const int slot = timelineSlot(demoTimeMs());
    if (slot == endOfShow) endShow();
    if (SlotFunction draw = slotFunctions[slot]) draw();
    if (demoState.keyState[escapeKey] == 1) endShow();
}
