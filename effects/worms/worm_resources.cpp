// Loading the worm scene.
#include "effects/worms/worm_resources.h"

#include "effects/common/scene_resources.h"
#include "scene/particle_system.h"

SceneNode* wormScene = nullptr;
SceneNode* wormheadScene = nullptr;
ParticleSystem* wormSparkSystems[wormSparkSystemCount] = {};

// The sparks live 1.5 to 3 s, at full speed with 3 s of life left and slowing from there, and fade
// over their last second to grey 0.2 and alpha 0 (from alpha 0.5 a second before their end).
// Every particle of the show draws its start and its lifetime from the one random sequence, in the
// order the show emits and respawns them (scene/particle_system.h): a spark draws again when its
// life runs out, so another lifetime moves those draws, and with them the dust and sparks of
// everything the show starts after, in this slot and every later one (their golden frames change;
// scripts/update-golden.sh lists them).
const ParticleTuning wormSparkTuning = {.shortestLifeMs = 1500,
                                        .lifeSpreadMs = 1500,
                                        .slowDownMs = 3000.0f,
                                        .fadeMs = 1000.0f,
                                        .fadeGrey = 0.2f,
                                        .fadeAlpha = 0.5f};

void loadWormScene() {
    wormScene = loadPlacedModel("data\\worm.xsi");
    wormheadScene = loadPlacedModel("data\\wormhead.xsi");
    for (ParticleSystem*& sparks : wormSparkSystems) sparks = newSpriteParticles(wormSparkTuning);
}
