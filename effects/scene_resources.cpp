// Loading the scenes' shared resources, in the one order the texture indices depend on.
#include "effects/scene_resources.h"

#include "render/shader_library.h"
#include "render/texture_registry.h"
#include "scene/particle_system.h"
#include "scene/scene_draw.h"
#include "scene/scene_node.h"
#include "xsi/xsi_reader.h"

int cloudLayerTexture = -1;
int particleTexture = -1;
int flareTexture = -1;
int noiseTexture = -1;
int cloudTexture = -1;

SceneNode* normimapScene = nullptr;
SceneNode* maastoScene = nullptr;
SceneNode* bgScene = nullptr;
SceneNode* mountainsScene = nullptr;
SceneNode* flameScene = nullptr;
SceneNode* flame2Scene = nullptr;
SceneNode* lightsScene = nullptr;
SceneNode* ballScene = nullptr;
SceneNode* wormScene = nullptr;
SceneNode* wormheadScene = nullptr;
SceneNode* tykkiScene = nullptr;
SceneNode* ammusScene = nullptr;

ParticleSystem* dustParticles = nullptr;
ParticleSystem* sparkSystems[sparkSystemCount] = {};
ParticleSystem* wormSparkSystems[wormSparkSystemCount] = {};
ParticleSystem* cannonParticleSystems[cannonParticleSystemCount] = {};

namespace {

// A model whose meshes the scenes place themselves: its meshes sit at the root's origin.
SceneNode* loadPlacedModel(const char* path) {
    SceneNode* root = nullptr;
    loadXsiScene(path, root);
    clearMeshTranslations(root);
    return root;
}

ParticleSystem* newSpriteParticles() {
    auto* system = new ParticleSystem();
    system->setMaterial(&builtInMaterial(Sprite));
    return system;
}

}  // namespace

void loadSkyAscentScene() {
    cloudLayerTexture = loadTexture("data/cloudy.jpg", 1);
    loadXsiScene("data\\normimap.xsi", normimapScene);
    loadXsiScene("data\\maasto.xsi", maastoScene);
    bgScene = loadPlacedModel("data\\bg.xsi");
    mountainsScene = loadPlacedModel("data\\mountains.xsi");
    flameScene = loadPlacedModel("data\\flame.xsi");
    flame2Scene = loadPlacedModel("data\\flame2.xsi");
    loadXsiScene("data\\lights.xsi", lightsScene);
    particleTexture = loadTexture("data\\particle.jpg", 1);
    flareTexture = loadTexture("data\\flare.jpg", 1);
    dustParticles = newSpriteParticles();
    for (ParticleSystem*& sparks : sparkSystems) sparks = newSpriteParticles();
}

void loadBallScene() { ballScene = loadPlacedModel("data\\ball.xsi"); }

void loadWormScene() {
    wormScene = loadPlacedModel("data\\worm.xsi");
    wormheadScene = loadPlacedModel("data\\wormhead.xsi");
    for (ParticleSystem*& sparks : wormSparkSystems) sparks = newSpriteParticles();
}

void loadCannonScene() {
    loadXsiScene("data\\tykki.xsi", tykkiScene);
    loadXsiScene("data\\ammus.xsi", ammusScene);
    if (ammusScene != nullptr) ammusScene->matrix.setIdentity();
    noiseTexture = loadTexture("data\\noise.png", 1);
    for (ParticleSystem*& system : cannonParticleSystems) system = newSpriteParticles();
}

void loadCloudScene() { cloudTexture = loadTexture("data\\cloudy2.jpg", 1); }
