// The authoring mode's way back: the show's state kept every few seconds of show time as the
// seeks' frame clock steps past, packed without its unused pool slots, so that a seek back steps
// from the nearest one instead of from the start.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::int32_t seekSnapshotIntervalMs = 5000;
// What all snapshots together may hold; past it, no more are kept.
constexpr std::size_t seekSnapshotBudgetBytes = 100u << 20;

// Keeps the state and clock as they are now, for the frame at ms of the seeks' clock, when ms is
// on the interval and not kept yet.
void keepSeekSnapshot(std::int32_t ms);

// Keeps the state and clock where a seek landed (its frames stepped, none drawn yet), in place of
// the last seek's: the next seek on from a held picture starts there instead of from further back.
void keepSeekLanding();

// The time of the latest state kept before ms (a snapshot or the last landing); -1 for none
// but the start-up state.
std::int32_t seekSnapshotTimeBefore(std::int32_t ms);

// Puts back the state and clock of the latest state kept before ms, or the start-up state;
// returns its time (-1 for the start-up state, from which every frame is still to be stepped).
std::int32_t restoreSeekSnapshotBefore(std::int32_t ms);

// The start-up state, where every seek back can begin.
void keepStartState();

std::size_t seekSnapshotBytes();
int seekSnapshotCount();
