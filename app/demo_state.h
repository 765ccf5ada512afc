// DemoState: the run-time record of the program's top layer: what the window system hands in
// (the frame function, key and mouse states) and the start-up resources the frame composition
// draws. The other layers keep their groups in their own folders: the clock and the window size
// (base/), the render destinations (render/), the post-processing scene and the flashes (effects/).
#pragma once

#include <cstdint>
#include <vector>

#include "app/authoring/dev_controls.h"

// Draws a frame; false when it drew nothing to show (a paused show keeps the picture it has).
using FrameFunction = bool (*)();


struct DemoState {
    // Window and input (window layer).
    FrameFunction frameFunction = nullptr;
    std::uint8_t keyState[256] = {};
    std::uint8_t leftButtonDown = 0;
    std::uint8_t rightButtonDown = 0;
    std::uint8_t leftButtonReleased = 0;
    std::uint8_t rightButtonReleased = 0;
    std::vector<KeyPressRun> keyPresses;  // not yet taken, oldest first

    // Start-up resources.
    int overlayTexture = -1;  // texture registry index of the overlay image
};

extern DemoState demoState;
