// Flashes handed from one frame's scene to the next frame's passes: while a scene draws it adds
// flash weights to the accumulator; each pass chain copies the accumulator to sceneFlash at its
// start (the value the scenes read for camera shake and brightness) and zeroes sceneFlash at its end.
#pragma once

struct SceneFlashes {
    float sceneFlash = 0.0f;
    float sceneFlashAccumulator = 0.0f;
};

extern SceneFlashes sceneFlashes;
