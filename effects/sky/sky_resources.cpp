// Loading the sky ascent.
#include "effects/sky/sky_resources.h"

#include "effects/common/scene_resources.h"
#include "render/texture_registry.h"

int cloudLayerTexture = -1;

void loadSkyAscentScene() {
    cloudLayerTexture = loadTexture("data/cloudy.jpg", 1);
    loadSharedScenes();
}
