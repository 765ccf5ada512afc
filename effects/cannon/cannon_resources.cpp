// Loading the cannon scene.
#include "effects/cannon/cannon_resources.h"

#include "effects/common/scene_resources.h"
#include "render/texture_registry.h"
#include "scene/particle_system.h"
#include "scene/scene_node.h"
#include "xsi/xsi_reader.h"

int noiseTexture = -1;
SceneNode* tykkiScene = nullptr;
SceneNode* ammusScene = nullptr;
ParticleSystem* cannonParticleSystems[cannonParticleSystemCount] = {};

// The sparks live 1.5 to 3 s, at full speed with 3 s of life left and slowing from there, and fade
// over their last second to grey 0.2 and alpha 0 (from alpha 0.5 a second before their end).
// Every particle of the show draws its start and its lifetime from the one random sequence, in the
// order the show emits and respawns them (scene/particle_system.h): a spark draws again when its
// life runs out, so another lifetime moves those draws, and with them the dust and sparks of
// everything the show starts after, in this slot and every later one (their golden frames change;
// scripts/update-golden.sh lists them).
const ParticleTuning cannonSparkTuning = {.shortestLifeMs = 1500,
                                          .lifeSpreadMs = 1500,
                                          .slowDownMs = 3000.0f,
                                          .fadeMs = 1000.0f,
                                          .fadeGrey = 0.2f,
                                          .fadeAlpha = 0.5f};

void loadCannonScene() {
    loadXsiScene("data\\tykki.xsi", tykkiScene);
    loadXsiScene("data\\ammus.xsi", ammusScene);
    if (ammusScene != nullptr) ammusScene->matrix.setIdentity();
    noiseTexture = loadTexture("data\\noise.png", 1);
    for (ParticleSystem*& system : cannonParticleSystems) system = newSpriteParticles(cannonSparkTuning);
}
