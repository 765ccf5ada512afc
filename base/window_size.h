// The window's size in pixels: written by the window layer when the window opens and on every
// reshape, read by every pass that sets a viewport over the screen.
#pragma once

struct WindowSize {
    int windowWidth = 0;
    int windowHeight = 0;
};

extern WindowSize windowSize;
