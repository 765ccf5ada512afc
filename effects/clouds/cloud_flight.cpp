// The cloud flight.
#include "effects/clouds/cloud_flight.h"

#include <GL/glew.h>

#include <optional>

#include "base/demo_clock.h"
#include "base/envelopes.h"
#include "effects/clouds/cloud_flight_path.h"
#include "effects/clouds/cloud_sheets.h"
#include "effects/common/ball_and_flames.h"
#include "effects/common/camera_setup.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "render/gl_state.h"
#include "render/render_target.h"
#include "scene/scene_draw.h"

void drawCloudScene(int renderTarget, SceneRun run) {
    const bool drawn = run == SceneRun::Drawn;
    // The projection takes the field of view written by the previous call.
    if (drawn) bindRenderTarget(renderTarget);
    const int now = demoTimeMs();
    const float t = cloudFlightTime(now);
    if (drawn) {
        setClearColor(1, 1, 1);
        clearBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    const CameraSetup camera = cloudFlightCamera(t, sceneFlashes.sceneFlash);
    applyCameraSetup(camera, run);
    if (!drawn) return;
    drawSceneNode(lightsScene);

    // The model and its flames ride along at the base point.
    pushMatrix();
    translate(0, 0, camera.centre[2]);
    drawSceneNode(normimapScene);
    drawFlames(cloudFlightFlicker(t));
    popMatrix();

    const float flash = beatFlash();
    for (int i = 0; i < cloudSheetCount; ++i)
        if (const std::optional<CloudSheet> sheet = cloudSheet(i, t, flash))
            drawCloudQuad(sheet->alpha, sheet->x, sheet->y, sheet->z, sheet->halfSize);

    disableCap(GL_DEPTH_TEST);
    disableCap(GL_CULL_FACE);
    drawHazeSheets(camera.eye[2], now);
}
