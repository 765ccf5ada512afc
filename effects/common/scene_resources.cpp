// Loading the resources several slots share.
#include "effects/common/scene_resources.h"

#include "effects/common/dust_start.h"
#include "render/shader_library.h"
#include "render/texture_registry.h"
#include "scene/particle_system.h"
#include "scene/scene_draw.h"
#include "scene/scene_node.h"
#include "xsi/xsi_reader.h"

int particleTexture = -1;
int flareTexture = -1;

SceneNode* normimapScene = nullptr;
SceneNode* maastoScene = nullptr;
SceneNode* bgScene = nullptr;
SceneNode* mountainsScene = nullptr;
SceneNode* flameScene = nullptr;
SceneNode* flame2Scene = nullptr;
SceneNode* lightsScene = nullptr;
SceneNode* ballScene = nullptr;

ParticleSystem* dustParticles = nullptr;

SceneNode* loadPlacedModel(const char* path) {
    SceneNode* root = nullptr;
    loadXsiScene(path, root);
    clearMeshTranslations(root);
    return root;
}

ParticleSystem* newSpriteParticles(const ParticleTuning& tuning) {
    auto* system = new ParticleSystem(tuning);
    system->setMaterial(&builtInMaterial(Sprite));
    return system;
}

void loadSharedScenes() {
    loadXsiScene("data\\normimap.xsi", normimapScene);
    loadXsiScene("data\\maasto.xsi", maastoScene);
    bgScene = loadPlacedModel("data\\bg.xsi");
    mountainsScene = loadPlacedModel("data\\mountains.xsi");
    flameScene = loadPlacedModel("data\\flame.xsi");
    flame2Scene = loadPlacedModel("data\\flame2.xsi");
    loadXsiScene("data\\lights.xsi", lightsScene);
    particleTexture = loadTexture("data\\particle.jpg", 1);
    flareTexture = loadTexture("data\\flare.jpg", 1);
    dustParticles = newSpriteParticles(dustTuning);
}

void loadBallScene() { ballScene = loadPlacedModel("data\\ball.xsi"); }
