// The authoring mode's frame: keys, the watch, the check child, then the frame of the show.
#include "app/dev_mode.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/authoring/check_problems.h"
#include "app/authoring/dev_controls.h"
#include "app/frame_composition.h"
#include "app/music.h"
#include "app/show_jump.h"
#include "app/timeline.h"
#include "app/window.h"
#include "base/demo_clock.h"
#include "base/print_line.h"
#include "base/window_size.h"
#include "effects/show_state.h"
#include "platform/audio.h"
#include "platform/check_process.h"
#include "platform/data_watch.h"
#include "platform/process_replace.h"

namespace {

constexpr std::int64_t titleIntervalUs = 100000;
constexpr auto heldSleep = std::chrono::milliseconds(10);

struct DevMode {
    const char* programName = "demo";
    ShowStateSnapshot startState;  // the state after start-up, where seeks back begin
    DemoClock startClock;
    bool paused = false;
    bool redraw = true;  // a held show draws once after a change
    double frameMs = 0.0;
    std::int64_t lastFrameUs = -1;
    std::int64_t lastTitleUs = -1;
    char title[160] = {};

    DataWatch watch;
    CheckProcess check;  // the check of the data set as started, then of each changed one
    bool checkingCandidate = false;
    bool baselineKnown = false;
    bool checkUsable = false;  // the check of the data set as started ran
    std::vector<std::string> knownProblems;  // the running version's
    bool reloadWanted = false;
};

DevMode dev;

void setPaused(bool paused) {
    if (paused == dev.paused) return;
    dev.paused = paused;
    pauseMusic(paused);
    dev.redraw = true;  // the picture catches up with the held clock
    dev.lastFrameUs = -1;
}

// Runs this program again at the current time: start-up reads the changed data set.
void restartShow() {
    char width[16], height[16], start[32];
    formatText(width, sizeof width, "%d", windowSize.windowWidth);
    formatText(height, sizeof height, "%d", windowSize.windowHeight);
    formatText(start, sizeof start, "%.3f", demoClock.musicMs / 1000.0);
    char devOption[] = "--dev", startOption[] = "--start", pausedOption[] = "--paused";
    char* args[] = {const_cast<char*>(dev.programName), width, height, devOption, startOption, start,
                    dev.paused ? pausedOption : nullptr, nullptr};
    printLine("Reloading the data set at %s s.", start);
    std::fflush(stdout);
    // Where the restart is a new process (Windows), this one lives on until it ends: silent.
    pauseMusic(true);
    replaceWithThisProgram(args);
    const int error = errno;
    pauseMusic(dev.paused);
    printLine("Cannot restart the show (%s); it goes on with the data set it has.", std::strerror(error));
}

void startCandidateCheck() {
    dev.reloadWanted = false;
    dev.checkingCandidate = startCheckProcess(dev.check);
}

void takeCheckResult(const std::vector<std::string>& problems, int status) {
    if (!dev.checkingCandidate) {
        dev.baselineKnown = true;
        dev.checkUsable = status <= 1;
        if (dev.checkUsable) dev.knownProblems = problems;
        else printLine("The data set cannot be checked here; a reload restarts the show without a check.");
        return;
    }
    dev.checkingCandidate = false;
    if (!dev.checkUsable) {
        restartShow();
        return;
    }
    if (status > 1) {
        printLine("The changed data set could not be checked; the show goes on with the version it has.");
        return;
    }
    const std::vector<std::string> added = newProblemLines(dev.knownProblems, problems);
    if (added.empty()) {
        restartShow();
        return;
    }
    for (const std::string& line : added) printLine("%s", line.c_str());
    printLine("The changed data set has problems the running one has not (above); the show goes on with the version "
              "it has.");
}

// The watch, R and the check child; a reload waits for the check of the data set as started.
void followDataSet(std::int64_t nowUs) {
    if (pollDataWatch(dev.watch, nowUs)) dev.reloadWanted = true;
    std::string output;
    int status = 0;
    if (pollCheckProcess(dev.check, output, status)) takeCheckResult(checkProblemLines(output), status);
    if (dev.reloadWanted && dev.baselineKnown && !checkRunning(dev.check)) startCandidateCheck();
}

void takeKeys() {
    ShowKey key;
    while (takeKeyPress(key)) {
        if (key == ShowKey::Space) setPaused(!dev.paused);
        if (key == ShowKey::Reload) dev.reloadWanted = true;
        if (const std::int32_t delta = seekDeltaMs(key); delta != 0)
            seekShowTo(seekTargetMs(demoClock.musicMs, delta));
    }
}

void showTitle(std::int64_t nowUs, bool force) {
    if (!force && dev.lastTitleUs >= 0 && nowUs - dev.lastTitleUs < titleIntervalUs) return;
    dev.lastTitleUs = nowUs;
    char title[sizeof dev.title];
    const bool checking = checkRunning(dev.check) && dev.checkingCandidate;
    formatDevTitle(title, sizeof title,
                   {demoClock.musicMs, timelineSlot(demoClock.musicMs), dev.frameMs, dev.paused, checking});
    if (std::strcmp(title, dev.title) == 0) return;
    std::memcpy(dev.title, title, sizeof title);
    setWindowTitle(dev.title);
}

// At its end the show holds on its last millisecond instead of ending.
bool holdAtEnd() {
    if (demoClock.musicMs < showEndMs) return false;
    demoClock.musicMs = demoClock.previousMusicMs;
    setPaused(true);
    seekShowTo(showEndMs - 1);
    return true;
}

bool devFrame() {
    takeKeys();
    if (demoState.keyState[escapeKey] == 1) exitShow(0);
    std::int64_t nowUs = steadyMicroseconds();
    followDataSet(nowUs);
    if (dev.paused && !dev.redraw) {
        showTitle(nowUs, false);
        std::this_thread::sleep_for(heldSleep);
        return false;
    }
    updateAudio();
    if (holdAtEnd()) return false;
    composeFrame(SceneRun::Drawn);
    dev.redraw = false;
    const std::int64_t drawnUs = steadyMicroseconds();
    // Playing: the time between frames, smoothed; held: what the one frame cost.
    if (dev.paused) dev.frameMs = (drawnUs - nowUs) / 1000.0;
    else if (dev.lastFrameUs >= 0) dev.frameMs = 0.9 * dev.frameMs + 0.1 * ((drawnUs - dev.lastFrameUs) / 1000.0);
    nowUs = drawnUs;
    dev.lastFrameUs = dev.paused ? -1 : nowUs;
    showTitle(nowUs, dev.paused);
    return true;
}

}  // namespace

void prepareDevMode() { startCheckProcess(dev.check); }

void beginDevMode(const char* programName, bool paused) {
    dev.programName = programName;
    dev.startState = saveShowState();
    dev.startClock = demoClock;
    startDataWatch(dev.watch, "data");
    setFrameFunction(devFrame);
    if (paused) setPaused(true);
}

void seekShowTo(std::int32_t ms) {
    const std::int32_t shown = demoClock.musicMs;
    std::int32_t from = shown + 1;
    if (ms < shown) {
        restoreShowState(dev.startState);
        demoClock = dev.startClock;
        from = 0;
    }
    const ShowSteps steps = stepShowTo(from, ms);
    printLine("Seeked to %.3f s from %.3f s: %d frames stepped in %.2f s (state %08x).", ms / 1000.0, shown / 1000.0,
              steps.frames, steps.seconds, steps.state);
    dev.redraw = true;
    dev.lastFrameUs = -1;
}
