// Starting the show anywhere: the state it would have at a music time, reached by stepping every
// frame of a fixed 60 fps frame clock from 0 without drawing, as demo-capture --fps 60 steps it.
#pragma once

#include <cstdint>

constexpr int jumpFramesPerSecond = 60;

struct ShowSteps {
    int frames = 0;           // frames stepped
    double seconds = 0.0;     // wall time the stepping took
    std::uint32_t state = 0;  // the state fingerprint reached
};

// Steps unseen the frames of the 60 fps clock whose times lie from fromMs up to below ms, then
// moves the music to ms. The clock stays on the last frame stepped, so the first frame shown
// advances the particles from there, as it would in a run.
ShowSteps stepShowTo(std::int32_t fromMs, std::int32_t ms);

// Called after each frame stepShowTo steps with that frame's time; null for none.
using SteppedFrameObserver = void (*)(std::int32_t ms);
void observeSteppedFrames(SteppedFrameObserver observer);

// stepShowTo from the start of the show, which is where the state must stand, and a line on the
// console saying how long it took and the state it reached.
void jumpShowTo(std::int32_t ms);

// Plain decimal seconds ("170", "0.5", "209.9999") from 0 up to the end of the show, nothing else:
// no sign, exponent, hexadecimal or spaces, which strtod would take. False for anything else.
bool parseStartSeconds(const char* text, std::int32_t& ms);
