// Flashes handed from one frame's scene to the next frame's passes: while a scene draws it adds
// flash weights to the accumulator; each pass chain copies the accumulator to sceneFlash at its
// start (the value the scenes read for camera shake and brightness) and zeroes sceneFlash at its end.
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
