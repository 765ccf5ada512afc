// Starting the show anywhere: the state it would have at a music time, reached by stepping every
// frame of a fixed 60 fps frame clock from 0 without drawing, as demo-capture --fps 60 steps it.
#pragma once

#include <cstdint>

constexpr int jumpFramesPerSecond = 60;

// Steps the frames before ms (their times below it) unseen, then moves the music and the clock to
// ms, and says on the console how long that took and the state it reached.
void jumpShowTo(std::int32_t ms);
