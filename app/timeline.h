// The timeline: which slot of the show a music time belongs to. Pure arithmetic on the clock value.
#pragma once

#include <cstdint>

#include "base/frame_clock.h"
#include "base/show_slots.h"

constexpr int noSlot = 0;                 // before the show (negative times)
constexpr int endOfShow = slotCount + 1;  // at or past showEndMs

// The slot (1 to slotCount) whose interval holds t, noSlot for negative t, endOfShow from showEndMs on.
int timelineSlot(std::int32_t t);
