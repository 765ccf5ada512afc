// Seeks and the title of the authoring mode.
#include "app/authoring/dev_controls.h"

#include <algorithm>

#include "base/print_line.h"
#include "base/show_slots.h"

std::int32_t seekDeltaMs(ShowKey key) {
    switch (key) {
        case ShowKey::Left: return -1000;
        case ShowKey::Right: return 1000;
        case ShowKey::PageUp: return -10000;
        case ShowKey::PageDown: return 10000;
        default: return 0;
    }
}

std::int32_t seekTargetMs(std::int32_t fromMs, std::int32_t deltaMs) {
    const std::int64_t target = static_cast<std::int64_t>(fromMs) + deltaMs;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(target, 0, showEndMs - 1));
}

void formatDevTitle(char* buffer, std::size_t bufferSize, const DevTitle& title) {
    formatText(buffer, bufferSize, "adf  %.3f s  slot %d  %.1f ms%s%s", title.musicMs / 1000.0,
               title.slot, title.frameMs, title.paused ? "  paused" : "",
               title.checking ? "  checking data" : "");
}
