// The worms' bursts.
#include "effects/worms/worm_bursts.h"

#include "effects/common/burst_once.h"
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
    if (!takeBurst(spec.guardedBySparkSystem ? nullptr : &wormBurstFlags.done[worm], sparks)) return;
    // Rising sparks from (x, 0, z) in orange (1, 0.6, 0.1).
    sparks->emit(risingSpark, wormBurstSparkCount, spec.x, 0.0f, spec.z, 1.0f, 0.6f, 0.1f);
}
