// The seeks' state snapshots.
#include "app/seek_snapshots.h"

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
};

SeekSnapshots snapshots;

}  // namespace

void keepStartState() {
    snapshots.start = saveShowState();
    snapshots.startClock = demoClock;
}

void keepSeekSnapshot(std::int32_t ms) {
    if (ms <= 0 || ms % seekSnapshotIntervalMs != 0 || snapshots.byMs.count(ms) != 0) return;
    if (snapshots.bytes >= seekSnapshotBudgetBytes) return;
    const ShowStateSnapshot state = saveShowState();
    PackedState& kept = snapshots.byMs[ms];
    kept.packed = packZeroRuns(state.bytes.data(), state.bytes.size());
    kept.packed.shrink_to_fit();
    kept.size = state.bytes.size();
    kept.clock = demoClock;
    snapshots.bytes += kept.packed.size();
}

std::int32_t restoreSeekSnapshotBefore(std::int32_t ms) {
    auto after = snapshots.byMs.lower_bound(ms);
    while (after != snapshots.byMs.begin()) {
        const auto& [time, kept] = *std::prev(after);
        ShowStateSnapshot state;
        if (unpackZeroRuns(kept.packed, kept.size, state.bytes)) {
            restoreShowState(state);
            demoClock = kept.clock;
            return time;
        }
        --after;
    }
    restoreShowState(snapshots.start);
    demoClock = snapshots.startClock;
    return -1;
}

std::size_t seekSnapshotBytes() { return snapshots.bytes; }

int seekSnapshotCount() { return static_cast<int>(snapshots.byMs.size()); }
