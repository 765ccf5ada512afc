// The show's slots: where each begins and ends in music time, and the room under effects/ that
// plays it. The timeline, the scenes' times, the music's sections and the scripts (through
// `demo-capture --list-slots`) read these rows; effects/slot_table has the room's row for each.
#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>

constexpr std::int32_t showEndMs = 210000;

struct SlotInterval {
    int slot;
    std::int32_t fromMs;  // inclusive
    std::int32_t toMs;    // exclusive
    const char* room;
};

inline constexpr SlotInterval timelineSlots[] = {
    {1, 0, 45500, "sky"},
    {2, 45500, 101600, "procession"},
    {3, 101600, 122600, "worms"},
    {4, 122600, 178500, "cannon"},
    {5, 178500, showEndMs, "clouds"},
};

constexpr int slotCount = static_cast<int>(std::size(timelineSlots));

constexpr bool slotsFollowOneAnother() {
    for (int i = 0; i < slotCount; ++i)
        if (timelineSlots[i].slot != i + 1 || timelineSlots[i].fromMs >= timelineSlots[i].toMs ||
            timelineSlots[i].fromMs != (i == 0 ? 0 : timelineSlots[i - 1].toMs))
            return false;
    return timelineSlots[slotCount - 1].toMs == showEndMs;
}
static_assert(slotsFollowOneAnother(), "the slots are numbered from 1 and cover the show from 0 without a gap");

// The slot a room plays, by its name: a room's times follow its slot wherever the table puts it.
// An unknown name does not compile where a constant is wanted.
consteval SlotInterval roomSlot(std::string_view room) {
    for (const SlotInterval& slot : timelineSlots)
        if (room == slot.room) return slot;
    throw "no slot plays this room";
}

// The first and one past the last music time of a slot.
constexpr std::int32_t slotStartMs(int slot) { return timelineSlots[slot - 1].fromMs; }
constexpr std::int32_t slotEndMs(int slot) { return timelineSlots[slot - 1].toMs; }
