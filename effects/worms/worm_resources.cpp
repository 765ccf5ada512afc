// Loading the worm scene.
#include "effects/worms/worm_resources.h"

#include "effects/common/scene_resources.h"

SceneNode* wormScene = nullptr;
SceneNode* wormheadScene = nullptr;
ParticleSystem* wormSparkSystems[wormSparkSystemCount] = {};

void loadWormScene() {
    wormScene = loadPlacedModel("data\\worm.xsi");
    wormheadScene = loadPlacedModel("data\\wormhead.xsi");
    for (ParticleSystem*& sparks : wormSparkSystems) sparks = newSpriteParticles();
}
