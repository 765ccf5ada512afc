// The authoring mode's frame: keys, the watch, the check child, then the frame of the show.
#include "app/dev_mode.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/authoring/check_problems.h"
#include "app/authoring/data_changes.h"
#include "app/authoring/data_copies.h"
#include "app/authoring/dev_controls.h"
#include "app/frame_composition.h"
#include "app/music.h"
#include "app/seek_snapshots.h"
#include "app/show_jump.h"
#include "app/timeline.h"
#include "app/window.h"
#include "base/demo_clock.h"
#include "base/print_line.h"
#include "base/utf8_path.h"
#include "base/window_size.h"
#include "platform/audio.h"
#include "platform/check_process.h"
#include "platform/data_watch.h"
#include "platform/show_handover.h"
#include "platform/stop_signals.h"

namespace {

constexpr std::int64_t titleIntervalUs = 100000;
constexpr auto heldSleep = std::chrono::milliseconds(10);

struct DevMode {
    const char* programName = "demo";
    bool paused = false;
    bool redraw = true;       // a held show draws once after a change
    bool atEnd = false;       // held on the last millisecond after the music ended
    bool onSeekClock = true;  // the state is the seeks' frame clock's, so snapshots of it are kept
    std::int32_t shownMs = 0;  // the time the picture stands for: where the next seek starts
    LoopSection loop;
    bool timeLine = false;  // the time and slot in the window's corner, for recordings without a title
    double frameMs = 0.0;
    std::int64_t lastFrameUs = -1;
    std::int64_t lastTitleUs = -1;
    int drawnWidth = 0, drawnHeight = 0;
    char title[200] = {};

    // The data set: the run folder watched, and the copies the show plays and checks.
    std::string runFolder;
    DataCopies copies;
    std::string playing;    // the copy this process plays
    std::string candidate;  // the copy under check
    DataWatch watch;
    ChangeQuiet quiet;
    CheckProcess check;  // the check of the data set as started, then of each changed one
    bool checkingCandidate = false;
    bool baselineKnown = false;
    bool checkUsable = false;  // the check of the data set as started ran
    bool refused = false;      // the newest version on disk was refused
    std::vector<std::string> knownProblems;  // the running version's
    bool reloadWanted = false;
    bool compareWhenChecked = false;  // restarted: a save made since its copy was taken is checked too
    bool ownsCopies = false;  // the first start, or a restart once it shows: the copies go at its end
    bool shown = false;       // a first frame is on screen
    // A reload's new show while it starts: this one holds its picture until the new one shows.
    ShowSuccessor successor;
    std::string successorCopy;
    std::vector<std::string> passedOn;  // the command line's options that a restart repeats
    std::vector<std::string> startupLines;  // held until start-up is done, to print what is new
};

DevMode dev;

void setPaused(bool paused) {
    if (paused == dev.paused) return;
    dev.paused = paused;
    pauseMusic(paused);
    dev.redraw = true;  // the picture catches up with the held clock
    dev.lastFrameUs = -1;
}

// Runs this program again at the current time inside the copy: start-up reads that version. The
// command line is repeated but for what the restart sets itself: the size, where the show stands
// and the window is, and the folder to watch.
void restartShow(const std::string& copy) {
    if (dev.successor.process != 0) return;
    char width[16], height[16], start[32], place[32];
    formatText(width, sizeof width, "%d", windowSize.windowWidth);
    formatText(height, sizeof height, "%d", windowSize.windowHeight);
    formatText(start, sizeof start, "%.3f", dev.shownMs / 1000.0);
    std::vector<std::string> list = {dev.programName, width, height};
    list.insert(list.end(), dev.passedOn.begin(), dev.passedOn.end());
    list.insert(list.end(), {"--start", start, "--watch", dev.runFolder});
    int x = 0, y = 0;
    if (windowPosition(x, y)) {
        formatText(place, sizeof place, "%d,%d", x, y);
        list.insert(list.end(), {"--window-at", place});
    }
    if (dev.paused) list.push_back("--paused");
    std::vector<char*> args;
    for (std::string& arg : list) args.push_back(arg.data());
    args.push_back(nullptr);
    printLine("Reloading the data set at %s s.", start);
    pauseMusic(true);
    if (!startShowSuccessor(dev.successor, args.data(), copy.c_str())) {
        pauseMusic(dev.paused);
        printLine("Cannot restart the show (%s); it goes on with the data set it has.", std::strerror(errno));
        return;
    }
    dev.successorCopy = copy;
    char title[sizeof dev.title];
    formatText(title, sizeof title, "adf: reloading the data set at %s s", start);
    setWindowTitle(title);
}

// The new show has a frame on screen: it takes the copies over, and this process goes.
void letGoForSuccessor() {
    stopMusic();
    dev.ownsCopies = false;
}

void removeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::remove_all(utf8Path(folder), error);
}

// While a reload's new show starts, this one holds its picture and takes no keys but Escape. A new
// show that ends before it shows (its start-up has said why) leaves this one going.
void followSuccessor() {
    int status = 0;
    const SuccessorState state = pollShowSuccessor(dev.successor, status);
    if (state == SuccessorState::Showing) handOverToSuccessor(dev.successor, letGoForSuccessor);
    takeKeyPresses();
    if (state == SuccessorState::Starting) {
        if (demoState.keyState[escapeKey] == 1) {
            stopShowSuccessor(dev.successor);
            removeFolder(dev.successorCopy);
            exitShow(0);
        }
        std::this_thread::sleep_for(heldSleep);
        return;
    }
    printLine("The reloaded show ended before it showed (status %d); this one goes on with the data set it has.",
              status);
    if (dev.successorCopy == dev.candidate) dev.candidate.clear();
    removeFolder(dev.successorCopy);
    dev.successorCopy.clear();
    dev.refused = true;
    pauseMusic(dev.paused);
    dev.title[0] = '\0';
    dev.redraw = true;
    dev.lastFrameUs = -1;
}

// A copy of what is on disk now; empty (after a line) when none could be made.
std::string copyOnDisk() {
    std::string copy, error;
    if (copyDataSet(dev.copies, dev.runFolder, copy, error)) return copy;
    printLine("Cannot copy the data set for its check (%s); the show goes on with the version it has.",
              error.c_str());
    return {};
}

void dropCandidate() {
    if (dev.candidate.empty()) return;
    removeFolder(dev.candidate);
    dev.candidate.clear();
}

void startCandidateCheck() {
    dev.reloadWanted = false;
    dropCandidate();
    dev.candidate = copyOnDisk();
    if (dev.candidate.empty()) return;
    dev.checkingCandidate = startCheckProcess(dev.check, dev.candidate.c_str());
    if (!dev.checkingCandidate) dropCandidate();
}

void refuseCandidate(const char* why) {
    printLine("%s", why);
    dev.refused = true;
    dropCandidate();
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
        restartShow(dev.candidate);
        return;
    }
    if (status > 1) {
        refuseCandidate("The changed data set could not be checked; the show goes on with the version it has.");
        return;
    }
    const std::vector<std::string> added = newProblemLines(dev.knownProblems, problems);
    // A clean check may still have new notes (GLSL that stricter drivers refuse): said, not refused.
    if (added.empty() || status == 0) {
        for (const std::string& line : added) printLine("%s", line.c_str());
        restartShow(dev.candidate);
        return;
    }
    for (const std::string& line : added) printLine("%s", line.c_str());
    refuseCandidate("The changed data set has problems the running one has not (above); the show goes on with the "
                    "version it has.");
}

// The watch, R and the check child; a reload waits for the check of the data set as started.
void followDataSet(std::int64_t nowUs) {
    std::vector<std::string> names;
    readDataWatch(dev.watch, names);
    bool changed = false;
    for (const std::string& name : names) changed = changed || showReadsFile(name);
    if (quietAfterChanges(dev.quiet, changed, nowUs)) dev.reloadWanted = true;
    std::string output;
    int status = 0;
    if (pollCheckProcess(dev.check, output, status)) takeCheckResult(checkProblemLines(output), status);
    if (dev.compareWhenChecked && dev.baselineKnown) {
        dev.compareWhenChecked = false;
        if (!sameDataSet(dev.runFolder, dev.playing)) dev.reloadWanted = true;
    }
    // While a new show starts in the candidate, a later save waits: the new show compares it.
    if (dev.reloadWanted && dev.baselineKnown && !checkRunning(dev.check) && dev.successor.process == 0)
        startCandidateCheck();
}

void seekTo(std::int32_t ms, bool report);

void takeKeys() {
    bool seek = false;
    std::int32_t target = dev.shownMs;
    for (const KeyPressRun& run : takeKeyPresses()) {
        const ShowKey key = run.key;
        if (key == ShowKey::Space) {
            // Only how often it toggles counts, after the first press, which may play from the end.
            const std::uint32_t presses = run.count > 2 ? 2 + run.count % 2 : run.count;
            for (std::uint32_t press = 0; press < presses; ++press) {
                if (dev.atEnd) {
                    // The end holds until Space plays the show again from its start.
                    seek = true;
                    target = 0;
                    setPaused(false);
                } else {
                    setPaused(!dev.paused);
                }
            }
        }
        if (key == ShowKey::Reload) dev.reloadWanted = true;
        if (key == ShowKey::ForceLoad) {
            const std::string copy = copyOnDisk();
            if (!copy.empty()) restartShow(copy);
        }
        if (key == ShowKey::LoopStart) dev.loop.fromMs = dev.shownMs;
        if (key == ShowKey::LoopEnd) dev.loop.toMs = dev.shownMs;
        if (key == ShowKey::LoopClear) dev.loop = {};
        if (key == ShowKey::TimeLine && run.count % 2 == 1) {
            dev.timeLine = !dev.timeLine;
            dev.redraw = true;
        }
        // Presses taken together make one seek, each from where the one before landed.
        if (keyRunSeekTargetMs(run, target, target)) seek = true;
    }
    if (seek) seekTo(target, true);
}

void showTitle(std::int64_t nowUs, bool force) {
    if (!force && dev.lastTitleUs >= 0 && nowUs - dev.lastTitleUs < titleIntervalUs) return;
    dev.lastTitleUs = nowUs;
    char title[sizeof dev.title];
    const bool checking = checkRunning(dev.check) && dev.checkingCandidate;
    formatDevTitle(title, sizeof title,
                   {dev.shownMs, timelineSlot(dev.shownMs), dev.frameMs, dev.paused, checking, dev.refused, dev.loop});
    if (std::strcmp(title, dev.title) == 0) return;
    std::memcpy(dev.title, title, sizeof title);
    setWindowTitle(dev.title);
}

// At its end the show holds on its last millisecond instead of ending.
bool holdAtEnd() {
    if (demoClock.musicMs < showEndMs) return false;
    demoClock.musicMs = demoClock.previousMusicMs;
    setPaused(true);
    seekTo(showEndMs - 1, false);
    dev.atEnd = true;
    return true;
}

void removeCopiesAtExit();

bool devFrame() {
    // Ctrl-C or kill: the copies go as on Escape, then the process ends by that signal.
    if (stopSignalReceived() != 0) {
        stopShowSuccessor(dev.successor);
        removeCopiesAtExit();
        endByStopSignal();
    }
    if (dev.successor.process != 0) {
        followSuccessor();
        return false;
    }
    takeKeys();
    if (demoState.keyState[escapeKey] == 1) exitShow(0);
    std::int64_t nowUs = steadyMicroseconds();
    followDataSet(nowUs);
    if (windowSize.windowWidth != dev.drawnWidth || windowSize.windowHeight != dev.drawnHeight) dev.redraw = true;
    if (dev.paused && !dev.redraw) {
        showTitle(nowUs, false);
        std::this_thread::sleep_for(heldSleep);
        return false;
    }
    updateAudio();
    if (holdAtEnd()) return false;
    if (!dev.paused && loopActive(dev.loop) && demoClock.musicMs >= dev.loop.toMs) {
        seekTo(dev.loop.fromMs, false);
        return false;
    }
    composeFrame(SceneRun::Drawn);
    showResolvedFrame();
    dev.onSeekClock = false;
    dev.shownMs = demoClock.musicMs;
    if (dev.timeLine) {
        char line[48];
        formatText(line, sizeof line, "%.3f s  slot %d", dev.shownMs / 1000.0, timelineSlot(dev.shownMs));
        drawWindowText(8, 8, line);
    }
    if (!dev.shown) {
        dev.shown = true;
        // A reload's show: the old one goes, and with it the copy it played.
        if (reportShowShowing()) {
            dev.ownsCopies = true;
            removeDataCopies(dev.copies, dev.playing);
        }
    }
    dev.redraw = false;
    dev.drawnWidth = windowSize.windowWidth;
    dev.drawnHeight = windowSize.windowHeight;
    const std::int64_t drawnUs = steadyMicroseconds();
    // Playing: the time between frames, smoothed; held: what the one frame cost.
    if (dev.paused) dev.frameMs = (drawnUs - nowUs) / 1000.0;
    else if (dev.lastFrameUs >= 0) dev.frameMs = 0.9 * dev.frameMs + 0.1 * ((drawnUs - dev.lastFrameUs) / 1000.0);
    nowUs = drawnUs;
    dev.lastFrameUs = dev.paused ? -1 : nowUs;
    showTitle(nowUs, dev.paused);
    return true;
}

void keepSteppedState(std::int32_t ms) {
    if (dev.onSeekClock) keepSeekSnapshot(ms);
}

// Windows removes no folder that a process stands in or holds a file of: the music is closed and
// the working directory leaves the copies first.
void removeCopiesAtExit() {
    if (!dev.ownsCopies) return;
    stopMusic();
    std::error_code error;
    std::filesystem::current_path(utf8Path(dev.runFolder), error);
    removeDataCopies(dev.copies, "");
}

// Start-up lines still held when the process ends (a window that could not be had) are printed.
void printHeldLinesAtExit() {
    holdConsoleLines(nullptr);
    for (const std::string& line : dev.startupLines) printLine("%s", line.c_str());
    dev.startupLines.clear();
}

// Prints the start-up lines that the last start-up in these copies did not print (all of them on
// the first start), and keeps them for the next.
void printNewStartupLines() {
    holdConsoleLines(nullptr);
    const std::string kept = dataCopiesNotesFile(dev.copies);
    std::vector<std::string> before;
    if (!kept.empty()) {
        std::ifstream in(kept);
        for (std::string line; std::getline(in, line);) before.push_back(line);
    }
    for (const std::string& line : dev.startupLines) {
        const auto seen = std::find(before.begin(), before.end(), line);
        if (seen != before.end()) before.erase(seen);
        else printLine("%s", line.c_str());
    }
    if (!kept.empty()) {
        std::ofstream out(kept);
        for (const std::string& line : dev.startupLines) out << line << '\n';
    }
    dev.startupLines.clear();
}

// Every seek starts from the latest state kept before its target, on the seeks' frame clock, and
// keeps states as it steps. Only a seek on from a state that left that clock (a frame played)
// and lies more than a snapshot interval nearer the target than any kept one steps on from where
// it stands, as the end's hold does.
void seekTo(std::int32_t ms, bool report) {
    const std::int32_t shown = dev.shownMs;
    const bool ahead = ms >= shown && ms > demoClock.musicMs;
    std::int32_t from = demoClock.musicMs + 1;
    const bool fromHere =
        ahead && (dev.onSeekClock ? demoClock.musicMs >= seekSnapshotTimeBefore(ms)
                                  : demoClock.musicMs - seekSnapshotTimeBefore(ms) > seekSnapshotIntervalMs);
    if (!fromHere) {
        from = restoreSeekSnapshotBefore(ms) + 1;
        dev.onSeekClock = true;
    }
    const ShowSteps steps = stepShowTo(from, ms);
    if (dev.onSeekClock && (from > 0 || steps.frames > 0)) keepSeekLanding();
    if (report)
        printLine("Seeked to %.3f s from %.3f s: %d frames stepped in %.2f s (state %08x).", ms / 1000.0,
                  shown / 1000.0, steps.frames, steps.seconds, steps.state);
    dev.shownMs = ms;
    dev.atEnd = false;
    dev.redraw = true;
    dev.lastFrameUs = -1;
}

}  // namespace

void prepareDevMode(const char* watchFolder) {
    std::error_code fsError;
    const std::string here = std::filesystem::current_path(fsError).string();
    if (watchFolder != nullptr) {
        // Restarted by a reload, inside the copy that was checked.
        dev.runFolder = watchFolder;
        dev.playing = here;
        adoptDataCopies(dev.copies, here);
        dev.compareWhenChecked = true;
    } else {
        superviseShows();
        dev.ownsCopies = true;
        dev.runFolder = here;
        std::string error;
        if (makeDataCopies(dev.copies, error) && copyDataSet(dev.copies, here, dev.playing, error)) {
            std::filesystem::current_path(utf8Path(dev.playing), fsError);
        }
        if (!error.empty() || fsError) {
            printLine("Cannot copy the data set (%s); a reload may load a save made during its check.",
                      error.empty() ? fsError.message().c_str() : error.c_str());
            dev.playing = here;
        }
    }
    startCheckProcess(dev.check, ".");
    holdConsoleLines(&dev.startupLines);
    std::atexit(printHeldLinesAtExit);
    std::atexit(removeCopiesAtExit);
}

void beginDevMode(const char* programName, bool paused, const std::vector<std::string>& passedOn) {
    dev.programName = programName;
    dev.passedOn = passedOn;
    printNewStartupLines();
    keepStartState();
    observeSteppedFrames(keepSteppedState);
    catchStopSignals();
    startDataWatch(dev.watch, dev.runFolder.c_str());
    setFrameFunction(devFrame);
    if (!dev.compareWhenChecked)  // a reload's restart: the first start has said them
        printLine("Keys: Space pause, Left/Right 1 s, Page Up/Down 10 s, Down/Up 0.1 s, comma/period one frame, [ ] "
                  "slot starts, A/B/C loop from/to/off, T time line, R reload when the check passes, L load what is on "
                  "disk, Escape end.");
    if (paused) {
        setPaused(true);
        // The music has played through the start-up since it began: held, it stands at the start.
        seekMusic(0);
    }
}

void seekShowTo(std::int32_t ms) {
    seekTo(ms, true);
}

void noteShowJump(std::int32_t ms) { dev.shownMs = ms; }
