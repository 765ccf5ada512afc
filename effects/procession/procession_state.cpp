// The procession's carried state.
#include "effects/procession/procession_state.h"

#include "effects/procession/procession.h"
#include "effects/procession/procession_resources.h"

void walkProcessionState(StateWalk& walk, StatePart part) {
    if (part == StatePart::Records) {
        // Field by field: the record's padding is no state.
        walk.plain(processionState.eye);
        walk.plain(processionState.slowMotionOverrun);
        walk.plain(processionState.firstBurstDone);
        walk.plain(processionState.secondBurstDone);
    }
    if (part == StatePart::Pools)
        for (ParticleSystem* particles : sparkSystems) walk.pool(particles);
}
