// A camera as the scenes compute it, GL-free: eye, centre, up vector and field of view.
#pragma once

#include "effects/common/scene_run.h"

struct CameraSetup {
    float eye[3];
    float centre[3];
    float up[3];
    float fieldOfView;  // degrees
};

// Writes the field of view (used from the next target bind on, so an unseen
// run writes it too) and, in a drawn run, sets the camera onto the current modelview matrix,
// keeping the view matrix for the lights.
void applyCameraSetup(const CameraSetup& camera, SceneRun run);
