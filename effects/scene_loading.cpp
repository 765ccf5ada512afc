// The scenes' start-up loading.
#include "effects/scene_loading.h"

#include "effects/cannon/cannon_resources.h"
#include "effects/clouds/cloud_resources.h"
#include "effects/common/scene_resources.h"
#include "effects/procession/procession_resources.h"
#include "effects/sky/sky_resources.h"
#include "effects/worms/worm_resources.h"

void loadScenes() {
    loadSkyAscentScene();
    loadProcessionSparks();
    loadBallScene();
    loadWormScene();
    loadCannonScene();
    loadCloudScene();
}
