// The authoring mode's arithmetic, without a window: how far keys seek, where a seek lands, the
// window title.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/authoring/show_keys.h"

// Left and Right move 1 s, Page Up and Page Down 10 s (back and on); 0 for other keys.
std::int32_t seekDeltaMs(ShowKey key);

// fromMs moved by deltaMs, kept inside the show: from 0 up to its last millisecond.
std::int32_t seekTargetMs(std::int32_t fromMs, std::int32_t deltaMs);

struct DevTitle {
    std::int32_t musicMs = 0;
    int slot = 0;
    double frameMs = 0.0;   // wall time per frame drawn
    bool paused = false;
    bool checking = false;  // a changed data set is being checked
};

// "adf  83.250 s  slot 2  16.7 ms", then "  paused" and "  checking data" as they hold.
void formatDevTitle(char* buffer, std::size_t bufferSize, const DevTitle& title);
