// The seeks' state snapshots.
#include "app/seek_snapshots.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

#include "app/authoring/zero_runs.h"
#include "base/demo_clock.h"
#include "effects/show_state.h"

namespace {

struct PackedState {
    std::vector<unsigned char> packed;
    std::size_t size = 0;
    DemoClock clock;
};

struct SeekSnapshots {
    ShowStateSnapshot start;
    DemoClock startClock;
    std::map<std::int32_t, PackedState> byMs;
    std::size_t bytes = 0;
    std::int32_t landingMs = -1;  // -1: none
    PackedState landing;
};

SeekSnapshots snapshots;

void keepState(PackedState& kept) {
    const ShowStateSnapshot state = saveShowState();
    kept.packed = packZeroRuns(state.bytes.data(), state.bytes.size());
    kept.packed.shrink_to_fit();
    kept.size = state.bytes.size();
    kept.clock = demoClock;
}

bool restoreState(const PackedState& kept) {
    ShowStateSnapshot state;
    if (!unpackZeroRuns(kept.packed, kept.size, state.bytes)) return false;
    restoreShowState(state);
    demoClock = kept.clock;
    return true;
}

// The latest snapshot before ms, or end() for none.
std::map<std::int32_t, PackedState>::const_iterator snapshotBefore(std::int32_t ms) {
    const auto after = snapshots.byMs.lower_bound(ms);
    return after == snapshots.byMs.begin() ? snapshots.byMs.end() : std::prev(after);
}

}  // namespace

void keepStartState() {
    snapshots.start = saveShowState();
    snapshots.startClock = demoClock;
}

void keepSeekSnapshot(std::int32_t ms) {
    if (ms <= 0 || ms % seekSnapshotIntervalMs != 0 || snapshots.byMs.count(ms) != 0) return;
    if (snapshots.bytes >= seekSnapshotBudgetBytes) return;
    PackedState& kept = snapshots.byMs[ms];
    keepState(kept);
    snapshots.bytes += kept.packed.size();
}

void keepSeekLanding() {
    keepState(snapshots.landing);
    snapshots.landingMs = demoClock.musicMs;
}

std::int32_t seekSnapshotTimeBefore(std::int32_t ms) {
    const auto kept = snapshotBefore(ms);
    std::int32_t time = kept == snapshots.byMs.end() ? -1 : kept->first;
    if (snapshots.landingMs < ms) time = std::max(time, snapshots.landingMs);
    return time;
}

std::int32_t restoreSeekSnapshotBefore(std::int32_t ms) {
    auto kept = snapshotBefore(ms);
    const std::int32_t snapshotMs = kept == snapshots.byMs.end() ? -1 : kept->first;
    if (snapshots.landingMs >= 0 && snapshots.landingMs < ms && snapshots.landingMs > snapshotMs &&
        restoreState(snapshots.landing))
        return snapshots.landingMs;
    for (; kept != snapshots.byMs.end(); kept = kept == snapshots.byMs.begin() ? snapshots.byMs.end() : std::prev(kept))
        if (restoreState(kept->second)) return kept->first;
    restoreShowState(snapshots.start);
    demoClock = snapshots.startClock;
    return -1;
}

std::size_t seekSnapshotBytes() { return snapshots.bytes; }

int seekSnapshotCount() { return static_cast<int>(snapshots.byMs.size()); }
