// The worm slot's carried state.
#include "effects/worms/worm_state.h"

#include "effects/worms/worm_bursts.h"
#include "effects/worms/worm_resources.h"
#include "effects/worms/worm_scene.h"

void walkWormState(StateWalk& walk, StatePart part) {
    if (part == StatePart::Flags) walk.plain(wormBurstFlags.done);
    if (part == StatePart::Eyes) walk.plain(wormEye);
    if (part == StatePart::Pools)
        for (ParticleSystem* particles : wormSparkSystems) walk.pool(particles);
}
