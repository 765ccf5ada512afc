// Loading the cannon scene.
#include "effects/cannon/cannon_resources.h"

#include "effects/common/scene_resources.h"
#include "render/texture_registry.h"
#include "scene/scene_node.h"
#include "xsi/xsi_reader.h"

int noiseTexture = -1;
SceneNode* tykkiScene = nullptr;
SceneNode* ammusScene = nullptr;
ParticleSystem* cannonParticleSystems[cannonParticleSystemCount] = {};

void loadCannonScene() {
    loadXsiScene("data\\tykki.xsi", tykkiScene);
    loadXsiScene("data\\ammus.xsi", ammusScene);
    if (ammusScene != nullptr) ammusScene->matrix.setIdentity();
    noiseTexture = loadTexture("data\\noise.png", 1);
    for (ParticleSystem*& system : cannonParticleSystems) system = newSpriteParticles();
}
