// The authoring mode's arithmetic, without a window: where keys seek, a section that loops, the
// window title.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/authoring/show_keys.h"

// The frame clock of the seeks: the state at a time is the one a capture at this rate steps to.
constexpr int seekFramesPerSecond = 60;

// Left and Right move 1 s, Page Up and Page Down 10 s, Down and Up 0.1 s (back and on); 0 for other
// keys.
std::int32_t seekDeltaMs(ShowKey key);

// fromMs moved by deltaMs, kept inside the show: from 0 up to its last millisecond.
std::int32_t seekTargetMs(std::int32_t fromMs, std::int32_t deltaMs);

// Where the key takes a show that stands at fromMs; false for a key that does not seek. The frame
// steps land on the seek clock's frames before and after fromMs, the slot keys on slot starts.
bool keySeekTargetMs(ShowKey key, std::int32_t fromMs, std::int32_t& targetMs);

// Presses of one key in a row, kept as one entry: however many come between two frames, the
// queue grows only when the key changes, and none is lost.
struct KeyPressRun {
    ShowKey key = ShowKey::Space;
    std::uint32_t count = 0;
};

// Adds a press, to the last run when it is of the same key.
void addKeyPress(std::vector<KeyPressRun>& presses, ShowKey key);

// Where the run's presses take a show that stands at fromMs, each from where the one before
// landed; false for a key that does not seek.
bool keyRunSeekTargetMs(const KeyPressRun& run, std::int32_t fromMs, std::int32_t& targetMs);

// A section played over and over: from a to b once both are set and a lies before b.
struct LoopSection {
    std::int32_t fromMs = -1;
    std::int32_t toMs = -1;
};

bool loopActive(const LoopSection& loop);

struct DevTitle {
    std::int32_t musicMs = 0;
    int slot = 0;
    double frameMs = 0.0;   // wall time per frame drawn
    bool paused = false;
    bool checking = false;  // a changed data set is being checked
    bool refused = false;   // the data set on disk was refused; the running one is older
    LoopSection loop;
};

// "adf  83.250 s  slot 2  16.7 ms", then "  paused", "  checking data", "  on disk: refused" and
// "  loop 10.000-20.000 s" as they hold.
void formatDevTitle(char* buffer, std::size_t bufferSize, const DevTitle& title);
