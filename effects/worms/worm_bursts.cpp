// The worms' bursts.
#include "effects/worms/worm_bursts.h"

#include "effects/worms/worm_resources.h"
#include "scene/particle_system.h"

WormBurstFlags wormBurstFlags;

ParticleSystem* wormSparks(const WormSpec& worm) {
    if (worm.sparkSystem < 0 || worm.sparkSystem >= wormSparkSystemCount) return nullptr;
    return wormSparkSystems[worm.sparkSystem];
}

void burstWormOnce(int worm) {
    if (worm < 0 || worm >= wormCount) return;
    const WormSpec& spec = wormTable[worm];
    ParticleSystem* sparks = wormSparks(spec);
    if (spec.guardedBySparkSystem) {
        if (sparks == nullptr || sparks->emitted) return;
    } else {
        if (wormBurstFlags.done[worm]) return;
        wormBurstFlags.done[worm] = true;
        if (sparks == nullptr) return;
    }
    sparks->emit(risingSpark, wormBurstSparkCount, spec.x, 0.0f, spec.z, 1.0f, 0.6f, 0.1f);
}
