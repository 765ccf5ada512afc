// Handing a computed camera to GL.
#include "effects/common/camera_setup.h"

#include "render/gl_state.h"
#include "render/render_destinations.h"

void applyCameraSetup(const CameraSetup& camera, SceneRun run) {
    renderDestinations.fieldOfView = camera.fieldOfView;
    if (run != SceneRun::Drawn) return;
    setCamera(camera.eye[0], camera.eye[1], camera.eye[2], camera.centre[0], camera.centre[1], camera.centre[2],
              camera.up[0], camera.up[1], camera.up[2]);
}
