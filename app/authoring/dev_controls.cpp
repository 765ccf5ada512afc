// Seeks, the loop and the title of the authoring mode.
#include "app/authoring/dev_controls.h"

#include <algorithm>

#include "base/frame_clock.h"
#include "base/print_line.h"
#include "base/show_slots.h"

std::int32_t seekDeltaMs(ShowKey key) {
    switch (key) {
        case ShowKey::Left: return -1000;
        case ShowKey::Right: return 1000;
        case ShowKey::PageUp: return -10000;
        case ShowKey::PageDown: return 10000;
        case ShowKey::FineBack: return -100;
        case ShowKey::FineOn: return 100;
        default: return 0;
    }
}

std::int32_t seekTargetMs(std::int32_t fromMs, std::int32_t deltaMs) {
    const std::int64_t target = static_cast<std::int64_t>(fromMs) + deltaMs;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(target, 0, showEndMs - 1));
}

bool keySeekTargetMs(ShowKey key, std::int32_t fromMs, std::int32_t& targetMs) {
    if (const std::int32_t delta = seekDeltaMs(key); delta != 0) {
        targetMs = seekTargetMs(fromMs, delta);
        return true;
    }
    switch (key) {
        case ShowKey::FrameBack: {
            const int frame = firstFrameAtOrAfter(fromMs, seekFramesPerSecond) - 1;
            targetMs = seekTargetMs(frame < 0 ? 0 : frameTimeMs(frame, seekFramesPerSecond), 0);
            return true;
        }
        case ShowKey::FrameOn:
            targetMs = seekTargetMs(frameTimeMs(firstFrameAtOrAfter(fromMs + 1, seekFramesPerSecond),
                                                seekFramesPerSecond), 0);
            return true;
        case ShowKey::SlotBack:
            targetMs = 0;
            for (const SlotInterval& slot : timelineSlots)
                if (slot.fromMs < fromMs) targetMs = slot.fromMs;
            return true;
        case ShowKey::SlotOn:
            targetMs = fromMs;
            for (const SlotInterval& slot : timelineSlots) {
                if (slot.fromMs > fromMs) {
                    targetMs = slot.fromMs;
                    break;
                }
            }
            return true;
        default: return false;
    }
}

void addKeyPress(std::vector<KeyPressRun>& presses, ShowKey key) {
    if (!presses.empty() && presses.back().key == key) {
        if (presses.back().count < UINT32_MAX) ++presses.back().count;
        return;
    }
    presses.push_back({key, 1});
}

bool keyRunSeekTargetMs(const KeyPressRun& run, std::int32_t fromMs, std::int32_t& targetMs) {
    // Moves of one direction add up; the show's ends stop them as they would stop each press.
    if (const std::int32_t delta = seekDeltaMs(run.key); delta != 0) {
        const std::int64_t moved = static_cast<std::int64_t>(delta) * run.count;
        targetMs = seekTargetMs(fromMs, static_cast<std::int32_t>(std::clamp<std::int64_t>(moved, -showEndMs, showEndMs)));
        return true;
    }
    std::int32_t at = fromMs;
    if (!keySeekTargetMs(run.key, at, at)) return false;
    for (std::uint32_t press = 1; press < run.count; ++press) {
        std::int32_t next = at;
        keySeekTargetMs(run.key, at, next);
        if (next == at) break;  // at an end or a last slot: the rest land there too
        at = next;
    }
    targetMs = at;
    return true;
}

bool loopActive(const LoopSection& loop) { return loop.fromMs >= 0 && loop.toMs > loop.fromMs; }

void formatDevTitle(char* buffer, std::size_t bufferSize, const DevTitle& title) {
    char loop[48] = "";
    if (loopActive(title.loop))
        formatText(loop, sizeof loop, "  loop %.3f-%.3f s", title.loop.fromMs / 1000.0, title.loop.toMs / 1000.0);
    formatText(buffer, bufferSize, "adf  %.3f s  slot %d  %.1f ms%s%s%s%s", title.musicMs / 1000.0, title.slot,
               title.frameMs, title.paused ? "  paused" : "", title.checking ? "  checking data" : "",
               title.refused ? "  on disk: refused" : "", loop);
}
