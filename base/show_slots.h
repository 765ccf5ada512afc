// The show's five slots and where each begins and ends in music time: the one table the timeline
// and the scenes read.
#pragma once

#include <cstdint>

constexpr std::int32_t showEndMs = 210000;

struct SlotInterval {
    int slot;
    std::int32_t fromMs;  // inclusive
    std::int32_t toMs;    // exclusive
};

inline constexpr SlotInterval timelineSlots[] = {
    {1, 0, 45500}, {2, 45500, 101600}, {3, 101600, 122600}, {4, 122600, 178500}, {5, 178500, showEndMs},
};

// The first and one past the last music time of slot 1 to 5.
constexpr std::int32_t slotStartMs(int slot) { return timelineSlots[slot - 1].fromMs; }
constexpr std::int32_t slotEndMs(int slot) { return timelineSlots[slot - 1].toMs; }
