// One frame of the show, the function the window system calls: the clock, the slot's picture,
// then the overlay image and the letterbox bars over it.
#pragma once

#include "effects/common/scene_run.h"

constexpr unsigned char escapeKey = 27;

// Updates the clock, draws the slot of the current time, lays the overlay and the letterbox bars
// over it, and ends the process with status 0 at the end of the show (before drawing) or after a
// frame in which Escape was seen. Always true: the frame was drawn.
bool renderFrame();

// The same frame, drawn or unseen: an unseen frame updates the clock and makes every change the
// slot's runs make (particles, flashes, one-time emissions, the random sequence, eye and field of
// view) without a GL call, so that the frames after it come out as if it had been drawn.
void runFrame(SceneRun frame);

// runFrame after the clock has been updated.
void composeFrame(SceneRun frame);
