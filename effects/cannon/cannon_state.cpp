// The cannon slot's carried state.
#include "effects/cannon/cannon_state.h"

#include "effects/cannon/cannon_resources.h"

void walkCannonState(StateWalk& walk, StatePart part) {
    if (part == StatePart::Pools)
        for (ParticleSystem* particles : cannonParticleSystems) walk.pool(particles);
}
