// Start-up of the show: window size from the command line, then everything that must exist
// before the first frame, in the one order that works.
#pragma once

#include "base/window_size.h"

// Width and height from the first two user arguments (atoi); 1280 by 800 with fewer than two.
WindowSize chooseWindowSize(int argc, char** argv);

// Sides the window and its window-sized render target can have.
constexpr int smallestWindowSide = 16;
constexpr int largestWindowSide = 8192;

// The requested size with each side brought into [smallestWindowSide, largestWindowSide]; one
// line on the console says so when that changes it.
WindowSize usableWindowSize(WindowSize requested);

// Opens the window and loads and starts everything; false (after a message) when no window or
// no OpenGL 2.0 can be had. The frame loop is the caller's.
bool startShow(int argc, char** argv, WindowSize requested, bool fullScreen);
