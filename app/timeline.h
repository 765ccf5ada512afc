// The timeline: which slot of the show a music time belongs to. Pure arithmetic on the clock value.
#pragma once

#include <cstdint>

#include "base/show_slots.h"

constexpr int noSlot = 0;     // before the show (negative times)
constexpr int endOfShow = 6;  // at or past showEndMs

// The slot (1 to 5) whose interval holds t, noSlot for negative t, endOfShow from showEndMs on.
int timelineSlot(std::int32_t t);

// The frame clock that steps the show without the music (the capture tool, a jump to a start
// time): the music time of frame i, round(i * 1000 / fps) ms.
int frameTimeMs(int frame, int fps);

// The first frame of that clock whose time is at or after ms (0 for ms <= 0).
int firstFrameAtOrAfter(int ms, int fps);
