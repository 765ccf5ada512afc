// The worm scene.
#include "effects/worms/worm_scene.h"

#include <GL/glew.h>

#include "base/demo_clock.h"
#include "effects/common/landscape.h"
#include "effects/common/particle_drawing.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "effects/worms/worm_bursts.h"
#include "effects/worms/worm_path.h"
#include "effects/worms/worm_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "scene/matrix.h"
#include "scene/particle_system.h"
#include "scene/scene_draw.h"

float wormEye[3] = {};

namespace {

void placeOnArch(float s, float height, float reach) {
    const ArchPoint point = wormArchPoint(s, height, reach);
    translate(0, point.y, point.z);
    rotate(point.tiltDegrees, -1, 0, 0);
}

void drawSpec(const WormSpec& worm, float lt) {
    drawWorm(wormPhase(worm, lt), lt, worm.x, worm.z, worm.height, worm.reach, worm.heading);
}

// Dark dust around the eye, then the sparks added on top.
void drawParticles(float eyeZ) {
    drawDarkDust(eyeZ);
    drawSparks(wormSparkSystems, wormSparkSystemCount, 1.5f);
}

}  // namespace

void drawWorm(float h, float lt, float x, float z, float height, float reach, float heading) {
    pushMatrix();
    translate(x, -5, z);
    rotate(heading, 0, 1, 0);

    pushMatrix();
    placeOnArch(h, height, reach);
    drawSceneNode(wormheadScene);
    popMatrix();

    for (int i = 0; i < wormSegmentCount; ++i) {
        pushMatrix();
        placeOnArch(wormSegmentPhase(h, i), height, reach);
        // Each ring turned 20 degrees further than the one before; its pieces flutter by a degree.
        for (int j = 0; j < wormPiecesPerSegment; ++j) {
            pushMatrix();
            rotate(static_cast<float>(40 * j + 20 * i), 0, 1, 0);
            translate(0, 0, -6.5f);
            const float fi = static_cast<float>(i), fj = static_cast<float>(j);
            rotate(15.0f + sine(0.002f * lt + 0.3f * fi + 0.1f * fj), 1, 0, 0);
            drawSceneNode(wormScene);
            popMatrix();
        }
        popMatrix();
    }
    popMatrix();
}

void drawWormScene(int target, SceneRun run) {
    const bool drawn = run == SceneRun::Drawn;
    if (drawn) {
        bindRenderTarget(target);
        setClearColor(0, 0, 0);
        clearBuffers(target == screenTarget ? GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetModelview();
    }

    const std::int32_t t = demoTimeMs();
    const float lt = wormLocalTime(t);
    const CameraSetup camera = wormSceneCamera(t, sceneFlashes.sceneFlash);
    applyCameraSetup(camera, run);
    for (int i = 0; i < 3; ++i) wormEye[i] = camera.eye[i];

    if (drawn) {
        drawSceneNode(lightsScene);
        drawLandscape(lt, camera.eye[0], camera.eye[1], camera.eye[2]);
        glDepthMask(GL_TRUE);
        enableCap(GL_DEPTH_TEST);
    }

    // The first worm's burst and flash are the pass chain's.
    for (int k = 0; k < wormCount; ++k) {
        const WormSpec& worm = wormTable[k];
        if (!wormShown(worm, lt)) continue;
        if (drawn) drawSpec(worm, lt);
        if (!worm.fromSlotStart) burstWormOnce(k);
    }
    addRisenWormFlashes(lt);

    if (drawn) drawParticles(camera.eye[2]);
}
