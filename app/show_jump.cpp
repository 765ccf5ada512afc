// The jump to a start time.
#include "app/show_jump.h"

#include <chrono>

#include "app/frame_composition.h"
#include "app/music.h"
#include "app/timeline.h"
#include "base/demo_clock.h"
#include "base/print_line.h"
#include "effects/show_state.h"

void jumpShowTo(std::int32_t ms) {
    const auto start = std::chrono::steady_clock::now();
    int frames = 0;
    for (; frameTimeMs(frames, jumpFramesPerSecond) < ms; ++frames) {
        advanceClock(frameTimeMs(frames, jumpFramesPerSecond));
        composeFrame(SceneRun::Unseen);
    }
    const std::uint32_t state = showStateDigest();
    // The music moves to ms; the clock stays on the last frame stepped, so the first frame shown
    // advances the particles from there, as it would in a run.
    const std::int32_t lastStepped = demoClock.musicMs;
    seekMusic(ms - lastStepped);
    demoClock.musicMs = lastStepped;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    printLine("Started at %.3f s: %d frames stepped in %.2f s (state %08x).", ms / 1000.0, frames, seconds, state);
}
