// The jump to a start time.
#include "app/show_jump.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>

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

bool parseStartSeconds(const char* text, std::int32_t& ms) {
    int digits = 0, points = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (std::isdigit(static_cast<unsigned char>(*c))) ++digits;
        else if (*c == '.' && points == 0) ++points;
        else return false;
    }
    if (digits == 0) return false;
    const double seconds = std::strtod(text, nullptr);
    if (!(seconds * 1000.0 < showEndMs)) return false;
    // A time below the end that rounds onto it starts on the show's last millisecond.
    ms = std::min(static_cast<std::int32_t>(std::lround(seconds * 1000.0)), showEndMs - 1);
    return true;
}
