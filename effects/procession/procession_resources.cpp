// Creating the procession's spark systems.
#include "effects/procession/procession_resources.h"

#include "effects/common/scene_resources.h"

ParticleSystem* sparkSystems[sparkSystemCount] = {};

void loadProcessionSparks() {
    for (ParticleSystem*& sparks : sparkSystems) sparks = newSpriteParticles();
}
