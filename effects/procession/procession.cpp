// The flame procession.
#include "effects/procession/procession.h"

#include <GL/glew.h>

#include <algorithm>

#include "base/demo_clock.h"
#include "base/envelopes.h"
#include "effects/common/ball_and_flames.h"
#include "effects/common/burst_once.h"
#include "effects/common/camera_setup.h"
#include "effects/common/landscape.h"
#include "effects/common/particle_drawing.h"
#include "effects/common/scene_flash.h"
#include "effects/common/scene_resources.h"
#include "effects/procession/procession_path.h"
#include "effects/procession/procession_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "scene/matrix.h"
#include "scene/particle_system.h"
#include "scene/scene_draw.h"

ProcessionState processionState;

namespace {

constexpr int burstSparks = 800;
constexpr std::int32_t flickerChangeMs = 67100;  // the flames burn steadier from here on

// The act-C flash while the slow motion ends, over 90100 to 91100 ms.
constexpr std::int32_t actCFlashStartMs = 90100;
constexpr std::int32_t actCFlashEndMs = 91100;

void drawActBBalls(float lt, SceneRun run) {
    for (int i = 0; i < processionDropBallCount; ++i) {
        const DropBallRest ball = processionDropBall(i);
        dropBall(ball.x, ball.y, ball.z, ball.hitTime, lt, run);
    }
}

// Rising sparks in the ball's colour (1, 0.7, 0.4), from (x, y, z) just above the ground under it.
void burst(ParticleSystem* sparks, float x, float y, float z) {
    sparks->emit(risingSpark, burstSparks, x, y, z, 1, 0.7f, 0.4f);
}

// The balls are drawn in a drawn run only; their bursts happen in either.
void drawActCBalls(std::int32_t t, float lt, SceneRun run) {
    const bool drawn = run == SceneRun::Drawn;
    ProcessionState& state = processionState;
    const float h1 = actCBall1Height(lt, state.slowMotionOverrun);
    const float spin1 = -0.05f * (lt + 2.0f * state.slowMotionOverrun);
    if (drawn) drawBall(0, h1, 10, spin1, 1, 0, 0, 1.2f);
    if (h1 < actCBurstHeight && takeBurst(&state.firstBurstDone, sparkSystems[0])) burst(sparkSystems[0], 0, 4, 10);

    const float h2 = actCBall2Height(lt);
    if (drawn) drawBall(6, h2, 150, -0.01f * lt, 1, 1, 1, 1.2f);
    if (h2 < actCBurstHeight && takeBurst(&state.secondBurstDone, sparkSystems[1])) burst(sparkSystems[1], 6, 4, 150);

    if (t >= actCBall3StartMs) {
        const float h3 = actCBall3Height(lt);
        if (drawn) drawBall(-12, h3, 250, -0.01f * lt, 1, 1, 1, 1.2f);
        if (h3 < actCBurstHeight && takeBurst(nullptr, sparkSystems[2])) burst(sparkSystems[2], -12, 5, 250);
    }
}

void drawProcession(std::int32_t t, float lt, float eyeZ) {
    const float flicker = t < flickerChangeMs ? 0.8f + 0.2f * sine(lt) : 0.9f + 0.1f * sine(10.0f * lt);
    for (int i = 0; i < processionMemberCount; ++i) {
        const ProcessionVec3 q = processionPoint(i, lt, t);
        if (!processionMemberNear(eyeZ, q.z)) continue;
        pushMatrix();
        translate(q.x, q.y, q.z);
        const float fi = static_cast<float>(i);
        const float w1 = 0.01f * sine(20.03f * lt + fi);
        const float w2 = 0.01f * sine(21.04f * lt + fi);
        translate(w1, w2, w1);
        // A rocking that fades in; only act A runs this long.
        if (lt > 16500.0f) {
            const float fadeIn = std::min((lt - 16500.0f) / 2000.0f, 1.0f);
            rotate(15.0f * fadeIn * sine(0.001f * (lt - 16500.0f)), 0, 0, 1);
        }
        drawSceneNode(normimapScene);
        drawFlames(flicker);
        popMatrix();
    }
}

void drawDustAndSparks(float eyeZ) {
    drawDarkDust(eyeZ);
    drawSparks(sparkSystems, sparkSystemCount, 0.5f);
}

}  // namespace

void dropBall(float x, float y, float z, float hitTime, float lt, SceneRun run) {
    const DropBallPose pose = dropBallPose(x, y, z, hitTime, lt);
    if (run == SceneRun::Drawn)
        drawBall(pose.position[0], pose.position[1], pose.position[2], pose.angleDegrees, pose.axis[0], pose.axis[1],
             pose.axis[2], 1);
    addSceneFlash(pose.flashStartMs, pose.flashEndMs, fineFlashThreshold);
}

void drawProcessionScene(int target, SceneRun run) {
    const bool drawn = run == SceneRun::Drawn;
    if (drawn) {
        bindRenderTarget(target);
        // Only depth is cleared: the sky dome covers the whole picture.
        if (target == focusTarget) {
            setClearColor(1, 1, 1);
        } else {
            const float grey = 0.3f + 0.5f * beatFlash();
            setClearColor(grey, grey, grey);
        }
        clearBuffers(GL_DEPTH_BUFFER_BIT);
    }

    const std::int32_t t = demoTimeMs();
    const ProcessionLocalTime local = processionLocalTime(t);
    const float lt = local.lt;
    if (local.overrunSet) processionState.slowMotionOverrun = local.overrun;
    if (t >= processionActCStartMs) {
        addSceneFlash(actCFlashStartMs, actCFlashEndMs, fineFlashThreshold);
        addSceneFlash(actCFlashStartMs, actCFlashEndMs, fineFlashThreshold);
    }

    if (drawn) resetModelview();
    const CameraSetup camera = processionCamera(t, lt, sceneFlashes.sceneFlash);
    applyCameraSetup(camera, run);
    for (int k = 0; k < 3; ++k) processionState.eye[k] = camera.eye[k];

    if (drawn) {
        drawSceneNode(lightsScene);
        drawLandscape(lt, camera.eye[0], camera.eye[1], camera.eye[2]);
    }
    if (t >= processionActBStartMs && t < processionActCStartMs) drawActBBalls(lt, run);
    if (t >= processionActCStartMs) drawActCBalls(t, lt, run);
    if (!drawn) return;
    drawProcession(t, lt, camera.eye[2]);
    drawDustAndSparks(camera.eye[2]);
    setCullMode(CullMode::Back);
}
