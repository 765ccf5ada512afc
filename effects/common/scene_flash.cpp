// The flashes handed between frames.
#include "effects/common/scene_flash.h"

#include "base/envelopes.h"

SceneFlashes sceneFlashes;

void addSceneFlash(int startMs, int endMs, float threshold) {
    const float w = rampDown(startMs, endMs);
    if (w > threshold) sceneFlashes.sceneFlashAccumulator += w;
}
