// The guard of a one-time burst.
#include "effects/common/burst_once.h"

#include "scene/particle_system.h"

bool takeBurst(bool* ownFlag, ParticleSystem* sparks) {
    if (ownFlag != nullptr) {
        if (*ownFlag) return false;
        *ownFlag = true;
        return sparks != nullptr;
    }
    if (sparks == nullptr || sparks->emitted) return false;
    sparks->emitted = true;
    return true;
}
