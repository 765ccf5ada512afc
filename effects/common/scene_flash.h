// Flashes handed from one frame's scene to the next frame's passes: while a scene draws it adds
// flash weights to the accumulator; the slot table's drawSlot copies the accumulator to sceneFlash
// before a slot draws (the value the scenes read for camera shake and brightness) and zeroes
// sceneFlash after it.
#pragma once

struct SceneFlashes {
    float sceneFlash = 0.0f;
    float sceneFlashAccumulator = 0.0f;
};

extern SceneFlashes sceneFlashes;

// Thresholds of the scenes' flash contributions: the finer one for the procession's landings
// and bursts, the coarser for the worms and the cannon.
constexpr float fineFlashThreshold = 0.0001f;
constexpr float coarseFlashThreshold = 0.01f;

// Adds rampDown(startMs, endMs) to the accumulator when it is above the threshold.
void addSceneFlash(int startMs, int endMs, float threshold);
