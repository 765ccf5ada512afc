// Slot 5, 178500 to 210000 ms: the flight along +z over cloud sheets that darken a white sky,
// the model and its flames travelling with the camera, haze sheets sweeping past.
#pragma once

#include "effects/common/scene_run.h"

// One frame of the scene into the render target (screenTarget for the screen). It writes a field
// of view of 30 for the next bind and leaves overrideMaterial as it found it, with blending, the
// depth test and culling off and no material current. An unseen run only writes the field of view.
void drawCloudScene(int renderTarget, SceneRun run);
