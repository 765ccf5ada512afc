// The jump to a start time.
#include "app/show_jump.h"

#include <chrono>

#include "app/frame_composition.h"
#include "app/music.h"
#include "app/timeline.h"
#include "base/demo_clock.h"
#include "base/print_line.h"
#include "effects/show_state.h"

namespace {

SteppedFrameObserver steppedFrameObserver = nullptr;

}  // namespace

void observeSteppedFrames(SteppedFrameObserver observer) { steppedFrameObserver = observer; }

ShowSteps stepShowTo(std::int32_t fromMs, std::int32_t ms) {
    const auto start = std::chrono::steady_clock::now();
    ShowSteps steps;
    for (int frame = firstFrameAtOrAfter(fromMs, jumpFramesPerSecond); frameTimeMs(frame, jumpFramesPerSecond) < ms;
         ++frame, ++steps.frames) {
        advanceClock(frameTimeMs(frame, jumpFramesPerSecond));
        composeFrame(SceneRun::Unseen);
        if (steppedFrameObserver != nullptr) steppedFrameObserver(demoClock.musicMs);
    }
    steps.state = showStateDigest();
    const std::int32_t lastStepped = demoClock.musicMs;
    seekMusic(ms - lastStepped);
    demoClock.musicMs = lastStepped;
    steps.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return steps;
}

void jumpShowTo(std::int32_t ms) {
    const ShowSteps steps = stepShowTo(0, ms);
    printLine("Started at %.3f s: %d frames stepped in %.2f s (state %08x).", ms / 1000.0, steps.frames,
              steps.seconds, steps.state);
}
